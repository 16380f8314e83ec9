// tarnvex-host.exe as a user starts it: on a SQLite file made with the
// stand-in's schema and demo data it opens the embedded editor, passes its
// panel's size on, and ends when the editor closes.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "host/data_packet.h"
#include "host/variant.h"
#include "embedding/host_messages.h"
#include "standin/embedded_sql.h"
#include "standin/host_app/host_window.h"
#include "standin/standin_service.h"
#include "text/codepage.h"
#include "wine/demo_database.h"
#include "wine/host_process.h"
#include "wine/message_pump.h"
#include "wine/scratch_folder.h"
#include "wine/operator_input.h"
#include "wine/test_host.h"

namespace tarnvex::testing {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

TEST(HostProgram, OpensTheEmbeddedEditorOnASqliteFileAndEndsWhenItCloses) {
  std::u16string database = ScratchFolder() + u"host.db";
  DeleteFileW(Wide(database).c_str());
  {
    StandinConfig config;
    config.connection_string = u"Driver=SQLite3;Database=" + database + u";";
    StandinDataService service(std::move(config));
    Variant texts(
        VariantArray{0, {Variant(std::u16string(kSchemaSql)), Variant(std::u16string(kDemoSql))}});
    ASSERT_TRUE(service.ExecuteStatement(texts));
  }

  HostProcess host(L"\"" + ProgramFolder() + L"tarnvex-host.exe\" --operator 0001 --sqlite \"" +
                   Wide(database) + L"\"");
  ASSERT_TRUE(host.started());
  HWND main = nullptr;
  HWND panel = nullptr;
  HWND editor = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        main = MainWindowOf(host.id());
        panel = main ? FindWindowExW(main, nullptr, HostWindow::kPanelClassName, nullptr) : nullptr;
        std::vector<HWND> editors = panel ? EditorsIn(panel) : std::vector<HWND>{};
        editor = editors.size() == 1 ? editors.front() : nullptr;
        return editor != nullptr && IsWindowVisible(editor);
      },
      30000))
      << "the host's window with the embedded editor did not appear";

  EXPECT_TRUE(GetWindowLongPtrW(editor, GWL_STYLE) & WS_CHILD);
  SIZE panel_size = ClientSize(panel);
  SIZE panel_main = WindowSize(PanelMainOf(editor));
  EXPECT_EQ(panel_main.cx, panel_size.cx);
  EXPECT_EQ(panel_main.cy, panel_size.cy);

  // Resizing the host's window resizes its panel, which passes the size on.
  SetWindowPos(main, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] {
    SIZE now = ClientSize(panel);
    SIZE follows = WindowSize(PanelMainOf(editor));
    return now.cx == follows.cx && now.cy == follows.cy && now.cx != panel_size.cx;
  })) << "PanelMain did not follow the host's panel";

  // Closing the editor notifies the host, which ends.
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return host.Ended(); }, 30000))
      << "the host did not end when the editor closed";
  EXPECT_EQ(host.ExitCode(), 0u);
}

// Two operators, each with the editor open in a host of their own on one
// database: the first changes one item's name and saves, then the second,
// whose editor still holds the first one's old name, changes another item and
// saves. Both changes are kept: a save writes what its operator changed.
class HostProgramTwoOperators : public ::testing::Test {
 protected:
  // Item codes and names, in code order, as the database holds them now.
  std::vector<std::pair<std::wstring, std::wstring>> ItemNames() const {
    StandinConfig config;
    config.connection_string = ConnectionTo(database_);
    StandinDataService service(std::move(config));
    Variant result;
    std::vector<std::pair<std::wstring, std::wstring>> names;
    if (!service.ExecuteQuery(
            Variant(u"select f_jtxmbm, f_jtxmmc from tbdyjtxmda order by f_jtxmbm"), result)) {
      return names;
    }
    const DataPacket packet = DataPacket::FromVariant(result);
    for (size_t row = 0; row < packet.row_count(); ++row) {
      const FieldValue code_cell = packet.cell(row, 0);
      const FieldValue name_cell = packet.cell(row, 1);
      const auto* code = std::get_if<std::string>(&code_cell);
      const auto* name = std::get_if<std::string>(&name_cell);
      names.emplace_back(code ? Wide(Cp936ToUtf16(*code)) : L"?",
                         name ? Wide(Cp936ToUtf16(*name)) : L"?");
    }
    return names;
  }

  // Waits for the process's message box with this text and presses a button.
  static bool Answer(const HostProcess& host, const std::wstring& text, int button_id) {
    std::optional<ProcessBox> box;
    if (!PumpUntil([&] { return (box = MessageBoxOf(host.id())) && box->text == text; }, 20000)) {
      return false;
    }
    PressBoxButton(*box, button_id);
    return PumpUntil([&] { return !IsWindow(box->window); }, 10000);
  }

  // The editor in the host's panel, once it shows.
  static HWND EditorOf(const HostProcess& host) {
    HWND editor = nullptr;
    PumpUntil(
        [&] {
          HWND main = MainWindowOf(host.id());
          HWND panel =
              main ? FindWindowExW(main, nullptr, HostWindow::kPanelClassName, nullptr) : nullptr;
          std::vector<HWND> editors = panel ? EditorsIn(panel) : std::vector<HWND>{};
          editor =
              editors.size() == 1 && IsWindowVisible(editors.front()) ? editors.front() : nullptr;
          return editor != nullptr;
        },
        30000);
    return editor;
  }

  // Places the host's window on the screen, beside the other host's.
  static void Place(const HostProcess& host, int left) {
    SetWindowPos(MainWindowOf(host.id()), nullptr, left, 0, 640, 560,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // In the host's editor: types a new name into the item grid's row (1 the
  // first data row), confirms it with Enter and saves with Ctrl+S, answering
  // the question and the notice. The click activates the host's window, as
  // an operator's does.
  static void RenameAndSave(const HostProcess& host, int row, const std::wstring& name) {
    HWND editor = EditorOf(host);
    ASSERT_NE(editor, nullptr) << "the editor did not appear";
    HWND main = MainWindowOf(host.id());
    // The item grid is the upper of the two grids.
    HWND first = FindDescendant(editor, L"TarnvexColumnGrid", 0);
    HWND second = FindDescendant(editor, L"TarnvexColumnGrid", 1);
    RECT first_rect{};
    RECT second_rect{};
    GetWindowRect(first, &first_rect);
    GetWindowRect(second, &second_rect);
    HWND items = first_rect.top < second_rect.top ? first : second;
    // The name column follows the 60-pixel code column; rows are 20 pixels.
    ClickAt(items, {60 + 30, 20 * row + 10});
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main; }, 10000))
        << "the click did not activate the host's window";
    TypeText(name);
    PressKey(VK_RETURN);
    PressKey('S', true);
    ASSERT_TRUE(Answer(host, L"确认要保存吗?", IDYES)) << "no question before the save";
    ASSERT_TRUE(Answer(host, L"保存成功", IDOK)) << "the save did not succeed";
  }

  std::u16string database_ = MakeDemoDatabase(u"two_operators.db");
};

TEST_F(HostProgramTwoOperators, EachSavesADifferentItemAndBothChangesAreKept) {
  ASSERT_FALSE(database_.empty()) << "the demo database could not be made";
  const auto before = ItemNames();
  ASSERT_GE(before.size(), 2u);
  const std::wstring command = L"\"" + ProgramFolder() +
                               L"tarnvex-host.exe\" --operator 0001 --sqlite \"" + Wide(database_) +
                               L"\"";
  HostProcess first(command);
  HostProcess second(command);
  ASSERT_TRUE(first.started() && second.started());
  ASSERT_NE(EditorOf(first), nullptr);
  ASSERT_NE(EditorOf(second), nullptr);
  Place(first, 0);
  Place(second, 640);

  RenameAndSave(first, 1, L"甲改名");
  RenameAndSave(second, 2, L"乙改名");

  auto expected = before;
  expected[0].second = L"甲改名";
  expected[1].second = L"乙改名";
  EXPECT_EQ(ItemNames(), expected);

  // Nothing is left unsaved: each editor closes without a question.
  for (const HostProcess* host : {&first, &second}) {
    PostMessageW(EditorOf(*host), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return host->Ended(); }, 30000)) << "a host did not end";
  }
}

}  // namespace
}  // namespace tarnvex::testing

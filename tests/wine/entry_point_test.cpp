// SubsidySet.dll through its export, as the host uses it: embedding, the
// resize and close messages, the context of a second call, and the reference
// the library keeps on the host's object.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/win32/com_ptr.h"
#include "embedding/host_messages.h"
#include "standin/host_app/plugin_library.h"
#include "standin/embedded_sql.h"
#include "wine/demo_database.h"
#include "wine/message_box_watcher.h"
#include "wine/message_pump.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"

namespace tarnvex::testing {
namespace {

constexpr int kParentWidth = 640;
constexpr int kParentHeight = 480;

// The editor loads its tables when it opens: the host's database has them,
// without rows.
ComPtr<IDispatch> MakeHost() {
  static const std::u16string database = [] {
    std::u16string path = ScratchFolder() + u"entry_point.db";
    DeleteFileW(Wide(path).c_str());
    ExecuteOn(path, {std::u16string(kSchemaSql)});
    return path;
  }();
  return StandinHostOn(database);
}

class EntryPoint : public ::testing::Test {
 protected:
  // Opens an editor in parent_'s panel, notifying notify.
  HWND Open(TestWindow& notify, IDispatch* host) {
    size_t before = EditorsIn(panel_.handle()).size();
    plugin_->Open(notify.handle(), "操作员", panel_.handle(), host);
    std::vector<HWND> editors = EditorsIn(panel_.handle());
    return editors.size() == before + 1 ? editors.front() : nullptr;
  }

  // Declared first, so it is unloaded last, after the host's windows are gone.
  std::optional<PluginLibrary> plugin_{std::in_place, L"SubsidySet.dll"};
  TestWindow top_{nullptr, 800, 600};
  TestWindow panel_{top_.handle(), kParentWidth, kParentHeight};
  TestWindow notify_{top_.handle(), 10, 10};
  ComPtr<IDispatch> host_ = MakeHost();
};

TEST_F(EntryPoint, EmbedsTheEditorAsAChildWithPanelMainTheParentsSize) {
  HWND editor = Open(notify_, host_.get());
  ASSERT_NE(editor, nullptr);

  EXPECT_EQ(GetParent(editor), panel_.handle());
  LONG_PTR style = GetWindowLongPtrW(editor, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_TRUE(IsWindowVisible(editor));
  HWND panel_main = PanelMainOf(editor);
  ASSERT_NE(panel_main, nullptr);
  SIZE panel_size = WindowSize(panel_main);
  EXPECT_EQ(panel_size.cx, kParentWidth);
  EXPECT_EQ(panel_size.cy, kParentHeight);
  // The form itself keeps the size of the work area it was made with.
  RECT work_area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  SIZE editor_size = WindowSize(editor);
  EXPECT_EQ(editor_size.cx, work_area.right - work_area.left);
  EXPECT_EQ(editor_size.cy, work_area.bottom - work_area.top);
}

TEST_F(EntryPoint, HostResizeSetsPanelMainHeightThenWidthAndNothingElse) {
  HWND editor = Open(notify_, host_.get());
  ASSERT_NE(editor, nullptr);
  SIZE editor_size = WindowSize(editor);

  struct Case {
    int32_t height;
    int32_t width;
    LONG expected_height;
    LONG expected_width;
  };
  const Case cases[] = {
      {300, 500, 300, 500},
      {450, 688, 450, 688},
      {0, 0, 0, 0},
      {-20, 120, 0, 120},  // a negative size draws nothing
  };
  for (const Case& c : cases) {
    SendMessageW(editor, kHostResizeMessage, static_cast<WPARAM>(c.height),
                 static_cast<LPARAM>(c.width));
    SIZE panel_size = WindowSize(PanelMainOf(editor));
    EXPECT_EQ(panel_size.cy, c.expected_height) << c.height << " x " << c.width;
    EXPECT_EQ(panel_size.cx, c.expected_width) << c.height << " x " << c.width;
    SIZE now = WindowSize(editor);
    EXPECT_EQ(now.cx, editor_size.cx);
    EXPECT_EQ(now.cy, editor_size.cy);
  }
}

TEST_F(EntryPoint, ClosingNotifiesTheHostOnceBeforeTheEditorIsDestroyed) {
  HWND editor = Open(notify_, host_.get());
  ASSERT_NE(editor, nullptr);
  bool editor_alive_while_host_handled = false;
  notify_.on_host_closed = [&] {
    editor_alive_while_host_handled = IsWindow(editor) && IsWindowVisible(editor);
    // The host's own handling runs to its end before the editor goes on.
    PumpPending();
    EXPECT_EQ(panel_.events(), std::vector<std::string>{});
  };

  PostMessageW(editor, WM_CLOSE, 0, 0);
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor); }));
  PumpPending();

  EXPECT_TRUE(editor_alive_while_host_handled);
  EXPECT_EQ(notify_.close_notifications(), 1);
  EXPECT_EQ(panel_.events(), std::vector<std::string>{"child destroyed"});
}

TEST_F(EntryPoint, HostMayDestroyTheParentWhileHandlingTheCloseNotification) {
  HWND editor = Open(notify_, host_.get());
  ASSERT_NE(editor, nullptr);
  notify_.on_host_closed = [&] { panel_.Destroy(); };

  SendMessageW(editor, WM_CLOSE, 0, 0);
  PumpPending();

  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(notify_.close_notifications(), 1);
}

TEST_F(EntryPoint, DestroyingTheParentDestroysTheEditorWithoutClosing) {
  HWND editor = Open(notify_, host_.get());
  ASSERT_NE(editor, nullptr);

  panel_.Destroy();
  PumpPending();

  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(notify_.close_notifications(), 0);
}

TEST_F(EntryPoint, SecondCallOpensASecondEditorAndBothUseItsContext) {
  TestWindow second_notify(top_.handle(), 10, 10);
  ComPtr<IDispatch> second_host = MakeHost();
  ULONG first_base = ReferenceCount(host_.get());
  ULONG second_base = ReferenceCount(second_host.get());

  HWND first = Open(notify_, host_.get());
  HWND second = Open(second_notify, second_host.get());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(EditorsIn(panel_.handle()).size(), 2u);

  // The first call's object is released, the second call's held.
  EXPECT_EQ(ReferenceCount(host_.get()), first_base);
  EXPECT_EQ(ReferenceCount(second_host.get()), second_base + 1);

  // The first editor notifies the second call's control.
  SendMessageW(first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(first); }));
  EXPECT_EQ(notify_.close_notifications(), 0);
  EXPECT_EQ(second_notify.close_notifications(), 1);
  EXPECT_TRUE(IsWindow(second));
}

TEST_F(EntryPoint, HoldsOneReferenceOnTheHostObjectUntilUnloaded) {
  ULONG base = ReferenceCount(host_.get());

  ASSERT_NE(Open(notify_, host_.get()), nullptr);
  EXPECT_EQ(ReferenceCount(host_.get()), base + 1);
  HWND second = Open(notify_, host_.get());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ReferenceCount(host_.get()), base + 1);

  // Unloading with editors still open: they go without closing, and the
  // reference is released.
  plugin_.reset();
  EXPECT_EQ(ReferenceCount(host_.get()), base);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(EditorsIn(panel_.handle()).empty());
  EXPECT_EQ(notify_.close_notifications(), 0);

  // Loaded again, the library registers its classes again and works as new.
  plugin_.emplace(L"SubsidySet.dll");
  ASSERT_NE(Open(notify_, host_.get()), nullptr);
  EXPECT_EQ(ReferenceCount(host_.get()), base + 1);
}

TEST_F(EntryPoint, AParentThatIsNoWindowIsReportedAndNothingIsOpened) {
  MessageBoxWatcher watcher;
  plugin_->Open(notify_.handle(), "操作员", nullptr, host_.get());

  ASSERT_EQ(watcher.boxes().size(), 1u);
  EXPECT_EQ(watcher.boxes()[0].caption, L"错误");
  EXPECT_EQ(watcher.boxes()[0].text, L"打开津贴项目设置失败：宿主没有提供有效的父窗口");
}

}  // namespace
}  // namespace tarnvex::testing

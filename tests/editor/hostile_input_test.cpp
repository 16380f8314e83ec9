// Hostile values typed, pasted and loaded, against the stand-in on a SQLite
// file in both dialects: each is either refused with a message that says why
// and changes nothing, or saved and read back exactly, from the database and
// from the grid after a refresh.

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "host/host_error.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "text/codepage.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using ::testing::Contains;
using testing::EditorHarness;
using testing::EditorScenario;
using ::testing::HasSubstr;

constexpr char kSaved[] = "保存成功";
constexpr int kFirstNumberCol = kVehicleGridFirstNumberColumn;  // 津贴起点, f_jtqd

// Where a case looks for its value afterwards: the one cell the query gives,
// and the cell of the item grid (the row of item) or of the vehicle-type grid
// (vehicle type "01" of item).
struct Place {
  std::u16string query;  // one row, one column
  std::string item;
  int arc_col = -1;   // a column of cgdArc, or
  int type_col = -1;  // a column of cgdType
};

struct HostileCase {
  const char* label;
  // Put into the database before the editor opens (UTF-16, as the driver
  // stores it); empty for none.
  std::u16string load;
  // What the operator does before saving; empty for nothing.
  std::function<void(TfrmSubsidySet&, EditorHarness&)> act;
  // A refusal: a text the message must contain. Nothing is then saved.
  std::string refused;
  Place place;
  // What the database holds afterwards (std::monostate: NULL) and what the
  // grid shows after a refresh.
  FieldValue stored;
  std::string shown;
  bool saves = true;
};

int RowOf(const ColumnGrid& grid, const std::string& code) {
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (grid.Cells(kItemGridCodeColumn, row) == code) return row;
  }
  return -1;
}

// Pastes text into a cell of the item row, as the in-place editor takes a paste.
std::function<void(TfrmSubsidySet&, EditorHarness&)> PasteIntoItem(std::string item, int col,
                                                                   std::string text) {
  return [=](TfrmSubsidySet& editor, EditorHarness&) {
    const int row = RowOf(editor.cgdArc, item);
    ASSERT_GT(row, 0) << item;
    editor.cgdArc.ClickCell(col, row);
    editor.cgdArc.Paste(text);
  };
}

// Types or pastes into the first number of vehicle type "01" of item "01".
std::function<void(TfrmSubsidySet&, EditorHarness&)> IntoParameter(std::string text, bool typed) {
  return [=](TfrmSubsidySet& editor, EditorHarness&) {
    editor.cgdArc.ClickCell(kItemGridCodeColumn, RowOf(editor.cgdArc, "01"));
    ASSERT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01");
    editor.cgdType.ClickCell(kFirstNumberCol, 1);
    if (typed) {
      editor.cgdType.TypeText(text);
    } else {
      editor.cgdType.SetCells(kFirstNumberCol, 1, text);
    }
  };
}

// Adds an item through the dialog: code and name pasted (or typed), the
// first category.
std::function<void(TfrmSubsidySet&, EditorHarness&)> AddItem(std::string code, std::string name,
                                                             bool typed = false) {
  return [=](TfrmSubsidySet& editor, EditorHarness& harness) {
    harness.OnAddDialog([=](TfrmAddSubsidy& dialog) {
      if (typed) {
        dialog.edtItemNo.TypeText(code);
        dialog.edtItemName.TypeText(name);
      } else {
        dialog.edtItemNo.Paste(code);
        dialog.edtItemName.Paste(name);
      }
      dialog.btnOk.Click();
    });
    editor.btnAdd.Click();
  };
}

// The code as a literal of a query: quotes doubled.
std::u16string Literal(const std::string& code) {
  std::u16string literal = u"'";
  for (char16_t ch : Cp936ToUtf16(code)) {
    literal += ch;
    if (ch == u'\'') literal += ch;
  }
  return literal + u"'";
}

Place ItemName(const std::string& item) {
  return {u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm=" + Literal(item), item,
          kItemGridNameColumn, -1};
}
Place ItemCode(const std::string& item) {
  return {u"select f_jtxmbm from tbdyjtxmda where f_jtxmbm=" + Literal(item), item,
          kItemGridCodeColumn, -1};
}
Place FirstNumber() {
  return {u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'", "01", -1,
          kFirstNumberCol};
}

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

const std::string kLongName = Repeat("长", 15);  // 30 bytes, as many as a name takes
const std::string kHugeDigits = "1" + std::string(308, '0');

std::u16string InsertItem(const std::u16string& values) {
  return u"insert into tbdyjtxmda (f_jtxmbm, f_jtxmmc, f_lb, f_jj, f_jc, f_jcs, f_js, f_ax, "
         u"f_bc, f_srz, f_fz, f_bz, f_fc) values (" +
         values + u")";
}

const HostileCase kCases[] = {
    {"QuoteInAName", u"", PasteIntoItem("01", kItemGridNameColumn, "O'Brien's"), "", ItemName("01"),
     std::string("O'Brien's"), "O'Brien's"},
    {"CommentInjectionInAName", u"", PasteIntoItem("01", kItemGridNameColumn, "';--"), "",
     ItemName("01"), std::string("';--"), "';--"},
    {"StatementInjectionInAName", u"",
     PasteIntoItem("01", kItemGridNameColumn, "x'); delete from tbdyjtxmlb;--"), "", ItemName("01"),
     std::string("x'); delete from tbdyjtxmlb;--"), "x'); delete from tbdyjtxmlb;--"},
    {"NameAsLongAsItTakes", u"", PasteIntoItem("01", kItemGridNameColumn, kLongName), "",
     ItemName("01"), kLongName, kLongName},
    {"NameByteLongerIsRefused",
     u"",
     PasteIntoItem("01", kItemGridNameColumn, kLongName + "x"),
     "超过了30个字节",
     {},
     {},
     ""},
    {"CodeOfFifteenCharactersFromTheDialog", u"", AddItem("123456789012345", "十五位"), "",
     ItemCode("123456789012345"), std::string("123456789012345"), "123456789012345"},
    {"PastedCodeBeyondTheLimitIsCut", u"", AddItem("1234567890123456789", "超长"), "",
     ItemCode("123456789012345"), std::string("123456789012345"), "123456789012345"},
    // A paste goes through the code's key filter as typing does: all of it or nothing.
    {"PastedCodeWithQuotesAndCommentIsRefused",
     u"",
     AddItem("';--", "引号"),
     "请输入项目编码!",
     {},
     {},
     ""},
    {"TypedCodeKeepsOnlyDigits", u"", AddItem("';--21", "O'Neil;--", true), "", ItemName("21"),
     std::string("O'Neil;--"), "O'Neil;--"},
    {"NameAsLongAsTheDialogAllows", u"", AddItem("77", Repeat("名", 20)), "", ItemName("77"),
     Repeat("名", 15), Repeat("名", 15)},
    {"EmptyCodeIsRefused", u"", AddItem("", "无编码"), "请输入项目编码!", {}, {}, ""},
    {"BlankCodeIsRefused", u"", AddItem("   ", "空白编码"), "请输入项目编码!", {}, {}, ""},
    {"BlankNameIsRefused", u"", AddItem("78", "    "), "请输入项目名称!", {}, {}, ""},
    {"ExistingCodeIsRefused", u"", AddItem("01", "重复"), "该编码已存在,请重新输入!", {}, {}, ""},
    {"ExponentIsRefusedNamingTheText", u"", IntoParameter("1e308", false), "1e308", {}, {}, ""},
    {"TypedExponentLosesItsLetter", u"", IntoParameter("1e3", true), "", FirstNumber(), 13.0,
     "13.00"},
    {"HugeNumberInDigitsIsRefused",
     u"",
     IntoParameter(kHugeDigits, true),
     "超出了范围",
     {},
     {},
     ""},
    {"NegativeZero", u"", IntoParameter("-0", false), "", FirstNumber(), 0.0, "0.00"},
    {"HalfACentRoundsToTwoPlaces", u"", IntoParameter("0.005", true), "", FirstNumber(), 0.01,
     "0.01"},
    {"LoadedQuotesAndComment",
     InsertItem(u"'Q''1', '''; drop table tbdycxda;--', '计件', '1', '0', '0', '0', '0', '0', "
                u"'0', '0', '0', '0'"),
     nullptr, "", ItemName("Q'1"), std::string("'; drop table tbdycxda;--"),
     "'; drop table tbdycxda;--"},
    {"LoadedNullsInEveryField",
     InsertItem(u"'N1', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL") +
         u"; insert into tbdycxda (f_cxbm, f_cxmc) values ('99', NULL)"
         u"; insert into tbdyjtxmlb (f_jtxmbm, f_cxbm) values ('N1', '99')",
     nullptr,
     "",
     {u"select count(*) from tbdyjtxmda where f_jtxmbm='N1' and f_jtxmmc is null and f_lb is "
      u"null and f_jj is null and f_jc is null and f_jcs is null and f_js is null and f_ax is "
      u"null and f_bc is null and f_srz is null and f_fz is null and f_bz is null and f_fc is "
      u"null",
      "N1", kItemGridNameColumn, -1},
     1.0,
     ""},
    // Built by the engine from code points: the ODBC driver does not pass
    // characters outside the basic plane in statement texts. The host hands
    // texts over in code page 936, so the editor shows what that leaves; until
    // a save the database keeps the characters.
    {"LoadedCharactersOutsideCodePage936",
     InsertItem(u"'E1', '笑' || char(128512) || char(54620), '计件', '0', '0', '0', '0', '0', "
                u"'0', '0', '0', '0', '0'"),
     nullptr,
     "",
     {u"select count(*) from tbdyjtxmda where f_jtxmmc='笑' || char(128512) || char(54620)", "E1",
      kItemGridNameColumn, -1},
     1.0,
     "笑???",
     false},
};

struct HostileParam {
  const HostileCase* test_case;
  std::string kind;
};

void PrintTo(const HostileParam& param, std::ostream* out) {
  *out << param.test_case->label << " (" << (param.kind.empty() ? "ANSI" : param.kind) << ")";
}

class HostileInput : public EditorScenario, public ::testing::WithParamInterface<HostileParam> {
 protected:
  HostileInput() : EditorScenario(GetParam().kind) {}

  DataPacket Everything() {
    return database_.Query(
        "select * from tbdyjtxmda a left join tbdyjtxmlb b on a.f_jtxmbm=b.f_jtxmbm "
        "order by a.f_jtxmbm, b.f_cxbm");
  }
};

TEST_P(HostileInput, IsRefusedWithAMessageOrSavedAndReadBackExactly) {
  const HostileCase& hostile = *GetParam().test_case;
  if (!hostile.load.empty()) {
    Variant statement(hostile.load);
    ASSERT_TRUE(database_.service()->ExecuteStatement(statement)) << HostErrorText(statement);
  }
  TfrmSubsidySet& editor = harness_.Open();
  EXPECT_THAT(harness_.TakeBoxes(), ::testing::IsEmpty());
  const DataPacket before = Everything();

  if (hostile.act) hostile.act(editor, harness_);
  if (hostile.saves) {
    EXPECT_TRUE(editor.FormKeyDown('S', true));
  }
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : harness_.TakeBoxes()) texts.push_back(box.text);

  if (!hostile.refused.empty()) {
    EXPECT_THAT(texts, Contains(HasSubstr(hostile.refused)));
    // What the save sent, if anything, was the data as it was.
    EXPECT_EQ(*Everything().content(), *before.content());
    return;
  }
  if (hostile.saves) {
    EXPECT_THAT(texts, Contains(kSaved));
  }
  Variant result;
  ASSERT_TRUE(database_.service()->ExecuteQuery(Variant(hostile.place.query), result));
  const DataPacket stored = DataPacket::FromVariant(result);
  ASSERT_EQ(stored.row_count(), 1u);
  EXPECT_EQ(stored.cell(0, 0), hostile.stored);

  editor.btnRefresh.Click();
  EXPECT_THAT(harness_.TakeBoxes(), ::testing::IsEmpty());
  const int row = RowOf(editor.cgdArc, hostile.place.item);
  ASSERT_GT(row, 0) << hostile.place.item;
  if (hostile.place.arc_col >= 0) {
    EXPECT_EQ(editor.cgdArc.Cells(hostile.place.arc_col, row), hostile.shown);
  } else {
    editor.cgdArc.ClickCell(kItemGridCodeColumn, row);
    EXPECT_EQ(editor.cgdType.Cells(hostile.place.type_col, 1), hostile.shown);
  }
}

std::vector<HostileParam> AllCases() {
  std::vector<HostileParam> params;
  for (const std::string kind : {"SQLSERVER", ""}) {
    for (const HostileCase& hostile : kCases) params.push_back({&hostile, kind});
  }
  return params;
}

INSTANTIATE_TEST_SUITE_P(Table, HostileInput, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) {
                           return std::string(info.param.test_case->label) +
                                  (info.param.kind.empty() ? "Ansi" : "SqlServer");
                         });

}  // namespace
}  // namespace tarnvex

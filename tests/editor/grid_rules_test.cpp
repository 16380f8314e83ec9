// What each grid's cells take, typed or pasted, and what they refuse as they
// are left: one table of cases per grid, over a small catalogue.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "editor/grid_columns.h"
#include "editor/subsidy_set_form.h"
#include "support/editor_harness.h"
#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using testing::EditorHarness;
using testing::ScriptedHost;

struct CellCase {
  const char* what;
  int col;
  int row;
  std::string text;
  std::string refusal;  // empty: taken
  std::string value;    // the cell's text to be, when taken
};

class GridRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A1 has its piece tick set, so only the piece measure's columns show.
    testing::ScriptCatalogue(*host_, {{"A1", "甲", "c1", "1"}, {"A2", "乙", "c1"}},
                             {{"A1", "01", "一"}, {"A2", "01", "一"}}, {"01"});
    editor_ = &harness_.Open();
    // Row 3: a new row, not yet given a code.
    editor_->cgdArc.InsertRow(3);
  }

  void Check(GridController& controller, const CellCase& c) {
    SCOPED_TRACE(c.what);
    std::string value;
    EXPECT_EQ(controller.CellRefusal(c.col, c.row, c.text, value), c.refusal);
    if (c.refusal.empty()) {
      EXPECT_EQ(value, c.value);
    }
  }

  std::shared_ptr<ScriptedHost> host_ = std::make_shared<ScriptedHost>();
  EditorHarness harness_{host_};
  TfrmSubsidySet* editor_ = nullptr;
};

TEST_F(GridRulesTest, WhatTheItemGridsCellsTake) {
  const int piece = kMeasureGroups[0].item_grid_column;
  const CellCase cases[] = {
      {"a filled row's code is its item's own", kItemGridCodeColumn, 1, "X", "不能修改", ""},
      {"a new row takes a code", kItemGridCodeColumn, 3, "N1", "", "N1"},
      {"a code up to 15 bytes", kItemGridCodeColumn, 3, std::string(16, '7'),
       "超过了15个字节(16个字节)", ""},
      {"control characters never go in", kItemGridNameColumn, 1, "a\tb\r\n", "", "ab"},
      {"a name up to 30 bytes", kItemGridNameColumn, 1, std::string(31, 'n'),
       "超过了30个字节(31个字节)", ""},
      {"a category needs the row's code first", kItemGridCategoryColumn, 3, "c1",
       "须先输入项目编码", ""},
      {"a category of a filled row", kItemGridCategoryColumn, 1, "c2", "", "c2"},
      {"a tick takes Y", piece, 1, "Y", "", ColumnGrid::kTicked},
      {"a tick takes 0", piece, 1, " 0 ", "", ColumnGrid::kCleared},
      {"a tick takes nothing else", piece, 1, "yes", "只能是Y或N", ""},
      {"the marker is hidden", kItemGridMarkerColumn, 1, "Edit", "没有显示", ""},
      {"past the last column", static_cast<int>(kItemGridColumns.size()), 1, "x", "超出了最后一列",
       ""},
      {"past the last row", kItemGridNameColumn, 4, "x", "超出了最后一行", ""},
  };
  for (const CellCase& c : cases) Check(editor_->items(), c);
}

TEST_F(GridRulesTest, WhatTheVehicleGridsCellsTake) {
  const int hidden = kMeasureGroups[1].first_vehicle_grid_column;  // distance: A1 has no tick
  const int shown = kMeasureGroups[0].first_vehicle_grid_column;
  const CellCase cases[] = {
      {"the vehicle type's code is the row's key", kVehicleGridCodeColumn, 1, "02", "不能修改", ""},
      {"the vehicle type's name is shown only", kVehicleGridNameColumn, 1, "x", "不能修改", ""},
      {"digits and a point", shown, 1, "12.5", "", "12.5"},
      {"no sign", kVehicleGridFirstNumberColumn, 1, "-1", "只能输入数字和小数点", ""},
      {"no exponent", kVehicleGridLastNumberColumn, 1, "1e3", "只能输入数字和小数点", ""},
      {"a hidden measure column", hidden, 1, "1", "没有显示", ""},
  };
  for (const CellCase& c : cases) Check(editor_->vehicles(), c);
}

TEST_F(GridRulesTest, ANumberIsCheckedAsItsCellIsLeft) {
  struct LeaveCase {
    std::string text;
    std::string refusal;
    std::string shown;
  };
  const LeaveCase cases[] = {
      {" 12.5 ", "", "12.50"},
      {"", "", "0.00"},
      {".", "不是数字", ""},
      {"1.2.3", "不是数字", ""},
      {"999999999999.994", "", "999999999999.99"},
      {"999999999999.995", "超出了范围(绝对值须小于1000000000000)", ""},
  };
  for (const LeaveCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    EXPECT_EQ(editor_->vehicles().LeaveRefusal(kVehicleGridFirstNumberColumn, text), c.refusal);
    if (c.refusal.empty()) {
      EXPECT_EQ(text, c.shown);
    }
  }
  // The code and name columns are no numbers: anything stays.
  std::string name = "1.2.3";
  EXPECT_EQ(editor_->vehicles().LeaveRefusal(kVehicleGridNameColumn, name), "");
  EXPECT_EQ(editor_->items().LeaveRefusal(kItemGridNameColumn, name), "");
}

}  // namespace
}  // namespace tarnvex

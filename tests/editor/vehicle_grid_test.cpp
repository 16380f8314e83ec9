// The vehicle-type grid's fill, its measure columns and the parameter rows of
// a new item, on a small scripted catalogue.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "support/editor_harness.h"
#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using testing::EditorHarness;
using ::testing::ElementsAre;
using testing::ScriptedHost;

class VehicleGridTest : public ::testing::Test {
 protected:
  TfrmSubsidySet& Open(const std::vector<std::vector<std::string>>& parameters,
                       const std::vector<std::string>& vehicle_types) {
    testing::ScriptCatalogue(*host_, {{"A1", "甲", "c1"}, {"A2", "乙", "c1"}}, parameters,
                             vehicle_types);
    return harness_.Open();
  }

  std::vector<std::string> Rows(const TfrmSubsidySet& editor) {
    std::vector<std::string> rows;
    for (int row = 1; row < editor.cgdType.RowCount(); ++row) {
      rows.push_back(editor.cgdType.Cells(0, row) + " " + editor.cgdType.Cells(1, row) + " " +
                     editor.cgdType.Cells(2, row));
    }
    return rows;
  }

  std::shared_ptr<ScriptedHost> host_ = std::make_shared<ScriptedHost>();
  EditorHarness harness_{host_};
};

TEST_F(VehicleGridTest, RowsComeOrderedByVehicleTypeWithTiesInTableOrder) {
  TfrmSubsidySet& editor =
      Open({{"A1", "02", "二"}, {"A2", "01", "别的"}, {"A1", "01", "一"}, {"A1", "02", "又二"}},
           {"01", "02"});
  EXPECT_THAT(Rows(editor), ElementsAre("01 一 0.00", "02 二 0.00", "02 又二 0.00"));
}

TEST_F(VehicleGridTest, AnItemWithoutParameterRowsShowsOneEmptyRow) {
  TfrmSubsidySet& editor = Open({{"A2", "01", "一"}}, {"01"});
  EXPECT_THAT(Rows(editor), ElementsAre("  "));
}

TEST_F(VehicleGridTest, MeasureFlagsChooseTheShownGroupsAndShownNumbersAre80Wide) {
  TfrmSubsidySet& editor = Open({}, {});
  // Piece and route ticked.
  editor.vehicles().ApplyMeasureColumns({true, false, false, true, false});
  std::vector<int> shown;
  for (int col = 0; col < editor.cgdType.ColumnCount(); ++col) {
    if (editor.cgdType.Column(col).visible) shown.push_back(col);
  }
  EXPECT_THAT(shown,
              ElementsAre(0, 1, 2, 3, 4, 5, 6, 15, 16, 17, 18, 23, 24, 25, 26, 27, 28, 29, 30));
  EXPECT_EQ(editor.cgdType.Column(2).width, 80);
  EXPECT_EQ(editor.cgdType.Column(30).width, 80);
  EXPECT_EQ(editor.cgdType.Column(1).width, 73);
  EXPECT_EQ(editor.cgdType.Column(7).width, 64);
}

TEST_F(VehicleGridTest, ParameterRowsOfANewItemOnePerVehicleType) {
  TfrmSubsidySet& editor = Open({{"A1", "02", "二"}}, {"03", "01"});
  ASSERT_TRUE(editor.vehicles().CreateParameterRows("N1"));
  editor.vehicles().Clear();
  editor.vehicles().Fill("N1");
  EXPECT_THAT(Rows(editor), ElementsAre("01  0.00", "03  0.00"));
  EXPECT_EQ(editor.cgdType.Cells(30, 2), "0.00");
}

TEST_F(VehicleGridTest, ParameterRowsStopAtAVehicleTypeTheItemAlreadyHas) {
  TfrmSubsidySet& editor = Open({{"A1", "02", "二"}}, {"01", "02", "03"});
  EXPECT_FALSE(editor.vehicles().CreateParameterRows("A1"));
  // The row made for 01 before the stop stays; none for 03.
  EXPECT_TRUE(editor.cdsType.Locate("f_jtxmbm;f_cxbm", {"A1", "01"}));
  EXPECT_FALSE(editor.cdsType.Locate("f_jtxmbm;f_cxbm", {"A1", "03"}));
}

TEST_F(VehicleGridTest, WithoutVehicleTypesANewItemGetsNoRows) {
  TfrmSubsidySet& editor = Open({{"A1", "02", "二"}}, {});
  EXPECT_TRUE(editor.vehicles().CreateParameterRows("N1"));
  EXPECT_EQ(editor.cdsType.RecordCount(), 1u);
}

}  // namespace
}  // namespace tarnvex

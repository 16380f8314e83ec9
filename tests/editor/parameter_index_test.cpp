#include "editor/parameter_index.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

DataPacket Rows(const std::vector<std::vector<std::string>>& rows) {
  return testing::ParametersPacket(rows);
}

TEST(ParameterIndex, FindsAnItemsRowsInStorageOrderAndRowsAppendedLater) {
  ParameterIndex index;
  EXPECT_THAT(index.RowsOf(Rows({{"1", "01"}, {"10", "01"}, {"1", "02"}}), "1"), ElementsAre(0, 2));
  EXPECT_THAT(index.RowsOf(Rows({{"1", "01"}, {"10", "01"}, {"1", "02"}, {"1", "03"}}), "1"),
              ElementsAre(0, 2, 3));
  EXPECT_THAT(index.RowsOf(Rows({{"1", "01"}}), ""), IsEmpty());
  EXPECT_THAT(index.RowsOf(DataPacket(), "1"), IsEmpty());
}

TEST(ParameterIndex, AReloadWithoutResetIsNoticedAndGivesTheRightRows) {
  ParameterIndex index;
  index.RowsOf(Rows({{"1", "01"}, {"2", "01"}, {"1", "02"}}), "1");
  // Same number of rows, other items at the same places.
  EXPECT_THAT(index.RowsOf(Rows({{"2", "01"}, {"1", "01"}, {"2", "02"}}), "1"), ElementsAre(1));
  EXPECT_THAT(index.RowsOf(Rows({{"2", "01"}}), "2"), ElementsAre(0));
}

}  // namespace
}  // namespace tarnvex

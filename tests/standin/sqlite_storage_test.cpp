#include <gtest/gtest.h>

#include "standin/scenario_backend.h"

namespace tarnvex::testing {
namespace {

class StandinSqliteStorageTest : public ::testing::Test {
 protected:
  void SetUp() override { ConnectWithEmptyTables(BackendUnderTest(), {}, service_); }
  void TearDown() override {
    service_.reset();
    BackendUnderTest().close();
  }
  std::unique_ptr<StandinDataService> service_;
};

// Other programs (the sqlite3 shell, the Windows build under Wine) read the same
// file: Chinese text must be stored as UTF-8, not cut down to single bytes.
TEST_F(StandinSqliteStorageTest, StoresChineseAsUtf8) {
  Execute(*service_, Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('01','金杯面包车')"}));
  DataPacket packet = Query(*service_, "select hex(f_cxmc) from tbdycxda");
  ASSERT_EQ(packet.row_count(), 1u);
  EXPECT_EQ(packet.cell(0, 0), FieldValue(std::string("E98791E69DAFE99DA2E58C85E8BDA6")));
}

}  // namespace
}  // namespace tarnvex::testing

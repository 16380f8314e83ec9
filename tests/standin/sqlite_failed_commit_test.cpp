// SQLite ends a transaction by itself when its commit cannot write (a full disk,
// a file made read-only), and its ODBC driver does not notice. A batch that ends
// the transaction itself leaves the driver in that same state, as any user on
// any machine.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "standin/scenario_backend.h"
#include "text/codepage.h"

namespace tarnvex::testing {
namespace {

// How many of the process's open files are the file: a connection that the
// driver refused to let go keeps its database open.
size_t OpenHandlesTo(const std::filesystem::path& file) {
  const std::filesystem::path wanted = std::filesystem::weakly_canonical(file);
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target == wanted) ++count;
  }
  return count;
}

class StandinSqliteFailedCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ConnectWithEmptyTables(BackendUnderTest(), {}, service_, &connection_string_);
  }
  void TearDown() override {
    service_.reset();
    BackendUnderTest().close();
  }

  // The vehicle type codes as a connection of its own finds them.
  std::vector<std::string> StoredCodes() const {
    StandinConfig config;
    config.connection_string = connection_string_;
    StandinDataService reader(std::move(config));
    DataPacket packet = Query(reader, "select f_cxbm from tbdycxda order by f_cxbm");
    std::vector<std::string> codes;
    for (size_t row = 0; row < packet.row_count(); ++row)
      codes.push_back(std::get<std::string>(packet.cell(row, 0)));
    return codes;
  }

  // The database file, from "Driver=SQLite3;Database=FILE;".
  std::filesystem::path DatabaseFile() const {
    const std::string text = Utf16ToUtf8(connection_string_);
    const size_t begin = text.find("Database=") + 9;
    return text.substr(begin, text.find(';', begin) - begin);
  }

  std::unique_ptr<StandinDataService> service_;
  std::u16string connection_string_;
};

TEST_F(StandinSqliteFailedCommitTest, LaterSavesRunInATransactionOfTheirOwnAgain) {
  Variant ended =
      Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('01','金杯面包车')", "rollback"});
  EXPECT_FALSE(service_->ExecuteStatement(ended));
  const std::string text = HostErrorText(ended);
  EXPECT_EQ(text.rfind("提交失败，本批语句已全部撤销", 0), 0u) << Readable(text);
  EXPECT_EQ(StoredCodes(), std::vector<std::string>{});

  // A good save is written and says so.
  Variant good = Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('02','五十铃厢式货车')"});
  EXPECT_TRUE(service_->ExecuteStatement(good)) << Readable(HostErrorText(good));
  EXPECT_EQ(StoredCodes(), std::vector<std::string>{"02"});

  // A failing batch still stands or falls whole.
  Variant failing = Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('03','依维柯')",
                           "insert into no_such_table values(1)"});
  EXPECT_FALSE(service_->ExecuteStatement(failing));
  EXPECT_EQ(StoredCodes(), std::vector<std::string>{"02"});

  // And the service's own reads agree.
  DataPacket packet = Query(*service_, "select f_cxbm from tbdycxda");
  ASSERT_EQ(packet.row_count(), 1u);
  EXPECT_EQ(packet.cell(0, 0), FieldValue(std::string("02")));

  // The connection given up was closed, not left behind.
  ASSERT_EQ(OpenHandlesTo(DatabaseFile()), 1u);
  service_.reset();
  EXPECT_EQ(OpenHandlesTo(DatabaseFile()), 0u);
}

}  // namespace
}  // namespace tarnvex::testing

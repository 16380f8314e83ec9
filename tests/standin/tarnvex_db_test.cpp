#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

// The tool reads and writes UTF-8; narrow literals here are code page 936.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ShellQuote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ToolRun {
  int status = -1;
  std::string output;  // standard output and standard error
};

ToolRun RunTool(const std::vector<std::string>& arguments) {
  std::string command = TARNVEX_DB_PATH;
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  command += " 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return run;
  }
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class StandinTarnvexDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    file_ = std::filesystem::path(::testing::TempDir()) /
            ("tarnvex-db-" + name + "-" + std::to_string(getpid()) + ".db");
    std::filesystem::remove(file_);
  }
  void TearDown() override { std::filesystem::remove(file_); }

  ToolRun Create() { return RunTool({"create", "--sqlite", file_.string(), "--demo"}); }

  std::filesystem::path file_;
};

TEST_F(StandinTarnvexDbTest, CreatesTheDemoDatabaseInOneCommand) {
  ToolRun created = Create();
  EXPECT_EQ(created.status, 0) << created.output;
  EXPECT_NE(created.output.find("demo data: 12 items, 7 vehicle types, 84 parameter rows"),
            std::string::npos)
      << created.output;

  ToolRun again = Create();
  EXPECT_EQ(again.status, 1) << "the tables exist already";
  EXPECT_NE(again.output.find("error: "), std::string::npos) << again.output;

  ToolRun replaced = RunTool({"create", "--sqlite", file_.string(), "--replace", "--demo"});
  EXPECT_EQ(replaced.status, 0) << replaced.output;
}

TEST_F(StandinTarnvexDbTest, ExecRunsTheConditionalFormsAndQueryPrintsRows) {
  ASSERT_EQ(Create().status, 0);
  ToolRun exec = RunTool(
      {"exec", "--sqlite", file_.string(), "--kind", "SQLSERVER",
       Utf8(u8"If not Exists(select * from tbdycxda where f_cxbm='08') Insert into "
            u8"tbdycxda(f_cxbm,f_cxmc) "
            u8"Values('08','依维柯 Daily') Else Update tbdycxda set f_cxmc='x' where f_cxbm='08';"
            u8"begin ATOMIC If not Exists(select * from tbdycxda where f_cxbm='05') then Insert "
            u8"into "
            u8"tbdycxda(f_cxbm,f_cxmc) Values('05','x'); Else Update tbdycxda set f_cxmc='解放J6L' "
            u8"where "
            u8"f_cxbm='05'; End if;End")});
  EXPECT_EQ(exec.status, 0) << exec.output;

  ToolRun query = RunTool({"query", "--sqlite", file_.string(),
                           "select f_cxbm,f_cxmc from tbdycxda where f_cxbm>='05' "
                           "order by f_cxbm"});
  EXPECT_EQ(query.status, 0) << query.output;
  EXPECT_EQ(query.output, Utf8(u8"f_cxbm\tf_cxmc\n05\t解放J6L\n06\t电动三轮车\n07\t江淮帅铃冷藏车\n"
                               u8"08\t依维柯 Daily\n"));
}

struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;  // "{db}" stands for the database file
  int status;
  const char* output_part;
};

class StandinTarnvexDbFailureTest : public StandinTarnvexDbTest,
                                    public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StandinTarnvexDbFailureTest, ExplainsAndExitsNonZero) {
  ASSERT_EQ(Create().status, 0);
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    if (argument == "{db}") argument = file_.string();
  }
  ToolRun run = RunTool(arguments);
  EXPECT_EQ(run.status, GetParam().status) << run.output;
  EXPECT_NE(run.output.find(GetParam().output_part), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StandinTarnvexDbFailureTest,
    ::testing::Values(
        FailureCase{"FailingStatement",
                    {"exec", "--sqlite", "{db}",
                     "delete from tbdycxda;insert into no_such_table values(1)"},
                    1,
                    "no such table: no_such_table"},
        FailureCase{"FailingQuery",
                    {"query", "--sqlite", "{db}", "select nothing from tbdycxda"},
                    1,
                    "nothing"},
        FailureCase{
            "BadConnectionString", {"query", "--connect", "Nonsense", "select 1"}, 1, "IM002"},
        FailureCase{"MissingDriver",
                    {"query", "--connect", "Driver=NoSuchDriver;Database=x.db;", "select 1"},
                    1,
                    "NoSuchDriver"},
        FailureCase{"MissingText", {"query", "--sqlite", "{db}"}, 2, "usage:"},
        FailureCase{"UnknownCommand", {"drop", "--sqlite", "{db}"}, 2, "unknown command"},
        FailureCase{"NoDatabase", {"query", "select 1"}, 2, "--connect or --sqlite"}),
    [](const auto& info) { return std::string(info.param.name); });

// The failing statement above must not have deleted anything.
TEST_F(StandinTarnvexDbTest, FailedBatchLeavesTheDataAlone) {
  ASSERT_EQ(Create().status, 0);
  RunTool({"exec", "--sqlite", file_.string(),
           "delete from tbdycxda;insert into no_such_table values(1)"});
  ToolRun count =
      RunTool({"query", "--sqlite", file_.string(), "select count(*) as n from tbdycxda"});
  EXPECT_EQ(count.output, "n\n7\n");
}

}  // namespace
}  // namespace tarnvex

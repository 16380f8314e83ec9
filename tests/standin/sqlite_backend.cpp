#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "standin/scenario_backend.h"
#include "text/codepage.h"

namespace tarnvex::testing {
namespace {

// A file of its own for every test, so that tests may run side by side.
std::filesystem::path DatabaseFile() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return std::filesystem::path(::testing::TempDir()) /
         ("tarnvex-" + name + "-" + std::to_string(getpid()) + ".db");
}

}  // namespace

const ScenarioBackend& BackendUnderTest() {
  static const ScenarioBackend backend{
      "Sqlite",
      u"SQLITE",
      [](std::string&) {
        std::filesystem::remove(DatabaseFile());
        return u"Driver=SQLite3;Database=" + Utf8ToUtf16(DatabaseFile().string()) + u";";
      },
      [] { std::filesystem::remove(DatabaseFile()); },
      {// A writer: nobody else reads or writes.
       {"Writing", {u"begin exclusive"}, true},
       // A reader: others read, and write up to their commit.
       {"Reading", {u"begin", u"select count(*) from tbdycxda"}, false}}};
  return backend;
}

}  // namespace tarnvex::testing

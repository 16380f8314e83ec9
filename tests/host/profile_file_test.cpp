#include "host/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>

namespace tarnvex {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kDefault = "(default)";

// Every test gets a folder of its own, removed afterwards.
class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("tarnvex_profile_"s + test->name() + "_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    ini_ = folder_ / "Tarnvexpos.ini";
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void Store(const std::string& bytes) const {
    std::ofstream(ini_, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::string Load() const {
    std::ifstream in(ini_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::set<fs::path> FolderEntries() const {
    std::set<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder_)) entries.insert(entry.path());
    return entries;
  }

  // The write must fail naming the file, and leave no temporary file behind.
  void ExpectWriteFails(const fs::path& file, const char* section, const char* key,
                        const char* value) const {
    const std::set<fs::path> entries_before = FolderEntries();
    try {
      WriteProfileString(file, section, key, value);
      ADD_FAILURE() << "no ProfileWriteError";
    } catch (const ProfileWriteError& error) {
      EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos) << error.what();
    }
    EXPECT_EQ(FolderEntries(), entries_before);
  }

  fs::path folder_;
  fs::path ini_;
};

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;
};

// 癆 is B0 41 and 癮 is B0 61 in code page 936: the same lead byte and trail
// bytes that are 'A' and 'a'. 癩 is B0 5D, whose trail byte is ']'.
const ReadCase kReadCases[] = {
    {"exact names", "[frmSubsidySet1]\r\n项目编码=1,60\r\n计件=0,30\r\n", "frmSubsidySet1", "计件",
     "0,30"},
    {"letter case of names", "[FRMSUBSIDYSET1]\r\nWidth=1,60\r\n", "frmsubsidyset1", "wIDTH",
     "1,60"},
    {"blanks around names and value", " \t[ sec \t]\r\n\t key \t=  1,60 \t\r\n", "sec", "key",
     "1,60"},
    {"blanks around the requested names", "[sec]\r\nkey=1\r\n", " sec\t", "\tkey ", "1"},
    {"missing section", "[other]\r\nkey=1\r\n", "sec", "key", kDefault},
    {"missing key", "[sec]\r\nother=1\r\n", "sec", "key", kDefault},
    {"key before any section", "key=1\r\n[sec]\r\n", "sec", "key", kDefault},
    {"section ends at the next header", "[sec]\r\n[next]\r\nkey=1\r\n", "sec", "key", kDefault},
    {"empty value", "[sec]\r\nkey=\r\n", "sec", "key", ""},
    {"blank value", "[sec]\r\nkey= \t \r\n", "sec", "key", ""},
    {"value holding =", "[sec]\r\nkey=a=b\r\n", "sec", "key", "a=b"},
    {"commented keys", "[sec]\r\n;key=1\r\n  ;key=2\r\nkey=3\r\n", "sec", "key", "3"},
    {"comment is no key named ;key", "[sec]\r\n;key=1\r\n", "sec", ";key", kDefault},
    {"commented header", ";[sec]\r\nkey=1\r\n[sec]\r\nkey=2\r\n", "sec", "key", "2"},
    {"first of duplicate sections", "[sec]\r\nkey=1\r\n[SEC]\r\nkey=2\r\n", "sec", "key", "1"},
    {"key only in a later duplicate section", "[sec]\r\na=1\r\n[sec]\r\nkey=2\r\n", "sec", "key",
     kDefault},
    {"first of duplicate keys", "[sec]\r\nkey=1\r\nKEY=2\r\n", "sec", "key", "1"},
    {"line without = is no key", "[sec]\r\nkey\r\nkey=2\r\n", "sec", "key", "2"},
    {"Chinese names", "[设置]\r\n项目编码=1,60\r\n计件=0,30\r\n", "设置", "计件", "0,30"},
    {"Chinese value", "[sec]\r\n备注=说明\r\n", "sec", "备注", "说明"},
    {"trail byte letters keep their case", "[sec]\r\n项目癆=1\r\n", "sec", "项目癮", kDefault},
    {"trail byte letters pick their own key", "[sec]\r\n癆=1\r\n癮=2\r\n", "sec", "癮", "2"},
    {"letter after a Chinese character folds", "[sec]\r\n项目A=1\r\n", "sec", "项目a", "1"},
    {"hidden column header", "[frmSubsidySet1]\r\n=1,0\r\n", "frmSubsidySet1", " ", "1,0"},
    {"blank key name", "[frmSubsidySet1]\r\n \t= 0,0\r\n", "frmSubsidySet1", " ", "0,0"},
    {"LF line ends", "[sec]\nkey=1\n", "sec", "key", "1"},
    {"no final line break", "[sec]\r\nkey=1", "sec", "key", "1"},
    {"trail byte ] closes no header", "[sec]\r\n[癩\r\nkey=1\r\n", "sec", "key", "1"},
    {"header name ending in trail byte ]", "[设置癩]\r\nkey=1\r\n", "设置癩", "key", "1"},
    {"header name holding ]", "[a]b]\r\nkey=1\r\n", "a]b", "key", "1"},
    {"UTF-8 signature is part of the first line", "\xEF\xBB\xBF[sec]\r\nkey=1\r\n", "sec", "key",
     kDefault},
};

TEST_F(ProfileFileTest, ReadsValues) {
  for (const ReadCase& read_case : kReadCases) {
    SCOPED_TRACE(read_case.name);
    Store(read_case.content);
    EXPECT_EQ(ReadProfileString(ini_, read_case.section, read_case.key, kDefault),
              read_case.expected);
  }
}

TEST_F(ProfileFileTest, ReadsDefaultWithoutAFile) {
  EXPECT_EQ(ReadProfileString(ini_, "sec", "key", "1,0"), "1,0");
  fs::create_directory(ini_);
  EXPECT_EQ(ReadProfileString(ini_, "sec", "key", "1,0"), "1,0");
}

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // no file when empty
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

const WriteCase kWriteCases[] = {
    {"new file", std::nullopt, "frmSubsidySet1", "项目编码", "1,60",
     "[frmSubsidySet1]\r\n项目编码=1,60\r\n"},
    {"empty file", "", "a", "y", "2", "[a]\r\ny=2\r\n"},
    {"names written without their blanks", std::nullopt, " b ", "\ty ", "2", "[b]\r\ny=2\r\n"},
    {"new section at the end", "[a]\r\nx=1\r\n", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
    {"new section after an unterminated line", "[a]\r\nx=1", "b", "y", "2",
     "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
    {"new key in a section in the middle", "; 设置\r\n[a]\r\nx=1\r\n\r\n[b]\r\nz=3\r\n", "A", "y",
     "2", "; 设置\r\n[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n"},
    {"new key after the last key line", "[a]\r\nx=1\r\nnote\r\nw=0\r\n; about b=c\r\n\r\n[b]\r\n",
     "a", "y", "2", "[a]\r\nx=1\r\nnote\r\nw=0\r\ny=2\r\n; about b=c\r\n\r\n[b]\r\n"},
    {"new key in a section without keys", "[a]\r\n\r\n[b]\r\n", "a", "y", "2",
     "[a]\r\ny=2\r\n\r\n[b]\r\n"},
    {"new key after an unterminated header", "[a]", "a", "y", "2", "[a]\r\ny=2\r\n"},
    {"new key after an unterminated key line", "[a]\r\nx=1", "a", "y", "2",
     "[a]\r\nx=1\r\ny=2\r\n"},
    {"new key beside a trail byte letter twin", "[a]\r\n癆=1\r\n", "a", "癮", "2",
     "[a]\r\n癆=1\r\n癮=2\r\n"},
    {"replaced value keeps the key's spelling", "[A]\r\n  Key = old value \r\nk2=v\r\n", "a", "KEY",
     "1,60", "[A]\r\n  Key = 1,60\r\nk2=v\r\n"},
    {"replaced empty value", "[a]\r\nx=\r\n", "a", "x", "5", "[a]\r\nx=5\r\n"},
    {"replaced in the first duplicate", "[a]\r\nx=1\r\n[a]\r\nx=2\r\n", "a", "x", "9",
     "[a]\r\nx=9\r\n[a]\r\nx=2\r\n"},
    {"LF file keeps LF for a new key", "[a]\nx=1\n", "a", "y", "2", "[a]\nx=1\ny=2\n"},
    {"LF file keeps LF for a new section", "[a]\nx=1", "b", "y", "2", "[a]\nx=1\n[b]\ny=2\n"},
    {"replaced value keeps the line ends", "[a]\nx=1\nz=3", "a", "x", "2", "[a]\nx=2\nz=3"},
    {"hidden column header added", "[frmSubsidySet1]\r\n项目编码=1,60\r\n", "frmSubsidySet1", " ",
     "0,0", "[frmSubsidySet1]\r\n项目编码=1,60\r\n=0,0\r\n"},
    {"hidden column header replaced", "[frmSubsidySet1]\r\n=1,0\r\n", "frmSubsidySet1", " ", "0,0",
     "[frmSubsidySet1]\r\n=0,0\r\n"},
    {"other bytes untouched",
     "\xEF\xBB\xBF; 注释\tnote\r\n[a]\n x = 1 \r\n\xFF\x01junk\0\r\n[b]\r\nz=\xB0\x41\r\n"s, "b",
     "z", "2", "\xEF\xBB\xBF; 注释\tnote\r\n[a]\n x = 1 \r\n\xFF\x01junk\0\r\n[b]\r\nz=2\r\n"s},
};

TEST_F(ProfileFileTest, WritesOnlyWhatChanges) {
  for (const WriteCase& write_case : kWriteCases) {
    SCOPED_TRACE(write_case.name);
    fs::remove(ini_);
    if (write_case.before) Store(*write_case.before);
    WriteProfileString(ini_, write_case.section, write_case.key, write_case.value);
    EXPECT_EQ(Load(), write_case.after);
    EXPECT_EQ(FolderEntries(), std::set<fs::path>{ini_});
  }
}

TEST_F(ProfileFileTest, LayoutOfBothGridsReadsBackFromAChineseFolder) {
  const fs::path folder = folder_ / u8"设置";
  fs::create_directory(folder);
  const fs::path file = folder / "Tarnvexpos.ini";
  WriteProfileString(file, "frmSubsidySet1", "项目编码", "1,60");
  WriteProfileString(file, "frmSubsidySet2", "车型编码", "1,64");
  WriteProfileString(file, "frmSubsidySet1", " ", "0,0");
  WriteProfileString(file, "frmSubsidySet2", "车型编码", "0,70");
  WriteProfileString(file, "frmSubsidySet1", "项目编码", "1,80");

  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            "[frmSubsidySet1]\r\n项目编码=1,80\r\n=0,0\r\n[frmSubsidySet2]\r\n车型编码=0,70\r\n");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", "项目编码", "1,0"), "1,80");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", " ", "1,0"), "0,0");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet2", "车型编码", "1,0"), "0,70");
}

TEST_F(ProfileFileTest, WriteIntoAMissingFolderFails) {
  const fs::path file = folder_ / "missing" / "Tarnvexpos.ini";
  ExpectWriteFails(file, "frmSubsidySet1", "项目编码", "1,60");
  EXPECT_FALSE(fs::exists(file.parent_path()));
}

TEST_F(ProfileFileTest, WriteToAReadOnlyFileFailsAndKeepsIt) {
  Store("[a]\r\nx=1\r\n");
  fs::permissions(ini_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ExpectWriteFails(ini_, "a", "x", "2");
  EXPECT_EQ(Load(), "[a]\r\nx=1\r\n");
  // Nothing to change, so nothing to refuse.
  EXPECT_NO_THROW(WriteProfileString(ini_, "A", "X", "1"));
}

TEST_F(ProfileFileTest, WriteOverAFolderFails) {
  fs::create_directory(ini_);
  ExpectWriteFails(ini_, "a", "x", "2");
  EXPECT_TRUE(fs::is_directory(ini_));
}

// Each of these would come back as something else, or break other lines.
TEST_F(ProfileFileTest, RefusesNamesAndValuesThatWouldNotReadBack) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case kCases[] = {
      {"a", "x=y", "1"}, {"a", "x\ny", "1"}, {"a", "x", "1\r\n[b]"}, {"a\r\n", "x", "1"},
      {"a", ";x", "1"},  {"a", " [x", "1"},  {"设置\xB0", "x", "1"},
  };
  Store("[a]\r\nx=1\r\n");
  for (const Case& bad : kCases) {
    SCOPED_TRACE(std::string(bad.section) + "|" + bad.key + "|" + bad.value);
    ExpectWriteFails(ini_, bad.section, bad.key, bad.value);
    EXPECT_EQ(Load(), "[a]\r\nx=1\r\n");
  }
}

}  // namespace
}  // namespace tarnvex

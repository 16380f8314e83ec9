// The version resources of the built DLL and host program, read back the way
// the file properties of Windows read them: GetFileVersionInfoW and
// VerQueryValueW on the files beside the test program.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace tarnvex::testing {
namespace {

std::wstring BesideProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

#define TARNVEX_WIDE_TEXT(text) L##text
#define TARNVEX_WIDE(text) TARNVEX_WIDE_TEXT(text)

struct Component {
  const wchar_t* file_name;
  const wchar_t* description;
  const wchar_t* internal_name;
  DWORD file_type;
};

class BuiltFile : public ::testing::TestWithParam<Component> {};

TEST_P(BuiltFile, CarriesTheProjectVersionInChineseWithAUnicodeStringTable) {
  const Component& component = GetParam();
  std::wstring path = BesideProgram(component.file_name);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_NE(size, 0u) << "no version resource in " << std::string(path.begin(), path.end());
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size));
  ASSERT_EQ(fixed_size, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD version_ms = MAKELONG(TARNVEX_VERSION_MINOR, TARNVEX_VERSION_MAJOR);
  const DWORD version_ls = MAKELONG(0, TARNVEX_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, version_ms);
  EXPECT_EQ(fixed->dwFileVersionLS, version_ls);
  EXPECT_EQ(fixed->dwProductVersionMS, version_ms);
  EXPECT_EQ(fixed->dwProductVersionLS, version_ls);
  EXPECT_EQ(fixed->dwFileType, component.file_type);

  // One translation: Chinese (PRC), Unicode (code page 1200).
  WORD* translation = nullptr;
  UINT translation_size = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &translation_size));
  ASSERT_EQ(translation_size, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  auto text = [&](const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
      return std::wstring(L"(missing)");
    }
    return std::wstring(value);
  };
  const std::wstring version = TARNVEX_WIDE(TARNVEX_VERSION);
  EXPECT_EQ(text(L"FileDescription"), std::wstring(component.description));
  EXPECT_EQ(text(L"FileVersion"), version);
  EXPECT_EQ(text(L"ProductVersion"), version);
  EXPECT_EQ(text(L"OriginalFilename"), std::wstring(component.file_name));
  EXPECT_EQ(text(L"InternalName"), std::wstring(component.internal_name));
  EXPECT_EQ(text(L"ProductName"), std::wstring(L"津贴项目设置"));
}

INSTANTIATE_TEST_SUITE_P(VersionInfo, BuiltFile,
                         ::testing::Values(Component{L"SubsidySet.dll", L"津贴项目设置",
                                                     L"SubsidySet", VFT_DLL},
                                           Component{L"tarnvex-host.exe", L"津贴项目设置模拟宿主",
                                                     L"tarnvex-host", VFT_APP}));

}  // namespace
}  // namespace tarnvex::testing

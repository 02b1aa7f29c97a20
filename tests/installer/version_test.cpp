// Every binary that ships carries the project's one version number, the
// product name, its own file name and a description of itself in English,
// Traditional Chinese and Simplified Chinese.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lumora_session.h"
#include "version_info.h"

namespace installer {
namespace {

// What the set-up program installs, and the set-up program itself.
std::vector<std::wstring> ShippedBinaries() {
  std::vector<std::wstring> names = {L"Lumora.exe",   L"litefx.dll",   L"tonefx.dll",
                                     L"edgefx.dll",   L"tilefx.dll",   L"warpfx.dll",
                                     L"ZImgLoad.dll", L"camclean.exe", L"Lumora-Setup.exe"};
  if (LUMORA_SHIPS_VIDEO_CODEC) names.push_back(L"lumjpeg.dll");
  return names;
}

DWORD Packed(WORD high, WORD low) { return static_cast<DWORD>(high) << 16 | low; }

TEST(ShippedBinaries, CarryTheOneVersionNumberInTheFixedPartAndEveryLanguage) {
  for (const std::wstring& name : ShippedBinaries()) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    const VersionInfo info(e2e::BinFolder() + name);
    ASSERT_TRUE(info.Found());
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed->dwFileVersionMS, Packed(kVersion[0], kVersion[1]));
    EXPECT_EQ(fixed->dwFileVersionLS, Packed(kVersion[2], 0));
    EXPECT_EQ(fixed->dwProductVersionMS, Packed(kVersion[0], kVersion[1]));
    EXPECT_EQ(fixed->dwProductVersionLS, Packed(kVersion[2], 0));
    for (WORD language : kLanguages) {
      EXPECT_EQ(info.Text(language, L"FileVersion"), kVersionText) << language;
      EXPECT_EQ(info.Text(language, L"ProductVersion"), kVersionText) << language;
      EXPECT_EQ(info.Text(language, L"ProductName"), L"Lumora") << language;
      EXPECT_EQ(_wcsicmp(info.Text(language, L"OriginalFilename").c_str(), name.c_str()), 0)
          << language;
    }
  }
}

// The shell shows the description of the user's language: each language
// has its own, and the Chinese ones are translations.
TEST(ShippedBinaries, DescribeThemselvesInTheThreeLanguages) {
  for (const std::wstring& name : ShippedBinaries()) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    const VersionInfo info(e2e::BinFolder() + name);
    ASSERT_TRUE(info.Found());
    EXPECT_EQ(info.Languages(), std::vector<WORD>({0x0404, 0x0409, 0x0804}));
    const std::wstring english = info.Text(0x0409, L"FileDescription");
    EXPECT_NE(english.find(L"Lumora"), std::wstring::npos) << "names the product";
    for (WORD chinese : {0x0404, 0x0804}) {
      const std::wstring text = info.Text(chinese, L"FileDescription");
      EXPECT_FALSE(text.empty()) << chinese;
      EXPECT_NE(text, english) << chinese;
    }
  }
}

}  // namespace
}  // namespace installer

// The settings file on disk: defaults, creation, replacement, failures.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "temp_folder.h"

namespace {

using testing_win::TempFolder;

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SettingsFile, MissingFileGivesEveryDefault) {
  TempFolder dir;
  const std::wstring ini = (dir.Path() / L"settings.ini").wstring();
  EXPECT_EQ(app::ReadIniValue(ini, "Setting", "Init", "FALSE"), "FALSE");
  EXPECT_EQ(app::ReadIniValue(ini, "Setting", "WindowSize", "352x288"), "352x288");
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(SettingsFile, FirstWriteCreatesTheFileAndLaterWritesKeepOtherLines) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "Setting", "Init", "TRUE"));
  EXPECT_EQ(ReadAll(ini), "[Setting]\r\nInit=TRUE\r\n");
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "ALBUM", "AlbumNum", "1"));
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "Setting", "CaptureDuringTime", ""));
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "Setting", "Init", "FALSE"));
  EXPECT_EQ(ReadAll(ini),
            "[Setting]\r\nInit=FALSE\r\nCaptureDuringTime=\r\n[ALBUM]\r\nAlbumNum=1\r\n");
  // Present but empty is the empty text, not the default.
  EXPECT_EQ(app::ReadIniValue(ini.wstring(), "Setting", "CaptureDuringTime", "15"), "");
  EXPECT_FALSE(std::filesystem::exists(ini.wstring() + L".new"));
}

TEST(SettingsFile, CapacityCutsTheValue) {
  TempFolder dir;
  const std::wstring ini = (dir.Path() / L"settings.ini").wstring();
  ASSERT_TRUE(app::WriteIniValue(ini, "ALBUM", "ShowImageMode", "123456789012"));
  EXPECT_EQ(app::ReadIniValue(ini, "ALBUM", "ShowImageMode", "1", 10), "123456789");
  EXPECT_EQ(app::ReadIniValue(ini, "ALBUM", "ShowImageMode", "1"), "123456789012");
}

TEST(SettingsFile, NeverCreatesFolders) {
  TempFolder dir;
  const auto ini = dir.Path() / L"missing" / L"settings.ini";
  EXPECT_FALSE(app::WriteIniValue(ini.wstring(), "Setting", "Init", "TRUE"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / L"missing"));
  EXPECT_FALSE(app::WriteIniValue(L"", "Setting", "Init", "TRUE"));
}

TEST(SettingsFile, ReadOnlyFileIsLeftAsItWas) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "Setting", "Init", "TRUE"));
  ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(app::WriteIniValue(ini.wstring(), "Setting", "Init", "FALSE"));
  EXPECT_EQ(app::ReadIniValue(ini.wstring(), "Setting", "Init", ""), "TRUE");
  ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SettingsFile, OddTextStaysReadableAndIsKept) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  std::ofstream(ini, std::ios::binary) << "garbage\n[Setting]\nFrameRate = 15 \n;note\n";
  EXPECT_EQ(app::ReadIniValue(ini.wstring(), "Setting", "FrameRate", "30"), "15");
  ASSERT_TRUE(app::WriteIniValue(ini.wstring(), "Setting", "Index", "3"));
  EXPECT_EQ(ReadAll(ini), "garbage\n[Setting]\nFrameRate = 15 \n;note\nIndex=3\n");
}

TEST(Folders, ProgramFolderEndsInABackslashAndHoldsThisProgram) {
  const std::wstring folder = app::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(std::wstring(self).rfind(folder, 0), 0u);
  EXPECT_EQ(std::wstring(self).find(L'\\', folder.size()), std::wstring::npos);
}

TEST(Folders, SettingsLiveInTheDefaultAlbum) {
  EXPECT_EQ(app::SettingsPath(), app::DocumentsFolder() + L"\\Lumora\\Default album\\settings.ini");
  EXPECT_EQ(app::DefaultAlbumFolder(), app::ProductFolder() + L"\\Default album");
}

}  // namespace

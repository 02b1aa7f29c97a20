// The settings file on disk through its named keys: defaults, creation,
// replacement, the room of a read, failures.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/settings_file.h"
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
  EXPECT_EQ(settings::Read(settings::kInit, ini), "FALSE");
  EXPECT_EQ(settings::Read(settings::kWindowSize, ini), "352x288");
  EXPECT_EQ(settings::Read(settings::kDeviceResolution, ini), "352x288");
  EXPECT_EQ(settings::ReadInt(settings::kFrameRate, ini), 30);
  EXPECT_EQ(settings::Read(settings::kImageFormat, ini), "BMP");
  EXPECT_EQ(settings::Read(settings::kCapturedImageFilePath, ini), "");
  EXPECT_EQ(settings::Read(settings::kCapturedVideoFilePath.WithDefault("C:\\Album"), ini),
            "C:\\Album");
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(SettingsFile, FirstWriteCreatesTheFileAndLaterWritesKeepOtherLines) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  ASSERT_TRUE(settings::Write(settings::kInit, "TRUE", ini.wstring()));
  EXPECT_EQ(ReadAll(ini), "[Setting]\r\nInit=TRUE\r\n");
  ASSERT_TRUE(settings::Write(settings::kAlbumNum, "1", ini.wstring()));
  ASSERT_TRUE(settings::Write(settings::kCaptureDuringTime, "", ini.wstring()));
  ASSERT_TRUE(settings::Write(settings::kInit, "FALSE", ini.wstring()));
  EXPECT_EQ(ReadAll(ini),
            "[Setting]\r\nInit=FALSE\r\nCaptureDuringTime=\r\n[ALBUM]\r\nAlbumNum=1\r\n");
  // Present but empty is the empty text, not the default.
  EXPECT_EQ(settings::Read(settings::kCaptureDuringTime, ini.wstring()), "");
  EXPECT_EQ(settings::ReadInt(settings::kCaptureDuringTime, ini.wstring()), 0);
  EXPECT_FALSE(std::filesystem::exists(ini.wstring() + L".new"));
}

TEST(SettingsFile, CapacityCutsTheValue) {
  TempFolder dir;
  const std::wstring ini = (dir.Path() / L"settings.ini").wstring();
  ASSERT_TRUE(settings::Write(settings::kShowImageMode, "123456789012", ini));
  EXPECT_EQ(settings::Read(settings::kShowImageMode, ini), "123456789");
  EXPECT_EQ(settings::Read(settings::kShowImageMode.WithCapacity(128), ini), "123456789012");
  // The album count at start-up has more room than the album tree gives it.
  ASSERT_TRUE(settings::Write(settings::kAlbumNum, "12345678901", ini));
  EXPECT_EQ(settings::ReadInt(settings::kAlbumNum, ini), 123456789);
  EXPECT_EQ(settings::Read(settings::kAlbumNum.WithCapacity(settings::kDefaultCapacity), ini),
            "12345678901");
  // A capture folder keeps a full path of 259 characters.
  const std::string folder = "C:\\" + std::string(256, 'f');
  ASSERT_TRUE(settings::Write(settings::kCapturedImageFilePath, folder + "g", ini));
  EXPECT_EQ(settings::Read(settings::kCapturedImageFilePath, ini), folder);
}

TEST(SettingsFile, NeverCreatesFolders) {
  TempFolder dir;
  const auto ini = dir.Path() / L"missing" / L"settings.ini";
  EXPECT_FALSE(settings::Write(settings::kInit, "TRUE", ini.wstring()));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / L"missing"));
  EXPECT_FALSE(settings::Write(settings::kInit, "TRUE", L""));
}

TEST(SettingsFile, ReadOnlyFileIsLeftAsItWas) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  ASSERT_TRUE(settings::Write(settings::kInit, "TRUE", ini.wstring()));
  ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(settings::Write(settings::kInit, "FALSE", ini.wstring()));
  EXPECT_EQ(settings::Read(settings::kInit, ini.wstring()), "TRUE");
  ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SettingsFile, OddTextStaysReadableAndIsKept) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  std::ofstream(ini, std::ios::binary) << "garbage\n[Setting]\nFrameRate = 15 \n;note\n";
  EXPECT_EQ(settings::Read(settings::kFrameRate, ini.wstring()), "15");
  ASSERT_TRUE(settings::Write(settings::kIndex, "3", ini.wstring()));
  EXPECT_EQ(ReadAll(ini), "garbage\n[Setting]\nFrameRate = 15 \n;note\nIndex=3\n");
}

TEST(SettingsFile, AlbumListInOneWriteAndReadFromOneSnapshot) {
  TempFolder dir;
  const auto ini = dir.Path() / L"settings.ini";
  const settings::IniValues values{{settings::AlbumKey(0).Name(), "C:\\A"},
                                   {settings::AlbumKey(1).Name(), "C:\\B"},
                                   {std::string(settings::kAlbumNum.name), "2"}};
  ASSERT_TRUE(settings::WriteValues(settings::kAlbumSection, values, ini.wstring()));
  EXPECT_EQ(ReadAll(ini), "[ALBUM]\r\nAlbum0=C:\\A\r\nAlbum1=C:\\B\r\nAlbumNum=2\r\n");
  const settings::SettingsSnapshot file(ini.wstring());
  EXPECT_EQ(file.Read(settings::AlbumKey(1)), "C:\\B");
  EXPECT_EQ(file.Read(settings::AlbumKey(2)), "");
  EXPECT_EQ(file.Read(settings::kAlbumNum), "2");
  // A snapshot of a missing file gives every default.
  EXPECT_EQ(settings::SettingsSnapshot(dir.Path() / L"none.ini").Read(settings::kCompress), "0");
}

TEST(Folders, ProgramFolderEndsInABackslashAndHoldsThisProgram) {
  const std::wstring folder = settings::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(std::wstring(self).rfind(folder, 0), 0u);
  EXPECT_EQ(std::wstring(self).find(L'\\', folder.size()), std::wstring::npos);
}

TEST(Folders, SettingsLiveInTheDefaultAlbum) {
  EXPECT_EQ(settings::SettingsPath(),
            settings::DocumentsFolder() + L"\\Lumora\\Default album\\settings.ini");
  EXPECT_EQ(settings::DefaultAlbumFolder(), settings::ProductFolder() + L"\\Default album");
}

}  // namespace

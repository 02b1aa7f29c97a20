// Settings files no earlier run of Lumora wrote: binary garbage, one of
// 10 MB and one listing 5,000 albums. The program starts, shows its albums,
// takes a still into the default album and ends; the file is kept, never
// replaced by an empty one.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "album_window.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

class SettingsFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
    album = lumora.Documents() / L"Lumora" / L"Default album";
  }
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void WriteFile(const std::string& bytes) { lumora.WriteSettings(bytes); }

  // Starts; the tree holds `albums` items with the default album first.
  void StartWithAlbums(LRESULT albums) {
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.tree && windows.list);
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(windows.tree, TVM_GETCOUNT, 0, 0) == albums; }, 30s))
        << ::SendMessageW(windows.tree, TVM_GETCOUNT, 0, 0);
  }

  // The tree's album number `index`, selected, is shown.
  void ShowAlbum(int index, const fs::path& folder) {
    Select(windows.tree, index);
    EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", folder.string()));
  }

  // The default album, selected, is shown; Image writes the first still into it.
  void StillIntoTheDefaultAlbum() {
    Select(windows.tree, 0);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(windows.main, L"Video - 352x288")) != nullptr; }));
    HWND view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    Press(view, IDC_IMAGE_BUTTON);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(album / L"P0000001.BMP"); }));
    EXPECT_TRUE(WaitFor([&] {
      HWND cell = ::GetDlgItem(windows.list, 2000);
      return cell && ::IsWindowVisible(cell);
    }));
    EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  }

  void CloseCleanly() {
    ASSERT_TRUE(lumora.Close());
    EXPECT_EQ(lumora.ExitCode(), 0u);
    EXPECT_FALSE(fs::exists(lumora.SettingsFile().wstring() + L".new"));
  }

  LumoraSession lumora;
  fs::path album;
  AlbumWindows windows;
};

// Bytes of every value, line breaks and brackets among them: read as a file
// without the program's keys, which are added behind the garbage.
TEST_F(SettingsFaults, BinaryGarbageReadsAsDefaultsAndIsKept) {
  std::string garbage(64 * 1024, '\0');
  std::uint32_t seed = 12345;
  for (char& c : garbage) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  WriteFile(garbage);
  StartWithAlbums(1);
  StillIntoTheDefaultAlbum();
  CloseCleanly();
  const auto bytes = ReadAll(lumora.SettingsFile());
  ASSERT_GE(bytes.size(), garbage.size());
  EXPECT_TRUE(std::equal(garbage.begin(), garbage.end(), bytes.begin(),
                         [](char g, unsigned char b) { return static_cast<unsigned char>(g) == b; }));
  EXPECT_EQ(lumora.Setting("Setting", "Init"), "TRUE");
  EXPECT_EQ(lumora.Setting("ALBUM", "Album0"), album.string());
}

// Far beyond any settings file: not read and not rewritten, so nothing the
// program does to it loses what it holds; the program runs on its defaults.
TEST_F(SettingsFaults, ATenMegabyteFileIsLeftAsItIs) {
  std::string text = "[Setting]\r\nWindowSize=640x480\r\n[ALBUM]\r\nShowImageMode=2\r\n";
  while (text.size() < 10u << 20) text += "; a line of a settings file that grew and grew\r\n";
  WriteFile(text);
  StartWithAlbums(1);
  StillIntoTheDefaultAlbum();
  CloseCleanly();
  EXPECT_EQ(ReadAll(lumora.SettingsFile()), std::vector<unsigned char>(text.begin(), text.end()));
}

// 5,000 albums listed: the tree takes the 1,000 it holds, every one of
// whose folder exists; the count is written back.
TEST_F(SettingsFaults, FiveThousandAlbumsFillTheTreeToItsCapacity) {
  const fs::path product = lumora.Documents() / L"Lumora";
  std::string text = "[ALBUM]\r\nAlbumNum=5000\r\n";
  for (int i = 1; i < 5000; ++i) {
    const fs::path folder = product / ("A" + std::to_string(i));
    fs::create_directories(folder);
    text += "Album" + std::to_string(i) + "=" + folder.string() + "\r\n";
  }
  WriteFile(text);
  StartWithAlbums(1000);
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "1000"));
  ShowAlbum(999, product / "A999");
  StillIntoTheDefaultAlbum();
  CloseCleanly();
  for (int i = 1; i < 5000; i += 499) EXPECT_TRUE(fs::is_directory(product / ("A" + std::to_string(i)))) << i;
}

}  // namespace
}  // namespace e2e

// The folder work behind the album commands: pasting files under free names
// without overwriting, going on past a file that cannot be copied, and the
// album paths the settings file can hold.
#include "album/album_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(AlbumStore, PasteKeepsEveryFileAndGoesOnPastFailures) {
  testing_win::TempFolder from;
  testing_win::TempFolder to;
  std::ofstream(from.Path() / "a.jpg") << "new";
  std::ofstream(from.Path() / "b.bmp") << "bee";
  std::ofstream(from.Path() / "locked.avi") << "locked";
  fs::create_directories(from.Path() / "inner");
  std::ofstream(to.Path() / "a.jpg") << "old";
  std::ofstream(to.Path() / "Copy of a.jpg") << "old copy";
  // Held open without sharing: this one cannot be copied.
  HANDLE lock = ::CreateFileW((from.Path() / "locked.avi").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  std::vector<std::wstring> failed;
  album::CopyAlbumFiles(from.Path().wstring(), to.Path().wstring(),
                        [&](const std::wstring& path) { failed.push_back(path); });
  ::CloseHandle(lock);

  EXPECT_EQ(Contents(to.Path() / "a.jpg"), "old");
  EXPECT_EQ(Contents(to.Path() / "Copy of a.jpg"), "old copy");
  EXPECT_EQ(Contents(to.Path() / "Copy of(1)a.jpg"), "new");
  EXPECT_EQ(Contents(to.Path() / "b.bmp"), "bee");
  EXPECT_FALSE(fs::exists(to.Path() / "inner"));  // folders are not album files
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(fs::path(failed[0]).filename(), "locked.avi");
  EXPECT_EQ(Contents(from.Path() / "a.jpg"), "new");  // the source stays as it was
}

TEST(AlbumStore, DeletedAlbumKeepsItsSubfolders) {
  testing_win::TempFolder root;
  const fs::path album = root.Path() / "Trip";
  fs::create_directories(album / "inner");
  std::ofstream(album / "a.jpg") << "x";
  album::RemoveAlbumFolder(album.wstring());
  EXPECT_FALSE(fs::exists(album / "a.jpg"));
  EXPECT_TRUE(fs::exists(album / "inner"));
  fs::remove(album / "inner");
  album::RemoveAlbumFolder(album.wstring());
  EXPECT_FALSE(fs::exists(album));
}

TEST(AlbumStore, OnlyPathsTheSettingsFileKeepsBecomeAlbums) {
  EXPECT_TRUE(album::StorablePath(L"C:\\Docs\\Lumora\\Trip"));
  EXPECT_TRUE(album::StorablePath(L"C:\\" + std::wstring(124, L'a')));   // 127 characters
  EXPECT_FALSE(album::StorablePath(L"C:\\" + std::wstring(125, L'a')));  // 128 would be cut
}

}  // namespace

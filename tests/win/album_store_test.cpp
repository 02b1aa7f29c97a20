// The folder work behind the album commands: pasting files under free names
// without overwriting, going on past a file that cannot be copied, deleted
// albums going to the Recycle Bin, the album list read from the settings
// file and the album paths it can hold.
#include "album/album_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "recycle_bin_probe.h"
#include "settings/settings_file.h"
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

// A content no earlier run left in the Recycle Bin.
std::string UniqueContent(const char* what) {
  return std::string(what) + " of run " + std::to_string(::GetTickCount64()) + "-" +
         std::to_string(::GetCurrentProcessId());
}

TEST(AlbumStore, DeletedAlbumGoesToTheRecycleBinAndKeepsItsSubfolders) {
  testing_win::TempFolder root;
  const fs::path album = root.Path() / "Trip";
  fs::create_directories(album / "inner");
  const std::string first = UniqueContent("a.jpg");
  std::ofstream(album / "a.jpg") << first;
  album::RecycleAlbumFolder(nullptr, album.wstring());
  EXPECT_FALSE(fs::exists(album / "a.jpg"));
  EXPECT_TRUE(fs::exists(album / "inner"));  // a folder inside keeps the album's folder
  EXPECT_EQ(testing_win::TakeFromRecycleBin(L"a.jpg", first), 1);

  fs::remove(album / "inner");
  const std::string second = UniqueContent("b.bmp");
  std::ofstream(album / "b.bmp") << second;
  album::RecycleAlbumFolder(nullptr, album.wstring());
  EXPECT_FALSE(fs::exists(album));
  EXPECT_EQ(testing_win::TakeFromRecycleBin(L"b.bmp", second), 1);  // in the folder that went
  album::RecycleAlbumFolder(nullptr, album.wstring());              // gone already: no question
}

// Writes a settings file whose album list counts `count` albums and names
// the folders of `albums` as Album1, Album2 ...
fs::path AlbumSettings(const fs::path& folder, const std::string& count,
                       const std::vector<fs::path>& albums) {
  const fs::path ini = folder / "settings.ini";
  std::ofstream out(ini, std::ios::binary);
  out << "[ALBUM]\r\nAlbumNum=" << count << "\r\nAlbum0=" << folder.string() << "\r\n";
  for (std::size_t i = 0; i < albums.size(); ++i)
    out << "Album" << i + 1 << "=" << albums[i].string() << "\r\n";
  return ini;
}

TEST(AlbumStore, AlbumCountStopsAtTheListsCapacity) {
  testing_win::TempFolder root;
  std::vector<fs::path> albums;
  for (int i = 0; i < 1004; ++i) {
    albums.push_back(root.Path() / ("A" + std::to_string(i)));
    fs::create_directories(albums.back());
  }
  // A count far beyond the albums there are: read at most 1000 keys, and
  // the count written back is what was found.
  const fs::path few = AlbumSettings(root.Path(), "999999999", {albums[0], albums[1]});
  EXPECT_EQ(
      album::LoadAlbumList(few.wstring()),
      (std::vector<std::wstring>{root.Path().wstring(), albums[0].wstring(), albums[1].wstring()}));
  EXPECT_EQ(settings::Read(settings::kAlbumNum, few.wstring()), "3");

  // More albums than the list holds: the first 1000.
  const fs::path many = AlbumSettings(root.Path(), "1005", albums);
  const std::vector<std::wstring> loaded = album::LoadAlbumList(many.wstring());
  ASSERT_EQ(loaded.size(), 1000u);
  EXPECT_EQ(loaded.back(), albums[998].wstring());
  EXPECT_EQ(settings::Read(settings::kAlbumNum, many.wstring()), "1000");
}

TEST(AlbumStore, OnlyPathsTheSettingsFileKeepsBecomeAlbums) {
  EXPECT_TRUE(album::StorablePath(L"C:\\Docs\\Lumora\\Trip"));
  EXPECT_TRUE(album::StorablePath(L"C:\\" + std::wstring(124, L'a')));   // 127 characters
  EXPECT_FALSE(album::StorablePath(L"C:\\" + std::wstring(125, L'a')));  // 128 would be cut
}

}  // namespace

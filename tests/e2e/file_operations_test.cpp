// The file list's file commands as a user runs them from its menu:
// properties, rename, copy with the clipboard, paste, move into another
// album with its overwrite question, delete into the Recycle Bin, and import
// through the import dialog. The files on disk and the list are checked.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../win/recycle_bin_probe.h"
#include "album_window.h"
#include "lumora_session.h"
#include "resource.h"
#include "test_pictures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// The album's files in the list's order: bitmaps, clips, then JPEG files,
// each kind as the file system lists it.
std::vector<std::wstring> ListOrder(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const wchar_t* pattern : {L"*.bmp", L"*.avi", L"*.jpg"}) {
    const auto kind = NamesInFolderOrder(folder, pattern);
    names.insert(names.end(), kind.begin(), kind.end());
  }
  return names;
}

std::wstring DialogText(HWND dialog, int id) {
  wchar_t text[512] = L"";
  ::GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

class FileOperations : public ::testing::Test {
 protected:
  void SetUp() override {
    album = lumora.Documents() / L"Lumora" / L"Default album";
    trip = lumora.Documents() / L"Lumora" / L"Trip";
    fs::create_directories(album);
    fs::create_directories(trip);
  }

  void Start() {
    lumora.WriteSettings("[ALBUM]\r\nAlbumNum=2\r\nAlbum1=" + trip.string() + "\r\nShowImageMode=1\r\n");
    order = ListOrder(album);
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.list);
    ASSERT_TRUE(WaitFor([&] { return Cell(static_cast<int>(order.size()) - 1) != nullptr; }));
  }

  HWND Cell(int index) const {
    HWND cell = ::GetDlgItem(windows.list, 2000 + index);
    return cell && ::IsWindowVisible(cell) ? cell : nullptr;
  }
  int IndexOf(const std::wstring& name) const {
    return static_cast<int>(std::find(order.begin(), order.end(), name) - order.begin());
  }
  // Selects the named files as the user does, the first with a plain click.
  void Select(std::initializer_list<const wchar_t*> names) {
    bool first = true;
    for (const wchar_t* name : names) {
      ClickCell(Cell(IndexOf(name)), !first);
      first = false;
    }
  }
  void Run(UINT command) { ::PostMessageW(windows.list, WM_COMMAND, command, 0); }
  bool ListCount(int count) const {
    return WaitFor([&] { return Cell(count - 1) && !::GetDlgItem(windows.list, 2000 + count); });
  }

  LumoraSession lumora;
  fs::path album, trip;
  std::vector<std::wstring> order;
  AlbumWindows windows;
};

TEST_F(FileOperations, PropertiesRenameCopyAndPaste) {
  WriteBmp(album / L"a.bmp", Pattern(8, 6), 2048);
  WriteBmp(lumora.Documents() / L"p.bmp", Pattern(16, 12));
  ASSERT_TRUE(ConvertWithLibrary(lumora.Documents() / L"p.bmp", album / L"p.jpg", 1));
  ASSERT_TRUE(ConvertWithLibrary(lumora.Documents() / L"p.bmp", album / L"q.jpg", 1));
  std::ofstream(album / L"r.jpg") << "r";
  std::ofstream(album / L"c.avi") << "no clip";
  Start();

  const auto properties = [&](const wchar_t* name, std::vector<std::wstring> expected) {
    Select({name});
    Run(ID_IMAGE_PROPERTIES);
    HWND dialog = WaitForDialogWith(lumora, IDC_PROP_TYPE);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), std::wstring(name) + L" Properties");
    const int ids[] = {IDC_PROP_TYPE, IDC_PROP_SIZE, IDC_PROP_WIDTH, IDC_PROP_HEIGHT};
    for (size_t i = 0; i < expected.size(); ++i) {
      if (!expected[i].empty()) {
        EXPECT_EQ(DialogText(dialog, ids[i]), expected[i]) << name;
      }
    }
    EXPECT_EQ(DialogText(dialog, IDC_PROP_LOCATION), (album / name).wstring());
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
  };
  properties(L"a.bmp", {L"BMP Image", L"2 KB(2048 bytes)", L"8", L"6"});
  properties(L"p.jpg", {L"JPG Image", L"", L"16", L"12"});
  properties(L"c.avi", {L"AVI Video", L"", L"-1", L"-1"});

  // Three pictures renamed to one name: the last in the list gets it, the
  // ones before it "-1" and "-2".
  std::vector<std::wstring> renamed{L"p.jpg", L"q.jpg", L"r.jpg"};
  std::sort(renamed.begin(), renamed.end(), [&](const auto& a, const auto& b) { return IndexOf(a) < IndexOf(b); });
  std::vector<std::vector<unsigned char>> contents;
  for (const auto& name : renamed) contents.push_back(ReadAll(album / name));
  Select({L"p.jpg", L"q.jpg", L"r.jpg"});
  Run(ID_IMAGE_RENAME);
  AnswerPrompt(lumora, L"Trip");
  EXPECT_TRUE(WaitFor([&] { return fs::exists(album / L"Trip-2.jpg"); }));
  EXPECT_EQ(ReadAll(album / L"Trip.jpg"), contents[2]);
  EXPECT_EQ(ReadAll(album / L"Trip-1.jpg"), contents[1]);
  EXPECT_EQ(ReadAll(album / L"Trip-2.jpg"), contents[0]);
  for (const auto& name : renamed) EXPECT_FALSE(fs::exists(album / name));

  // Copy puts the picture on the clipboard; each paste makes a new name.
  Select({L"a.bmp"});
  Run(ID_ALBUM_COPY);
  EXPECT_TRUE(WaitFor([&] {
    if (!::OpenClipboard(nullptr)) return false;
    HANDLE dib = ::GetClipboardData(CF_DIB);
    const auto* header = dib ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib)) : nullptr;
    const bool ok = header && header->biWidth == 8 && header->biHeight == 6;
    if (header) ::GlobalUnlock(dib);
    ::CloseClipboard();
    return ok;
  }));
  Run(ID_ALBUM_PASTE);
  Run(ID_ALBUM_PASTE);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(album / L"Copy ofCopy ofa.bmp"); }));
  EXPECT_EQ(ReadAll(album / L"Copy ofa.bmp"), ReadAll(album / L"a.bmp"));
  EXPECT_TRUE(ListCount(static_cast<int>(order.size()) + 2));
}

TEST_F(FileOperations, MoveDeleteAndImport) {
  WriteBmp(album / L"a.bmp", Pattern(8, 8));
  const std::string deleted = "b.jpg of run " + std::to_string(::GetTickCount64());
  std::ofstream(album / L"b.jpg") << deleted;
  WriteBmp(trip / L"a.bmp", Pattern(5, 5));
  WriteBmp(lumora.Documents() / L"outside.bmp", Pattern(7, 7));
  Start();
  const auto original = ReadAll(album / L"a.bmp");

  // Moving onto a file of the same name asks; Cancel keeps both, OK replaces.
  const UINT moveToTrip = 50000 + 1;
  for (const int answer : {IDCANCEL, IDOK}) {
    Select({L"a.bmp"});
    Run(moveToTrip);
    const auto ask = lumora.WaitForMessage(L"The file a.bmp already exist! Do you want to overwrite it?");
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask->caption, L"Album");
    LumoraSession::Answer(*ask, answer);
  }
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(album / L"a.bmp"); }));
  EXPECT_EQ(ReadAll(trip / L"a.bmp"), original);
  EXPECT_TRUE(ListCount(1));

  // Delete asks, and the file goes to the Recycle Bin.
  order = ListOrder(album);
  Select({L"b.jpg"});
  Run(ID_IMAGE_DELETE);
  const auto ask = lumora.WaitForMessage(L"Are you sure of deleting the seleted file(s)?");
  ASSERT_TRUE(ask);
  LumoraSession::Answer(*ask, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(album / L"b.jpg"); }));
  EXPECT_EQ(testing_win::TakeFromRecycleBin(L"b.jpg", deleted), 1);  // not gone for good
  EXPECT_TRUE(WaitFor([&] { return !::GetDlgItem(windows.list, 2000); }));

  // Import into the other album through the dialog's album list.
  const ImportDialog import = OpenImportDialog(lumora, windows.list);
  ASSERT_TRUE(import.panel);
  EXPECT_EQ(::IsDlgButtonChecked(import.panel, IDC_IMPORT_TICK), BST_CHECKED);
  HWND albums = ::GetDlgItem(import.panel, IDC_IMPORT_ALBUMS);
  EXPECT_EQ(::SendMessageW(albums, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(albums, CB_GETCURSEL, 0, 0), 0);  // the album on show
  ChooseImport(import, (lumora.Documents() / L"outside.bmp").wstring(), 1);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(trip / L"outside.bmp"); }));
  EXPECT_EQ(ReadAll(trip / L"outside.bmp"), ReadAll(lumora.Documents() / L"outside.bmp"));
}

// A move the target disk refuses leaves the file where it was and says so.
TEST_F(FileOperations, AMoveOntoAReadOnlyDiskKeepsTheFile) {
  if (::GetDriveTypeW(L"R:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no read-only disk R: (needs root)";
  WriteBmp(album / L"a.bmp", Pattern(8, 8));
  lumora.WriteSettings("[ALBUM]\r\nAlbumNum=2\r\nAlbum1=R:\\Album\r\nShowImageMode=1\r\n");
  order = ListOrder(album);
  windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.list);
  ASSERT_TRUE(WaitFor([&] { return Cell(0) != nullptr; }));
  Select({L"a.bmp"});
  Run(50000 + 1);
  ExpectMessage(lumora, L"Failed to move file!");
  EXPECT_TRUE(fs::exists(album / L"a.bmp"));
  EXPECT_FALSE(fs::exists(L"R:\\Album\\a.bmp"));
  EXPECT_NE(Cell(0), nullptr);
}

}  // namespace
}  // namespace e2e

// The album window when the world outside misbehaves: an album on a disk
// that refuses every write, an album folder removed while it is shown, an
// album of 1001 files, paths beyond MAX_PATH and a JPEG file whose header
// declares 20000x20000 pixels. Each ends with the program's own message or
// a safe no-op, and the files that were there are still there.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "resource.h"
#include "test_pictures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kFirstCell = 2000;  // a cell's control id is 2000 + its list index
constexpr UINT kMoveToDefaultAlbum = 50000;

std::vector<std::wstring> FilesIn(const fs::path& folder) {
  std::vector<std::wstring> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::wstring> BitmapOrder(const fs::path& folder) { return NamesInFolderOrder(folder, L"*.bmp"); }

// The most memory the process has had committed (its peak pagefile use).
SIZE_T PeakMemoryBytes(DWORD pid) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 0;
  ::GetProcessMemoryInfo(process, &counters, sizeof counters);
  ::CloseHandle(process);
  return counters.PeakPagefileUsage;
}

constexpr unsigned char kFrameMarker[] = {0xFF, 0xC0};  // a baseline JPEG's frame header

std::wstring EditingTitle(const std::wstring& name) { return L"Lumora - Image Editing (" + name + L")"; }

class AlbumFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const fs::path& folder : {album, trip}) fs::create_directories(folder);
  }
  void TearDown() override {
    if (camera) RunTool(L"simcamctl.exe uninstall");
  }

  // Starts with the default album shown and `second` as album 1.
  void Start(const std::wstring& second, int mode = 1) {
    lumora.WriteSettings("[ALBUM]\r\nAlbumNum=2\r\nAlbum1=" + fs::path(second).string() +
                         "\r\nShowImageMode=" + std::to_string(mode) + "\r\n");
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.tree && windows.list);
    ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", album.string()));
  }
  void ShowAlbum(int index, const fs::path& folder) {
    ClickTreeItem(windows.tree, index);
    ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", folder.string()));
  }

  HWND Cell(int index) const {
    HWND cell = ::GetDlgItem(windows.list, kFirstCell + index);
    return cell && ::IsWindowVisible(cell) ? cell : nullptr;
  }
  HWND WaitForCell(int index) const {
    HWND cell = nullptr;
    WaitFor([&] { return (cell = Cell(index)) != nullptr; });
    return cell;
  }
  void Run(UINT command) const { ::PostMessageW(windows.list, WM_COMMAND, command, 0); }

  // Clicks the list's file number `index` and waits until it is current.
  void Choose(int index, const fs::path& path) {
    HWND cell = WaitForCell(index);
    ASSERT_NE(cell, nullptr) << index;
    ClickCell(cell);
    ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectFile", path.string()));
  }

  // The properties dialog of the current file: its width and height fields.
  std::pair<std::wstring, std::wstring> PictureSizeShown() {
    Run(ID_IMAGE_PROPERTIES);
    HWND dialog = WaitForDialogWith(lumora, IDC_PROP_TYPE);
    if (!dialog) return {};
    const std::pair<std::wstring, std::wstring> size{WindowText(::GetDlgItem(dialog, IDC_PROP_WIDTH)),
                                                     WindowText(::GetDlgItem(dialog, IDC_PROP_HEIGHT))};
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    return size;
  }

  // The capture window's form view, with the simulated camera.
  HWND CaptureViewWithCamera() {
    HWND frame = nullptr;
    WaitFor([&] { return (frame = lumora.FindChild(windows.main, L"Video - 352x288")) != nullptr; });
    return frame ? CaptureView(frame) : nullptr;
  }

  void InstallCamera() {
    ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
    camera = true;
  }

  LumoraSession lumora;
  const fs::path album = lumora.Documents() / L"Lumora" / L"Default album";
  const fs::path trip = lumora.Documents() / L"Lumora" / L"Trip";
  AlbumWindows windows;
  bool camera = false;
};

// Shown like any album; each write onto the disk (a still, rename, paste,
// import, delete) gives its message or leaves things as they are, and the
// disk's picture stays as it was.
TEST_F(AlbumFaults, AnAlbumOnAReadOnlyDiskIsShownAndRefusesEveryWrite) {
  if (::GetDriveTypeW(L"R:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no read-only disk R: (needs root)";
  const fs::path shelf = L"R:\\Album\\shelf.bmp";
  const auto shelfBytes = ReadAll(shelf);
  ASSERT_EQ(shelfBytes.size(), 70u);
  InstallCamera();
  WriteBmp(album / L"a.bmp", Pattern(8, 8));
  WriteBmp(lumora.Documents() / L"outside.bmp", Pattern(6, 6));
  Start(L"R:\\Album");

  Choose(0, album / L"a.bmp");
  Run(ID_ALBUM_COPY);
  ShowAlbum(1, L"R:\\Album");
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", "R:\\Album"));
  Choose(0, shelf);
  EXPECT_EQ(PictureSizeShown(), std::make_pair(std::wstring(L"2"), std::wstring(L"2")));

  Run(ID_IMAGE_RENAME);
  AnswerPrompt(lumora, L"Moved", false);
  ExpectMessage(lumora, L"Rename faild,Please check input!");

  Run(ID_ALBUM_PASTE);
  ExpectMessage(lumora, L"Failed to copy file!");

  Choose(0, shelf);  // the paste cleared the selection
  Run(ID_IMAGE_DELETE);
  const auto ask = lumora.WaitForMessage(L"Are you sure of deleting the seleted file(s)?");
  ASSERT_TRUE(ask);
  LumoraSession::Answer(*ask, IDOK);
  EXPECT_FALSE(lumora.WaitForDialog(1s).has_value());  // a file that stays stays listed, unannounced
  EXPECT_NE(Cell(0), nullptr);

  ImportDialog import = OpenImportDialog(lumora, windows.list);
  ASSERT_TRUE(import.panel);
  ChooseImport(import, lumora.Documents() / L"outside.bmp", 1);
  ExpectMessage(lumora, L"Import file faild!");

  HWND view = CaptureViewWithCamera();
  ASSERT_NE(view, nullptr);
  Press(view, IDC_IMAGE_BUTTON);
  ExpectMessage(lumora, L"Cannot find file R:\\Album\\P0000001.BMP.");

  EXPECT_EQ(FilesIn(L"R:\\Album"), std::vector<std::wstring>{L"shelf.bmp"});
  EXPECT_EQ(ReadAll(shelf), shelfBytes);
  EXPECT_NE(Cell(0), nullptr);
  EXPECT_EQ(Cell(1), nullptr);
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// The folder goes while its files are listed: every command on them says
// the file cannot be found or read, the copies stay where they were, and
// showing the album again gives an empty list.
TEST_F(AlbumFaults, AnAlbumFolderRemovedWhileShownGivesMessagesNotCrashes) {
  WriteBmp(album / L"c.bmp", Pattern(8, 8));
  WriteBmp(trip / L"a.bmp", Pattern(8, 6));
  ASSERT_TRUE(ConvertWithLibrary(trip / L"a.bmp", trip / L"b.jpg", 1));
  const auto kept = ReadAll(album / L"c.bmp");
  Start(trip.wstring());
  Choose(0, album / L"c.bmp");
  Run(ID_ALBUM_COPY);
  ShowAlbum(1, trip);
  ASSERT_NE(WaitForCell(1), nullptr);

  fs::remove_all(trip);
  Choose(0, trip / L"a.bmp");
  Run(ID_IMAGE_PROPERTIES);
  const auto gone = lumora.WaitForMessage(L"Cannot find file " + (trip / L"a.bmp").wstring() + L".");
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->caption, L"Lumora");
  LumoraSession::Answer(*gone, IDOK);

  Run(ID_IMAGE_RENAME);
  AnswerPrompt(lumora, L"Renamed", false);
  ExpectMessage(lumora, L"Rename faild,Please check input!");
  Run(kMoveToDefaultAlbum);
  ExpectMessage(lumora, L"Cannot find file " + (trip / L"a.bmp").wstring() + L".");
  Run(ID_ALBUM_PASTE);
  ExpectMessage(lumora, L"Failed to copy file!");

  DoubleClickCell(WaitForCell(1));  // b.jpg, in the editor
  ExpectMessage(lumora, L"Read picture data failed!");
  EXPECT_EQ(WindowText(windows.main), L"Lumora");

  ShowAlbum(0, album);
  ShowAlbum(1, trip);
  EXPECT_TRUE(WaitFor([&] { return Cell(0) == nullptr; }));
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  EXPECT_FALSE(fs::exists(trip));
  EXPECT_EQ(FilesIn(album), (std::vector<std::wstring>{L"c.bmp", L"settings.ini"}));
  EXPECT_EQ(ReadAll(album / L"c.bmp"), kept);
  ASSERT_TRUE(lumora.Close());
}

// 1001 files: the list takes them all and one more; the editor opened on
// the last of them steps through the 500 pictures around it.
TEST_F(AlbumFaults, AThousandAndOneFilesAreListedAndTheLastOneEdited) {
  for (int i = 0; i < 1001; ++i) WriteBmp(trip / (L"f" + std::to_wstring(1000 + i) + L".bmp"), Pattern(4, 3));
  const std::vector<std::wstring> order = BitmapOrder(trip);
  ASSERT_EQ(order.size(), 1001u);
  Start(trip.wstring(), 2);
  ShowAlbum(1, trip);
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(windows.list, LVM_GETITEMCOUNT, 0, 0) == 1001; }, 60s));

  // Found by name, it is made current; Edit opens it.
  Run(ID_IMAGE_SEARCH);
  AnswerPrompt(lumora, order.back());
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectFile", (trip / order.back()).string()));
  Run(ID_IMAGE_EDIT);
  ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(order.back()); }))
      << testing::PrintToString(WindowText(windows.main));
  ::PostMessageW(windows.main, WM_COMMAND, ID_VIEW_NEXT_FILE, 0);
  ExpectMessage(lumora, L"This is the last file in the dirctory");
  ::PostMessageW(windows.main, WM_COMMAND, ID_VIEW_PREVIOUS_FILE, 0);
  EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(order[999]); }));

  // Back in the album, a pasted copy makes it 1002.
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EDIT_BACK, 0);
  windows = FindAlbumWindows(lumora, windows.main);
  ASSERT_TRUE(windows.list);
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", album.string()));
  ShowAlbum(1, trip);
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(windows.list, LVM_GETITEMCOUNT, 0, 0) == 1001; }, 60s));
  Run(ID_IMAGE_SEARCH);
  AnswerPrompt(lumora, order.front());
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectFile", (trip / order.front()).string()));
  Run(ID_ALBUM_COPY);
  Run(ID_ALBUM_PASTE);
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(windows.list, LVM_GETITEMCOUNT, 0, 0) == 1002; }));
  EXPECT_EQ(ReadAll(trip / (L"Copy of" + order.front())), ReadAll(trip / order.front()));
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// Beyond MAX_PATH: an album name that would make its folder's path too
// long is refused; a file whose name makes its path 300 characters long is
// listed, and each command on it either does its work (where the platform
// takes such paths) or gives its message; its picture is never lost.
TEST_F(AlbumFaults, PathsBeyondMaxPathEndInMessagesOrWorkAndLoseNothing) {
  const fs::path longFile = trip / (std::wstring(300 - trip.wstring().size() - 5, L'n') + L".bmp");
  ASSERT_EQ(longFile.wstring().size(), 300u);
  const std::wstring extended = L"\\\\?\\" + longFile.wstring();
  WriteBmp(extended, Pattern(8, 8));
  const auto longBytes = ReadAll(extended);
  ASSERT_FALSE(longBytes.empty());
  WriteBmp(trip / L"short.bmp", Pattern(8, 6));
  const std::vector<std::wstring> order = BitmapOrder(trip);
  ASSERT_EQ(order.size(), 2u);
  const int longIndex = order[0] == L"short.bmp" ? 1 : 0;
  Start(trip.wstring());

  ::PostMessageW(windows.frame, WM_COMMAND, ID_TREE_CREATE, 0);
  AnswerPrompt(lumora, std::wstring(250, L'a'), false);
  ExpectMessage(lumora, L"Create directory faild! Please check input.");
  ShowAlbum(1, trip);
  ::PostMessageW(windows.frame, WM_COMMAND, ID_TREE_RENAME, 0);
  AnswerPrompt(lumora, std::wstring(250, L'r'), false);
  ExpectMessage(lumora, L"Rename faild,Please check input!");
  EXPECT_EQ(lumora.Setting("ALBUM", "AlbumNum"), "2");
  EXPECT_EQ(lumora.Setting("ALBUM", "Album1"), trip.string());

  ASSERT_NE(WaitForCell(1), nullptr);
  ClickCell(WaitForCell(longIndex));
  Run(ID_IMAGE_RENAME);
  AnswerPrompt(lumora, L"Renamed", false);
  const fs::path renamed = trip / L"Renamed.bmp";
  ASSERT_TRUE(WaitFor([&] {
    return fs::exists(renamed) || lumora.WaitForMessage(L"Rename faild,Please check input!", 50ms);
  }));
  if (fs::exists(renamed)) {
    EXPECT_EQ(ReadAll(renamed), longBytes);
    EXPECT_FALSE(fs::exists(extended));
  } else {
    ExpectMessage(lumora, L"Rename faild,Please check input!");
    EXPECT_EQ(ReadAll(extended), longBytes);
  }
  EXPECT_EQ(BitmapOrder(trip).size(), 2u);

  Choose(1 - longIndex, trip / L"short.bmp");
  EXPECT_EQ(PictureSizeShown(), std::make_pair(std::wstring(L"8"), std::wstring(L"6")));
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// A JPEG file of a few hundred bytes whose frame header claims 20000 x
// 20000 pixels (1.2 GB of rows): the thumbnail stays empty, the editor, the
// print preview and the properties say they cannot read it, each at once
// and without reserving room for such a picture.
TEST_F(AlbumFaults, AJpegDeclaringTwentyThousandSquarePixelsIsRefusedAtOnce) {
  WriteBmp(trip / L"n.bmp", Pattern(8, 8));
  ASSERT_TRUE(ConvertWithLibrary(trip / L"n.bmp", trip / L"huge.jpg", 1));
  auto bytes = ReadAll(trip / L"huge.jpg");
  const auto sof = std::search(bytes.begin(), bytes.end(), std::begin(kFrameMarker), std::end(kFrameMarker));
  ASSERT_NE(sof, bytes.end());
  for (size_t at : {5u, 7u}) {  // height, then width, big-endian
    sof[static_cast<std::ptrdiff_t>(at)] = 20000 >> 8;
    sof[static_cast<std::ptrdiff_t>(at + 1)] = 20000 & 0xFF;
  }
  std::ofstream(trip / L"huge.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  Start(trip.wstring());
  ShowAlbum(1, trip);
  ASSERT_NE(WaitForCell(1), nullptr);
  EXPECT_FALSE(lumora.WaitForDialog(1s).has_value());  // the empty thumbnail is no message

  Choose(1, trip / L"huge.jpg");
  Run(ID_IMAGE_PROPERTIES);
  const auto unread = lumora.WaitForMessage(L"Read information from file faild!");
  ASSERT_TRUE(unread);
  EXPECT_EQ(unread->caption, L"Lumora");
  LumoraSession::Answer(*unread, IDOK);
  HWND properties = WaitForDialogWith(lumora, IDC_PROP_TYPE);
  ASSERT_NE(properties, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(properties, IDC_PROP_WIDTH)), L"-1");
  ::PostMessageW(properties, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(properties); }));

  // The preview shows nothing and its Print does nothing.
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_PRINT, 0);
  HWND preview = lumora.WaitForDialogTitled(L"Print preview");
  ASSERT_NE(preview, nullptr);
  ::PostMessageW(preview, WM_COMMAND, MAKEWPARAM(IDC_PRINT_PREVIEW_PRINT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(preview, IDC_PRINT_PREVIEW_PRINT)));
  ASSERT_TRUE(LumoraSession::Answer({preview, L"", L""}, IDCANCEL));
  EXPECT_FALSE(lumora.WaitForDialog(500ms).has_value());

  DoubleClickCell(WaitForCell(1));
  ExpectMessage(lumora, L"Read picture data failed!");
  EXPECT_EQ(WindowText(windows.main), L"Lumora");
  EXPECT_LT(PeakMemoryBytes(lumora.ProcessId()), 300u << 20);

  // The album's other picture opens as ever.
  DoubleClickCell(WaitForCell(0));
  EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(L"n.bmp"); }));
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EDIT_BACK, 0);
  EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora"; }));
  ASSERT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e

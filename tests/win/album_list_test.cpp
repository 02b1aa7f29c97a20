// The album file list inside the program: which files it lists and in what
// order, the details table, sorting, adding files, and files that are
// truncated or not what their name says.
#include <windows.h>

#include <commctrl.h>
#include <vfw.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "album/file_list_view.h"
#include "album/file_tree_view.h"
#include "box_answerer.h"
#include "gradient_jpeg.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& p, const std::vector<BYTE>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit bitmap file of w x h pixels of one colour, `pad` extra bytes.
std::vector<BYTE> BitmapFile(int w, int h, std::size_t pad = 0) {
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  const std::size_t size = 54 + stride * static_cast<std::size_t>(h) + pad;
  std::vector<BYTE> b(size, 0x80);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<BYTE>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size));
  put32(6, 0);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  b[26] = 1;
  b[27] = 0;
  b[28] = 24;
  b[29] = 0;
  for (std::size_t i = 30; i < 54; ++i) b[i] = 0;
  return b;
}

// An uncompressed clip of `frames` 32 x 24 frames through the AVI service.
void WriteClip(const fs::path& p, int frames) {
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  ASSERT_EQ(::AVIFileOpenW(&file, p.c_str(), OF_CREATE | OF_WRITE, nullptr), 0);
  AVISTREAMINFOW si{};
  si.fccType = streamtypeVIDEO;
  si.dwScale = 1;
  si.dwRate = 15;
  si.dwSuggestedBufferSize = 32 * 24 * 3;
  si.rcFrame = {0, 0, 32, 24};
  PAVISTREAM stream = nullptr;
  ASSERT_EQ(::AVIFileCreateStreamW(file, &stream, &si), 0);
  BITMAPINFOHEADER bih{sizeof bih, 32, 24, 1, 24, BI_RGB, 32 * 24 * 3, 0, 0, 0, 0};
  ASSERT_EQ(::AVIStreamSetFormat(stream, 0, &bih, sizeof bih), 0);
  std::vector<BYTE> pixels(32 * 24 * 3, 0x40);
  for (int i = 0; i < frames; ++i) {
    ::AVIStreamWrite(stream, i, 1, pixels.data(), static_cast<LONG>(pixels.size()), AVIIF_KEYFRAME,
                     nullptr, nullptr);
  }
  ::AVIStreamRelease(stream);
  ::AVIFileRelease(file);
  ::AVIFileExit();
}

using testing_win::BoxAnswerer;

bool WaitForBox(BoxAnswerer& boxes) {
  for (int i = 0; i < 100 && boxes.Texts().empty(); ++i) ::Sleep(20);
  return !boxes.Texts().empty();
}

// A top-level window holding the album tree and the file list.
class AlbumPanes : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_host = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_host, nullptr);
    tree = new CFileTreeView;
    ASSERT_TRUE(tree->CreateView(m_host, 1));
    list = new CFileListView;
    ASSERT_TRUE(list->CreateView(m_host, 2));
    ::MoveWindow(list->m_hWnd, 100, 0, 580, 460, TRUE);
  }
  void TearDown() override { ::DestroyWindow(m_host); }

  void Show(core::DisplayMode mode) {
    ShowWithoutWaiting(mode, folder.Path());
    WaitForThumbnails();
  }
  void ShowWithoutWaiting(core::DisplayMode mode, const fs::path& album) {
    list->ResetList(tree->DisplayMode());
    tree->SetDisplayMode(mode);
    list->ApplyModeStyle(mode);
    list->ShowAlbum(album.wstring(), mode);
  }
  // The thumbnails are made on a thread of the list and handed over through
  // its messages.
  void WaitForThumbnails() {
    for (int i = 0; i < 1000 && list->ThumbnailsPending(); ++i) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    ASSERT_FALSE(list->ThumbnailsPending());
    ::RedrawWindow(list->m_hWnd, nullptr, nullptr,
                   RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
  }
  std::wstring Text(int row, int column) {
    wchar_t text[512] = {};
    ListView_GetItemText(list->m_hWnd, row, column, text, 512);
    return text;
  }
  std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    for (int i = 0; i < list->Count(); ++i)
      names.push_back(list->Cell(i).Path().substr(folder.Path().wstring().size() + 1));
    return names;
  }

  testing_win::TempFolder folder;
  HWND m_host = nullptr;
  CFileTreeView* tree = nullptr;
  CFileListView* list = nullptr;
};

TEST_F(AlbumPanes, ListsBitmapsThenClipsThenJpegsWithTheirDetails) {
  WriteBytes(folder.Path() / L"a.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});  // broken JPEG
  WriteBytes(folder.Path() / L"b.bmp", BitmapFile(64, 48, 1024));
  WriteClip(folder.Path() / L"c.avi", 3);
  WriteBytes(folder.Path() / L"d.jpeg", {1});  // not an album file
  Show(core::DisplayMode::Details);
  ASSERT_EQ(Names(), (std::vector<std::wstring>{L"b.bmp", L"c.avi", L"a.jpg"}));
  EXPECT_EQ(Text(0, 0), L"b.bmp");
  EXPECT_EQ(Text(0, 1), L"10KB");  // 64 x 48 x 3 + 54 + 1024 bytes
  EXPECT_EQ(Text(0, 2), L"BMP Image");
  EXPECT_EQ(Text(1, 2), L"AVI Video");
  EXPECT_EQ(Text(2, 2), L"JPG Image");
  EXPECT_EQ(Text(2, 1), L"0KB");
  EXPECT_EQ(Text(2, 3), (folder.Path() / L"a.jpg").wstring());
  EXPECT_TRUE(list->Cell(0).HasThumbnail());
  EXPECT_TRUE(list->Cell(1).HasThumbnail());   // the clip's first frame
  EXPECT_FALSE(list->Cell(2).HasThumbnail());  // the broken JPEG stays empty
}

TEST_F(AlbumPanes, SortsByNameSizeAndDate) {
  WriteBytes(folder.Path() / L"IMG2.bmp", BitmapFile(8, 8));
  WriteBytes(folder.Path() / L"img10.bmp", BitmapFile(8, 8));
  WriteBytes(folder.Path() / L"big.bmp", BitmapFile(40, 40));
  Show(core::DisplayMode::Large);
  std::vector<std::wstring> smallOnes;
  for (const std::wstring& n : Names()) {
    if (n != L"big.bmp") smallOnes.push_back(n);
  }
  list->Sort(2);  // equal sizes keep their order, the big one goes last
  EXPECT_EQ(Names(), (std::vector<std::wstring>{smallOnes[0], smallOnes[1], L"big.bmp"}));
  list->Sort(1);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"big.bmp", L"img10.bmp", L"IMG2.bmp"}));
  for (int i = 0; i < list->Count(); ++i) {
    EXPECT_EQ(::GetDlgCtrlID(list->Cell(i).m_hWnd), ThumbnailCell::kFirstId + i);
  }
}

TEST_F(AlbumPanes, AddedFilesAppearAndMissingOnesAreReported) {
  Show(core::DisplayMode::Large);
  BoxAnswerer boxes;
  WriteBytes(folder.Path() / L"P0000001.BMP", BitmapFile(16, 12));
  list->ClearSelection();
  list->AddFile((folder.Path() / L"P0000001.BMP").wstring());
  ASSERT_EQ(list->Count(), 1);
  EXPECT_TRUE(list->Cell(0).HasThumbnail());
  EXPECT_TRUE(::IsWindowVisible(list->Cell(0).m_hWnd));
  const std::wstring missing = (folder.Path() / L"gone.bmp").wstring();
  list->AddFile(missing);
  EXPECT_EQ(list->Count(), 1);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], L"Cannot find file " + missing + L".");
}

TEST_F(AlbumPanes, DamagedFilesNeverCrashTheList) {
  BoxAnswerer boxes;
  std::vector<BYTE> truncated = BitmapFile(100, 100);
  truncated.resize(500);  // the header promises 30054 bytes
  WriteBytes(folder.Path() / L"truncated.bmp", truncated);
  std::vector<BYTE> liar = BitmapFile(4, 4);
  liar[18] = 0xFF;  // width far beyond the pixels that follow
  liar[19] = 0xFF;
  WriteBytes(folder.Path() / L"liar.bmp", liar);
  std::vector<BYTE> huge = BitmapFile(4, 4);
  huge[2] = huge[3] = huge[4] = huge[5] = 0xFF;  // file size field of 4 GB
  WriteBytes(folder.Path() / L"huge.bmp", huge);
  WriteBytes(folder.Path() / L"empty.bmp", {});
  WriteBytes(folder.Path() / L"junk.avi", std::vector<BYTE>(300, 0x52));
  WriteBytes(folder.Path() / L"junk.jpg", std::vector<BYTE>(300, 0xD8));
  WriteClip(folder.Path() / L"cut.avi", 20);  // a real clip cut off in its frames
  fs::resize_file(folder.Path() / L"cut.avi", fs::file_size(folder.Path() / L"cut.avi") / 3);
  Show(core::DisplayMode::Large);
  Show(core::DisplayMode::Small);
  ASSERT_EQ(list->Count(), 7);
  for (int i = 0; i < list->Count(); ++i) {
    if (list->Cell(i).Path().find(L"cut.avi") == std::wstring::npos) {
      EXPECT_FALSE(list->Cell(i).HasThumbnail()) << i;
    }
  }
  for (const std::wstring& text : boxes.Texts()) EXPECT_EQ(text, L"Read picture data failed!");
  EXPECT_EQ(boxes.Texts().size(), 6u);  // truncated, huge and empty, in each show
}

// In the details table the selection belongs to the files, wherever a sort
// takes them: a row out of view must not keep the mark of the file that was
// in it before, or the next click copies that stale mark into a cell.
TEST_F(AlbumPanes, SortedDetailsKeepTheSelectionWithTheFiles) {
  const int n = 30;  // more rows than the list shows
  for (int i = 0; i < n; ++i) {
    wchar_t name[16];
    ::swprintf(name, 16, L"f%02d.bmp", i);
    WriteBytes(folder.Path() / name, BitmapFile(8, 8, static_cast<std::size_t>(n - i) * 16));
  }
  Show(core::DisplayMode::Details);
  list->Sort(1);  // f00 .. f29, f00 the largest
  ASSERT_EQ(list->Cell(n - 1).Path(), (folder.Path() / L"f29.bmp").wstring());
  ASSERT_LT(ListView_GetCountPerPage(list->m_hWnd), n / 2);
  // The user picks the last file, the smallest, down at the bottom.
  ListView_SetItemState(list->m_hWnd, n - 1, LVIS_SELECTED, LVIS_SELECTED);
  ListView_EnsureVisible(list->m_hWnd, 0, FALSE);

  list->Sort(2);  // by size: f29 first, f00 last and out of view
  ASSERT_EQ(list->Cell(0).Path(), (folder.Path() / L"f29.bmp").wstring());
  for (int row = 0; row < n; ++row) {
    const bool marked = ListView_GetItemState(list->m_hWnd, row, LVIS_SELECTED) != 0;
    EXPECT_EQ(marked, row == 0) << "row " << row;
    EXPECT_EQ(list->Cell(row).IsSelected(), row == 0) << "cell " << row;
  }
}

// The thread that builds the list is the one that runs every window of the
// program: while a "Read picture data failed!" box of the build is open, a
// capture may end and hand over its file. A hook on this thread does that
// as the first box comes up, inside the box's own message handling.
struct AddDuringBox {
  CFileListView* list = nullptr;
  fs::path path;
  HHOOK hook = nullptr;
  std::vector<void*> reused;  // heap blocks of the size the cell array had
  static inline AddDuringBox* s_current = nullptr;

  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    AddDuringBox* self = s_current;
    if (code == HCBT_ACTIVATE && self && self->hook) {
      wchar_t cls[16] = {};
      ::GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16);
      if (std::wstring(cls) == L"#32770") {
        ::UnhookWindowsHookEx(std::exchange(self->hook, nullptr));
        self->AddNow();
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  void AddNow() {
    const std::size_t cellBytes = sizeof(void*) * static_cast<std::size_t>(list->Count());
    WriteBytes(path, BitmapFile(16, 12));  // a still, just written
    list->AddFile(path.wstring());
    // Whatever the heap gives back now is filled with garbage, so that a
    // cell array let go of while it is being walked is found out at once
    // rather than read as if it were still alive.
    for (int i = 0; i < 200; ++i) {
      void* block = std::malloc(cellBytes);
      if (block) std::memset(block, 0xDD, cellBytes);
      reused.push_back(block);
    }
  }
};

TEST_F(AlbumPanes, FileHandedOverWhileTheListIsBuiltIsAddedAfterIt) {
  for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp", L"d.bmp", L"e.bmp", L"f.bmp"}) {
    std::vector<BYTE> bytes = BitmapFile(8, 8);
    if (name[0] == L'b' || name[0] == L'd' || name[0] == L'f') bytes.resize(40);  // cut short
    WriteBytes(folder.Path() / name, bytes);
  }
  const fs::path added = folder.Path() / L"P0000001.BMP";
  AddDuringBox during;
  during.list = list;
  during.path = added;
  AddDuringBox::s_current = &during;
  BoxAnswerer boxes;
  during.hook = ::SetWindowsHookExW(WH_CBT, AddDuringBox::OnCbt, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(during.hook, nullptr);
  Show(core::DisplayMode::Large);
  if (during.hook) ::UnhookWindowsHookEx(during.hook);
  for (void* block : during.reused) std::free(block);
  AddDuringBox::s_current = nullptr;

  ASSERT_EQ(list->Count(), 7);
  EXPECT_EQ(list->Cell(6).Path(), added.wstring());
  for (int i = 0; i < list->Count(); ++i) {
    const std::wstring name = fs::path(list->Cell(i).Path()).filename().wstring();
    const bool cut = name == L"b.bmp" || name == L"d.bmp" || name == L"f.bmp";
    EXPECT_EQ(list->Cell(i).HasThumbnail(), !cut) << i;
  }
  EXPECT_EQ(boxes.Texts().size(), 3u);
}

// The top-left pixel of a cell's thumbnail.
COLORREF ThumbnailCorner(const ThumbnailCell& cell) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, cell.ThumbnailBitmap());
  const COLORREF c = ::GetPixel(dc, 0, 0);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return c;
}

// Thumbnails are made on a thread of the list. Those still being made for
// an album that was left must not land in the next album's cells, although
// its files have the same names.
TEST_F(AlbumPanes, ThumbnailsOfAnAlbumLeftNeverReachTheNextOne) {
  const fs::path left = folder.Path() / L"left";
  const fs::path shown = folder.Path() / L"shown";
  fs::create_directories(left);
  fs::create_directories(shown);
  std::vector<BYTE> dark = BitmapFile(640, 480);
  std::fill(dark.begin() + 54, dark.end(), BYTE{0x10});
  for (int i = 0; i < 30; ++i) {
    const std::wstring name = L"P" + std::to_wstring(1000000 + i) + L".BMP";
    WriteBytes(left / name, dark);
    WriteBytes(shown / name, BitmapFile(16, 12));  // grey 0x80
  }
  ShowWithoutWaiting(core::DisplayMode::Small, left);
  ShowWithoutWaiting(core::DisplayMode::Small, shown);
  WaitForThumbnails();
  ASSERT_EQ(list->Count(), 30);
  for (int i = 0; i < list->Count(); ++i) {
    ASSERT_TRUE(list->Cell(i).HasThumbnail()) << i;
    EXPECT_EQ(ThumbnailCorner(list->Cell(i)), RGB(0x80, 0x80, 0x80)) << i;
  }
}

// A JPEG file that another program holds locked is reported when its
// thumbnail is made, once: repainting, sorting and scrolling do not ask again.
TEST_F(AlbumPanes, JpegThatCannotBeOpenedIsReportedOnce) {
  ASSERT_TRUE(testing_win::WriteGradientJpeg(folder.Path() / L"a.jpg", 320, 240));
  const fs::path locked = folder.Path() / L"b.jpg";
  ASSERT_TRUE(testing_win::WriteGradientJpeg(locked, 320, 240));
  HANDLE lock = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  BoxAnswerer boxes;
  Show(core::DisplayMode::Large);
  ::CloseHandle(lock);
  list->Sort(1);
  ::SendMessageW(list->m_hWnd, WM_VSCROLL, SB_PAGEDOWN, 0);
  ::SendMessageW(list->m_hWnd, WM_VSCROLL, SB_TOP, 0);
  WaitForThumbnails();
  ASSERT_EQ(list->Count(), 2);
  EXPECT_TRUE(list->Cell(0).HasThumbnail());
  EXPECT_FALSE(list->Cell(1).HasThumbnail());
  EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Can't Open Image File!"});
}

TEST_F(AlbumPanes, ClicksAndSearchBuildTheSelection) {
  for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"})
    WriteBytes(folder.Path() / name, BitmapFile(8, 8));
  Show(core::DisplayMode::Large);
  const auto click = [&](int i, bool ctrl) {
    ::SendMessageW(list->Cell(i).m_hWnd, WM_LBUTTONDOWN,
                   ctrl ? MK_LBUTTON | MK_CONTROL : MK_LBUTTON, 0);
  };
  const auto selected = [&] {
    std::wstring marks;
    for (int i = 0; i < list->Count(); ++i) marks += list->Cell(i).IsSelected() ? L'x' : L'.';
    return marks;
  };
  click(0, false);
  click(2, true);
  EXPECT_EQ(selected(), L"x.x");
  EXPECT_EQ(list->CurrentIndex(), 2);
  click(2, true);  // a Ctrl-click on a selected cell deselects it
  EXPECT_EQ(selected(), L"x..");
  EXPECT_EQ(list->CurrentIndex(), -1);
  click(1, false);  // a plain click starts again
  EXPECT_EQ(selected(), L".x.");
  EXPECT_EQ(list->CurrentIndex(), 1);

  EXPECT_TRUE(list->Search(L"?.BMP"));
  EXPECT_EQ(selected(), L"xxx");
  EXPECT_TRUE(list->Search(L"c*"));
  EXPECT_EQ(selected(), L"..x");
  BoxAnswerer boxes;
  EXPECT_FALSE(list->Search(L"*.jpg"));
  EXPECT_EQ(selected(), L"..x");  // nothing found: the selection stays
  ASSERT_TRUE(WaitForBox(boxes));
  EXPECT_EQ(boxes.Texts()[0], L"Cannot find image *.jpg .");
}

}  // namespace

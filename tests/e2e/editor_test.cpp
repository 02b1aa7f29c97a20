// The picture editor as a user works with it, opened from the album: turns,
// undo, the brightness plug-in with its real dialog, Save and Save As in
// both formats, the question before a changed picture goes, Previous and
// Next through the folder, the full-screen view, the editor's Open, and a
// picture over the size limit. The files on disk are checked pixel by pixel.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "test_pictures.h"
#include "lumora_session.h"
#include "resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kFrameToolBar = 0xE800;
constexpr int kEffectSlider = 1012;  // the effect dialogs' slider
constexpr int kFileNameBox = 1148;   // the file dialogs' name box

// A quarter turn: clockwise, the new (x, y) is the old (y, height - 1 - x).
Picture Turned(const Picture& p, bool clockwise) {
  Picture t{p.height, p.width, std::vector<unsigned char>(p.bgr.size())};
  for (int y = 0; y < t.height; ++y) {
    for (int x = 0; x < t.width; ++x) {
      const unsigned char* from = clockwise ? p.At(y, p.height - 1 - x) : p.At(p.width - 1 - y, x);
      std::copy_n(from, 3, t.At(x, y));
    }
  }
  return t;
}

// The brightness plug-in's arithmetic: the level is the mean byte, the
// factor the slider's position over it as a 32-bit float.
Picture Brightened(const Picture& p, int position) {
  unsigned long long sum = 0;
  for (unsigned char v : p.bgr) sum += v;
  const auto level = static_cast<unsigned>(sum / p.bgr.size());
  const float f = static_cast<float>(position) / static_cast<float>(level);
  Picture out = p;
  for (unsigned char& v : out.bgr) v = static_cast<unsigned char>(std::min(255.0, std::trunc(v * static_cast<double>(f))));
  return out;
}

int Command(HWND main, UINT id) { return ::PostMessageW(main, WM_COMMAND, id, 0); }

bool ButtonEnabled(HWND main, int id) {
  return (::SendMessageW(::GetDlgItem(main, kFrameToolBar), TB_GETSTATE, id, 0) & TBSTATE_ENABLED) != 0;
}

// Types `path` into the open file dialog and confirms it.
void ChooseFile(const LumoraSession& lumora, const fs::path& path) {
  HWND dialog = WaitForDialogWith(lumora, kFileNameBox);
  ASSERT_NE(dialog, nullptr);
  ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.wstring().c_str()));
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
}

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    album = lumora.Documents() / L"Lumora" / L"Default album";
    working = lumora.Documents() / L"Lumora" / L"Edit" / L"temp.bmp";
    fs::create_directories(album);
  }

  void Start() {
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.main && windows.list);
  }

  // Double-clicks the album's first picture; the title names it.
  std::wstring OpenFirstPicture() {
    HWND cell = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (cell = ::GetDlgItem(windows.list, 2000)) && ::IsWindowVisible(cell); }));
    DoubleClickCell(cell);
    std::wstring title;
    EXPECT_TRUE(WaitFor([&] { return (title = WindowText(windows.main)).starts_with(L"Lumora - Image Editing ("); }));
    return title;
  }

  bool WorkingCopyShows(const Picture& p) {
    return WaitFor([&] { return ReadBmp(working) == p; });
  }

  LumoraSession lumora;
  fs::path album, working;
  AlbumWindows windows;
};

TEST_F(Editor, TurnUndoBrightnessAndSavesWriteTheExpectedPixels) {
  const Picture original = Pattern(40, 30);
  WriteBmp(album / L"a.bmp", original);
  Start();
  EXPECT_EQ(OpenFirstPicture(), L"Lumora - Image Editing (a.bmp)");
  ASSERT_TRUE(WorkingCopyShows(original));

  Command(windows.main, ID_IMAGE_ROTATE_CW);
  ASSERT_TRUE(WorkingCopyShows(Turned(original, true)));
  Command(windows.main, ID_EDIT_UNDO);
  ASSERT_TRUE(WorkingCopyShows(original));

  // The plug-in's dialog: while it is open, turns are refused.
  Command(windows.main, ID_TB_EDIT_BRIGHTNESS);
  HWND dialog = WaitForDialogWith(lumora, kEffectSlider);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !ButtonEnabled(windows.main, ID_TB_EDIT_ROTATE_CW); }));
  Command(windows.main, ID_IMAGE_ROTATE_CCW);
  HWND slider = ::GetDlgItem(dialog, kEffectSlider);
  // The dialog is set up (its slider at the picture's level) before the user moves it.
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0) == 255; }));
  ::SendMessageW(dialog, WM_NULL, 0, 0);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, 255);
  RECT track;
  ::GetClientRect(slider, &track);
  const LPARAM end = MAKELPARAM(track.right - 3, track.bottom / 2);
  ::SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, end);
  ::SendMessageW(slider, WM_LBUTTONUP, 0, end);
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  const Picture bright = Brightened(original, 255);
  ASSERT_TRUE(WorkingCopyShows(bright));
  EXPECT_TRUE(WaitFor([&] { return ButtonEnabled(windows.main, ID_TB_EDIT_ROTATE_CW); }));

  Command(windows.main, ID_FILE_SAVE);
  ExpectMessage(lumora, L"Saving complete");
  EXPECT_EQ(ReadBmp(album / L"a.bmp"), bright);
  EXPECT_EQ(fs::file_size(album / L"a.bmp"), 54 + Stride(40) * 30);

  Command(windows.main, ID_FILE_SAVE_AS);
  ChooseFile(lumora, album / L"c.jpg");
  ExpectMessage(lumora, L"Saving complete");
  ASSERT_TRUE(ConvertWithLibrary(album / L"c.jpg", lumora.Documents() / L"c.bmp", 0));
  const Picture jpeg = ReadBmp(lumora.Documents() / L"c.bmp");
  ASSERT_EQ(jpeg.bgr.size(), bright.bgr.size());
  for (size_t i = 0; i < jpeg.bgr.size(); ++i) ASSERT_NEAR(jpeg.bgr[i], bright.bgr[i], 24) << i;

  Command(windows.main, ID_FILE_SAVE_AS);
  ChooseFile(lumora, album / L"d.bmp");
  ExpectMessage(lumora, L"Saving complete");
  EXPECT_EQ(ReadAll(album / L"d.bmp"), ReadAll(album / L"a.bmp"));
  Command(windows.main, ID_FILE_SAVE_AS);
  ChooseFile(lumora, album / L"e.jpeg");
  ExpectMessage(lumora, L"program don't support this format");
  EXPECT_FALSE(fs::exists(album / L"e.jpeg"));

  // A changed picture is not dropped without asking; No keeps the file.
  Command(windows.main, ID_IMAGE_ROTATE_CW);
  ASSERT_TRUE(WorkingCopyShows(Turned(bright, true)));
  ::PostMessageW(windows.main, WM_CLOSE, 0, 0);
  const auto question = lumora.WaitForMessage(L"The modified image hasn't be saved, save it now?");
  ASSERT_TRUE(question);
  EXPECT_EQ(question->caption, L"Lumroa");
  LumoraSession::Answer(*question, IDNO);
  EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora"; }));
  EXPECT_EQ(ReadBmp(album / L"a.bmp"), bright);

  // Yes on the way Back saves the turned picture first.
  windows = FindAlbumWindows(lumora, windows.main);
  EXPECT_EQ(OpenFirstPicture(), L"Lumora - Image Editing (a.bmp)");
  Command(windows.main, ID_TB_EDIT_ROTATE_CCW);
  ASSERT_TRUE(WorkingCopyShows(Turned(bright, false)));
  Command(windows.main, ID_TB_EDIT_BACK);
  const auto again = lumora.WaitForMessage(L"The modified image hasn't be saved, save it now?");
  ASSERT_TRUE(again);
  LumoraSession::Answer(*again, IDYES);
  ExpectMessage(lumora, L"Saving complete");
  EXPECT_TRUE(WaitFor([&] { return ReadBmp(album / L"a.bmp") == Turned(bright, false); }));
}

// The folder's pictures in the order the file system lists them.
std::vector<std::wstring> PicturesOf(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const std::wstring& name : NamesInFolderOrder(folder, L"*.*")) {
    if (name.ends_with(L".bmp") || name.ends_with(L".jpg")) names.push_back(name);
  }
  return names;
}

std::wstring EditingTitle(const std::wstring& name) { return L"Lumora - Image Editing (" + name + L")"; }

TEST_F(Editor, PreviousNextFullScreenAndOpenStayOnTheFolderAndItsTypes) {
  WriteBmp(album / L"p1.bmp", Pattern(20, 10));
  WriteBmp(album / L"p2.bmp", Pattern(30, 10));
  WriteBmp(lumora.Documents() / L"p3.bmp", Pattern(16, 12));
  ASSERT_TRUE(ConvertWithLibrary(lumora.Documents() / L"p3.bmp", album / L"p3.jpg", 1));
  WriteBmp(album / L"x.jpeg", Pattern(8, 8));
  const std::vector<std::wstring> order = PicturesOf(album);
  ASSERT_EQ(order.size(), 3u);
  Start();
  const std::wstring title = OpenFirstPicture();
  auto at = std::find_if(order.begin(), order.end(), [&](const std::wstring& n) { return title == EditingTitle(n); });
  ASSERT_NE(at, order.end()) << testing::PrintToString(title);

  for (; at != order.begin(); --at) {
    Command(windows.main, ID_VIEW_PREVIOUS_FILE);
    ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(*(at - 1)); }));
  }
  Command(windows.main, ID_TB_EDIT_PREV);
  ExpectMessage(lumora, L"This is the first file in the directory");
  for (size_t i = 1; i < order.size(); ++i) {
    Command(windows.main, ID_TB_EDIT_NEXT);
    ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(order[i]); }));
    // The JPEG is shown through a working copy of its size.
    if (order[i] == L"p3.jpg") {
      EXPECT_TRUE(WaitFor([&] { return ReadBmp(working).width == 16; }));
    }
  }
  Command(windows.main, ID_VIEW_NEXT_FILE);
  ExpectMessage(lumora, L"This is the last file in the dirctory");

  // Full screen over the whole display; Left steps back, Escape closes.
  Command(windows.main, ID_VIEW_FULL_SCREEN);
  HWND full = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    full = ::GetForegroundWindow();
    RECT rc{};
    ::GetWindowRect(full, &rc);
    return full != windows.main && rc.left == 0 && rc.top == 0 &&
           rc.right == ::GetSystemMetrics(SM_CXSCREEN) && rc.bottom == ::GetSystemMetrics(SM_CYSCREEN);
  }));
  ::PostMessageW(full, WM_KEYUP, VK_LEFT, 0);
  ::PostMessageW(full, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(full); }));
  EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == EditingTitle(order[order.size() - 2]); }));

  // The editor's Open knows .bmp and .jpg only.
  Command(windows.main, ID_FILE_OPEN);
  ChooseFile(lumora, album / L"x.jpeg");
  ExpectMessage(lumora, L"program don't support this format");
  EXPECT_EQ(WindowText(windows.main), EditingTitle(order[order.size() - 2]));
}

TEST_F(Editor, APictureOverTheSizeLimitCanBeViewedButNotChanged) {
  WriteBmp(album / L"big.bmp", Pattern(801, 600));
  Start();
  HWND cell = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (cell = ::GetDlgItem(windows.list, 2000)) && ::IsWindowVisible(cell); }));
  DoubleClickCell(cell);
  ExpectMessage(lumora, L"The picture is too big to be edited!\nThe picture size(801x600) should be less than 800x600!");
  EXPECT_EQ(WindowText(windows.main), L"Lumora - Image Editing (big.bmp)");
  for (int id = ID_TB_EDIT_BRIGHTNESS; id <= ID_TB_EDIT_ROTATE_CW; ++id) {
    EXPECT_TRUE(WaitFor([&] { return !ButtonEnabled(windows.main, id); })) << id;
  }
  EXPECT_TRUE(ButtonEnabled(windows.main, ID_TB_EDIT_ZOOM_IN));
  Command(windows.main, ID_IMAGE_ROTATE_CW);
  Command(windows.main, ID_TB_EDIT_FIT_IN_WINDOW);
  ::Sleep(300);
  EXPECT_EQ(ReadBmp(working).width, 801);
}

}  // namespace
}  // namespace e2e

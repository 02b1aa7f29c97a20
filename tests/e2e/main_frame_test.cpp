// The main window's modes as a user goes through them: a double click on a
// picture of the album opens the image editing mode (title, toolbar, the
// standing windows closed), Back and a close request return to the standard
// mode with the standing windows at their places, Exit ends the program from
// the editing mode, and a closed album window comes back through its command.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "lumora_session.h"
#include "resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kFrameToolBar = 0xE800;

// An 8 x 8 24-bit bitmap file.
void WriteBitmap(const fs::path& path) {
  std::vector<unsigned char> file(54 + 8 * 8 * 3, 0x80);
  const unsigned char header[54] = {'B', 'M', 54 + 192, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                    40,  0,   0,        0, 8, 0, 0, 0, 8, 0, 0, 0, 1, 0,
                                    24,  0,   0,        0, 0, 0, 192, 0, 0, 0};
  std::copy(std::begin(header), std::end(header), file.begin());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                               static_cast<std::streamsize>(file.size()));
}

HWND ToolBar(HWND main) { return ::GetDlgItem(main, kFrameToolBar); }

LRESULT ButtonState(HWND toolbar, int command) {
  return ::SendMessageW(toolbar, TB_GETSTATE, command, 0);
}

class MainFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    album = lumora.Documents() / L"Lumora" / L"Default album";
    fs::create_directories(album);
    WriteBitmap(album / L"a.bmp");
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.main && windows.list);
    capture = lumora.FindChild(windows.main, L"Video");
    ASSERT_NE(capture, nullptr);
    capturePlace = RectInParent(capture);
    albumPlace = RectInParent(windows.frame);
  }

  // Double-clicks the first picture of the list.
  void OpenFirstPicture() {
    HWND cell = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      cell = ::GetDlgItem(windows.list, 2000);
      return cell && ::IsWindowVisible(cell);
    }));
    DoubleClickCell(cell);
    ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora - Image Editing (a.bmp)"; }))
        << testing::PrintToString(WindowText(windows.main));
  }

  // The standing windows are back where they were, the toolbar hidden.
  void ExpectStandardMode() {
    EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora"; }));
    HWND backCapture = nullptr, backAlbum = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      backCapture = lumora.FindChild(windows.main, L"Video");
      backAlbum = lumora.FindChild(windows.main, L"Album");
      return backCapture && backAlbum;
    }));
    const RECT c = RectInParent(backCapture), a = RectInParent(backAlbum);
    EXPECT_TRUE(::EqualRect(&c, &capturePlace));
    EXPECT_TRUE(::EqualRect(&a, &albumPlace));
    EXPECT_FALSE(::IsWindowVisible(ToolBar(windows.main)));
  }

  LumoraSession lumora;
  fs::path album;
  AlbumWindows windows;
  HWND capture = nullptr;
  RECT capturePlace{}, albumPlace{};
};

TEST_F(MainFrame, DoubleClickEditsThePictureAndBackOrCloseReturnToTheStandingWindows) {
  OpenFirstPicture();
  EXPECT_EQ(lumora.FindChild(windows.main, L"Video"), nullptr);
  EXPECT_EQ(lumora.FindChild(windows.main, L"Album"), nullptr);
  HWND toolbar = ToolBar(windows.main);
  ASSERT_TRUE(::IsWindowVisible(toolbar));
  EXPECT_EQ(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 25);
  EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_EDIT_BACK, 0), 0);
  EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_EDIT_PREV, 0), 21);
  EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_EDIT_PRINT, 0), 24);
  RECT bar{};
  ::GetWindowRect(toolbar, &bar);
  POINT corner{bar.left, bar.top};
  ::ScreenToClient(windows.main, &corner);
  EXPECT_EQ(corner.x, -2);
  EXPECT_EQ(corner.y, -2);

  // Back, on the toolbar.
  ::PostMessageW(windows.main, WM_COMMAND, MAKEWPARAM(ID_TB_EDIT_BACK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar));
  ExpectStandardMode();

  // A close request while editing returns to the standard mode too; in the
  // standard mode it ends the program.
  windows.list = FileList(lumora.FindChild(windows.main, L"Album"));
  OpenFirstPicture();
  ::PostMessageW(windows.main, WM_CLOSE, 0, 0);
  ExpectStandardMode();
  EXPECT_TRUE(lumora.Close());
}

TEST_F(MainFrame, ExitFromTheEditingModeEndsTheProgram) {
  OpenFirstPicture();
  ::PostMessageW(windows.main, WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_TRUE(lumora.WaitForExit());
}

// With a standing window closed, the toolbar offers the button that opens
// it again; with both open it is hidden.
TEST_F(MainFrame, AClosedAlbumWindowComesBackThroughItsCommand) {
  HWND toolbar = ToolBar(windows.main);
  EXPECT_FALSE(::IsWindowVisible(toolbar));
  ::PostMessageW(windows.frame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return lumora.FindChild(windows.main, L"Album") == nullptr; }));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(toolbar) != FALSE; }));
  EXPECT_TRUE(WaitFor([&] { return ButtonState(toolbar, ID_TB_ALBUM_WINDOW) == TBSTATE_ENABLED; }));
  EXPECT_EQ(ButtonState(toolbar, ID_TB_CAPTURE_WINDOW), TBSTATE_PRESSED);  // open: pressed, disabled

  ::PostMessageW(windows.main, WM_COMMAND, MAKEWPARAM(ID_TB_ALBUM_WINDOW, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar));
  HWND back = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (back = lumora.FindChild(windows.main, L"Album")) != nullptr; }));
  const RECT a = RectInParent(back);
  EXPECT_TRUE(::EqualRect(&a, &albumPlace));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(toolbar); }));
  EXPECT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e

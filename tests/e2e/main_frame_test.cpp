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
#include <string>
#include <vector>

#include "album_window.h"
#include "lumora_session.h"
#include "test_pictures.h"
#include "resource.h"
#include "test_clips.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testing_win::WriteClip;

constexpr int kFrameToolBar = 0xE800;

// The capture window's frame: "Video", with or without a camera's size.
HWND CaptureFrame(HWND main) {
  HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
  for (HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr; child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child).starts_with(L"Video")) return child;
  }
  return nullptr;
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
    WriteBmp(album / L"a.bmp", Pattern(8, 8));
    ASSERT_TRUE(WriteClip(album / L"b.avi"));
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.main && windows.list);
    ASSERT_TRUE(WaitFor([&] { return (capture = CaptureFrame(windows.main)) != nullptr; }));
    capturePlace = RectInParent(capture);
    albumPlace = RectInParent(windows.frame);
  }

  // Double-clicks the cell of the list's file number `index`.
  void DoubleClickFile(int index) {
    HWND cell = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      cell = ::GetDlgItem(windows.list, 2000 + index);
      return cell && ::IsWindowVisible(cell);
    }));
    DoubleClickCell(cell);
  }

  // Double-clicks the picture a.bmp.
  void OpenFirstPicture() {
    DoubleClickFile(0);
    ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora - Image Editing (a.bmp)"; }))
        << testing::PrintToString(WindowText(windows.main));
  }

  // The standing windows are back where they were, the toolbar hidden.
  void ExpectStandardMode() {
    EXPECT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora"; }));
    HWND backCapture = nullptr, backAlbum = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      backCapture = CaptureFrame(windows.main);
      backAlbum = lumora.FindChild(windows.main, L"Album");
      return backCapture && backAlbum;
    }));
    // The album window takes its place once both exist.
    EXPECT_TRUE(WaitFor([&] {
      const RECT c = RectInParent(backCapture), a = RectInParent(backAlbum);
      return ::EqualRect(&c, &capturePlace) && ::EqualRect(&a, &albumPlace);
    }));
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
  EXPECT_EQ(CaptureFrame(windows.main), nullptr);
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

// A clip plays in a frame that fills the client area, with the video
// toolbar; Back and a close request both return to the standing windows.
TEST_F(MainFrame, ADoubleClickedClipOpensTheVideoModeUntilBackOrClose) {
  for (int round = 0; round < 2; ++round) {
    DoubleClickFile(1);
    HWND video = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (video = lumora.FindChild(windows.main, L"Playing Video (b.avi)")) != nullptr;
    }));
    EXPECT_EQ(lumora.FindChild(windows.main, L"Album"), nullptr);
    EXPECT_FALSE(::GetWindowLongPtrW(video, GWL_STYLE) & WS_CAPTION);
    RECT client{}, frame{};
    ::GetClientRect(::GetParent(video), &client);
    ::GetWindowRect(video, &frame);
    EXPECT_EQ(frame.right - frame.left, client.right);
    EXPECT_EQ(frame.bottom - frame.top, client.bottom);
    HWND toolbar = ToolBar(windows.main);
    EXPECT_TRUE(::IsWindowVisible(toolbar));
    EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_VIDEO_BACK, 0), 0);
    EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_VIDEO_NEXT, 0), 5);

    if (round == 0) {
      ::PostMessageW(windows.main, WM_COMMAND, MAKEWPARAM(ID_TB_VIDEO_BACK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(toolbar));
    } else {
      ::PostMessageW(windows.main, WM_CLOSE, 0, 0);
    }
    ExpectStandardMode();
    EXPECT_FALSE(::IsWindow(video));
    windows.list = FileList(lumora.FindChild(windows.main, L"Album"));
  }
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
  // An open window's button: pressed and disabled.
  EXPECT_TRUE(WaitFor([&] { return ButtonState(toolbar, ID_TB_CAPTURE_WINDOW) == TBSTATE_PRESSED; }));

  ::PostMessageW(windows.main, WM_COMMAND, MAKEWPARAM(ID_TB_ALBUM_WINDOW, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar));
  HWND back = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (back = lumora.FindChild(windows.main, L"Album")) != nullptr; }));
  // The toolbar goes once the window has taken its place.
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(toolbar); }));
  const RECT a = RectInParent(back);
  EXPECT_TRUE(::EqualRect(&a, &albumPlace));
  EXPECT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e

// The main window's command states, as its menus and toolbar show them, in
// the standard and the image editing mode.
#include "editor/main_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/app.h"
#include "box_answerer.h"
#include "temp_folder.h"

#include "resource.h"

namespace {

base::CommandState StateOf(CMainFrame& frame, UINT id) {
  base::CommandState state{id};
  frame.RouteCommandState(state);
  return state;
}

// Whether the toolbar is shown (the frame itself stays hidden here).
bool ToolbarShown(CMainFrame& frame) {
  return (::GetWindowLongPtrW(frame.m_wndToolBar.m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The toolbar as the program's idle time leaves it.
BYTE ButtonState(CMainFrame& frame, UINT id) {
  frame.OnIdleUpdate();
  return static_cast<BYTE>(::SendMessageW(frame.m_wndToolBar.m_hWnd, TB_GETSTATE, id, 0));
}

TEST(MainFrameStates, StandingWindowButtonsAndTheEditingCommandsFollowTheMode) {
  auto* frame = new CMainFrame;
  ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  base::CWinApp::Get()->m_pMainWnd = frame;  // the running program's main window

  // Standard mode: both standing windows count as open, so their buttons
  // are pressed and disabled; the toolbar's menu entry is checked.
  EXPECT_EQ(ButtonState(*frame, ID_TB_CAPTURE_WINDOW), TBSTATE_PRESSED);
  EXPECT_EQ(ButtonState(*frame, ID_TB_ALBUM_WINDOW), TBSTATE_PRESSED);
  EXPECT_EQ(ButtonState(*frame, ID_TB_EDIT_MODE), TBSTATE_ENABLED);
  EXPECT_TRUE(StateOf(*frame, ID_VIEW_TOOLBAR).checked);
  EXPECT_TRUE(StateOf(*frame, ID_APP_EXIT).enabled);
  EXPECT_TRUE(StateOf(*frame, ID_HELP_HELP).enabled);
  frame->WindowClosed(HostedWindow::kAlbum);
  EXPECT_EQ(ButtonState(*frame, ID_TB_ALBUM_WINDOW), TBSTATE_ENABLED);
  EXPECT_TRUE(ToolbarShown(*frame));  // it offers the way back

  // Editing mode without a picture: the editing toolbar; Back works, the
  // commands that need the editor's picture are not offered.
  frame->EnterEditModeEmpty();
  EXPECT_EQ(frame->Mode(), FrameMode::kEditing);
  EXPECT_EQ(ButtonState(*frame, ID_TB_EDIT_BACK), TBSTATE_ENABLED);
  EXPECT_FALSE(StateOf(*frame, ID_TB_EDIT_BRIGHTNESS).enabled);
  EXPECT_EQ(::SendMessageW(frame->m_wndToolBar.m_hWnd, TB_BUTTONCOUNT, 0, 0), 25);
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
  EXPECT_FALSE(StateOf(*frame, ID_VIEW_TOOLBAR).checked);
  EXPECT_FALSE(ToolbarShown(*frame));

  ::DestroyWindow(frame->m_hWnd);  // deletes the frame
}

// A w x h 24-bit bitmap file, mid grey.
void WriteBitmapFile(const std::filesystem::path& path, int w, int h) {
  const std::size_t stride = static_cast<std::size_t>((w * 3 + 3) & ~3);
  std::vector<char> file(54 + stride * static_cast<std::size_t>(h), 0x70);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
  BITMAPINFOHEADER ih{sizeof ih, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(file.data(), &fh, sizeof fh);
  std::memcpy(file.data() + 14, &ih, sizeof ih);
  std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
}

// The middle of the brightness button's image (the fourth 32 x 32 image).
COLORREF BrightnessImagePixel(HBITMAP bitmap) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  const COLORREF colour = ::GetPixel(dc, 3 * 32 + 16, 16);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return colour;
}

COLORREF ResourceImagePixel(UINT bitmapId) {
  HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  const COLORREF colour = BrightnessImagePixel(bitmap);
  ::DeleteObject(bitmap);
  return colour;
}

// A picture over the size limit is shown with the greyed tool images and the
// five effects and two turns disabled; the next editable one brings both back.
TEST(MainFrameStates, ThePictureSizeChoosesTheEditingToolImagesAndStates) {
  ASSERT_NE(ResourceImagePixel(IDB_EDIT_TOOLS), ResourceImagePixel(IDB_EDIT_TOOLS_BIG));
  testing_win::TempFolder folder;
  WriteBitmapFile(folder.Path() / L"big.bmp", 801, 600);
  WriteBitmapFile(folder.Path() / L"small.bmp", 800, 600);
  auto* frame = new CMainFrame;
  ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  base::CWinApp::Get()->m_pMainWnd = frame;
  testing_win::BoxAnswerer boxes;
  const UINT changes[] = {ID_TB_EDIT_BRIGHTNESS, ID_TB_EDIT_CONTRAST, ID_TB_EDIT_SHARPNESS,
                          ID_TB_EDIT_MOSAIC,     ID_TB_EDIT_CONCAVECON, ID_TB_EDIT_ROTATE_CCW,
                          ID_TB_EDIT_ROTATE_CW,  ID_IMAGE_ROTATE_CW,    ID_IMAGE_MOSAIC};

  frame->EnterEditMode((folder.Path() / L"big.bmp").wstring());
  EXPECT_EQ(boxes.Texts().size(), 1u);  // the e2e tests read its text
  EXPECT_EQ(BrightnessImagePixel(frame->m_bmpModeTools.Get()), ResourceImagePixel(IDB_EDIT_TOOLS_BIG));
  for (UINT id : changes) EXPECT_FALSE(StateOf(*frame, id).enabled) << id;
  EXPECT_EQ(ButtonState(*frame, ID_TB_EDIT_ROTATE_CW) & TBSTATE_ENABLED, 0);
  EXPECT_TRUE(StateOf(*frame, ID_VIEW_ZOOM_IN).enabled);
  EXPECT_FALSE(StateOf(*frame, ID_EDIT_UNDO).enabled);

  frame->EnterEditMode((folder.Path() / L"small.bmp").wstring());
  EXPECT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(BrightnessImagePixel(frame->m_bmpModeTools.Get()), ResourceImagePixel(IDB_EDIT_TOOLS));
  for (UINT id : changes) EXPECT_TRUE(StateOf(*frame, id).enabled) << id;
  frame->RotateImage(true);
  EXPECT_TRUE(StateOf(*frame, ID_EDIT_UNDO).enabled);
  frame->m_bModified = false;  // no save question at the end of this test
  ::DestroyWindow(frame->m_hWnd);
}

}  // namespace

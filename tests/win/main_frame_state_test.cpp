// The main window's command states, as its menus and toolbar show them, in
// the standard and the image editing mode.
#include "editor/main_frame.h"

#include <gtest/gtest.h>

#include "base/app.h"

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

}  // namespace

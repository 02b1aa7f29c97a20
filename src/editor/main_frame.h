#pragma once
// The program's main window: a multiple-document frame holding the capture
// and album windows, with a toolbar (hidden in the standard mode), a
// one-pane status bar and the painted MDI client background.
#include <string>

#include "base/frame.h"
#include "base/handles.h"
#include "base/toolbar.h"
#include "editor/mdi_client_back.h"

class CMainFrame : public base::CMDIFrameWnd {
 public:
  CMainFrame();

  bool PreTranslateMessage(MSG* msg) override;

  // A standing window has closed: its toolbar button becomes plain again.
  void OnCaptureWindowClosed();
  void OnAlbumWindowClosed();

  base::CToolBar m_wndToolBar;
  base::CStatusBar m_wndStatusBar;
  CMdiClientBack m_wndMDIClientBack;
  base::Bitmap m_bmpStandardTools;
  BOOL m_bToolBarShown = FALSE;
  BOOL m_bEditMode = FALSE;
  BOOL m_bVideoMode = FALSE;
  BOOL m_bCaptureOpen = FALSE;
  BOOL m_bAlbumOpen = FALSE;
  std::wstring m_strIniPath;

 protected:
  const base::MessageMap* GetMessageMap() const override;
  bool OnCreateFrame() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Everything the program does with COM on this thread happens while the
  // frame lives.
  base::ComScope m_com;
  UINT m_uSingleInstanceMessage;

  bool CreateBars();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  LRESULT OnMenuSelect(WPARAM, LPARAM);
  void OnAppExit();
  void OnAppAbout();
  void OnHelp();
};

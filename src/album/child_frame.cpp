#include "album/child_frame.h"

#include "app/lumora_app.h"
#include "editor/main_frame.h"

void CChildFrame::PostNcDestroy() {
  CMainFrame* main = theApp.MainFrame();
  if (g_pCaptureFrame == this) {
    g_pCaptureFrame = nullptr;
    if (main) main->OnCaptureWindowClosed();
  }
  if (g_pAlbumFrame == this) {
    g_pAlbumFrame = nullptr;
    if (main) main->OnAlbumWindowClosed();
  }
  CMDIChildWnd::PostNcDestroy();
}

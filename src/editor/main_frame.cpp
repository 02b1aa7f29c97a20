#include "editor/main_frame.h"

#include <commctrl.h>

#include "app/lumora_app.h"
#include "app/settings.h"
#include "base/dialog.h"
#include "base/strings.h"
#include "editor/help_command.h"
#include "res/resource.h"

namespace {

const UINT kToolBarId = 0xE800;    // the framework's standard toolbar id
const UINT kStatusBarId = 0xE801;  // and status bar id
const COLORREF kKeyColour = RGB(192, 192, 192);
const COLORREF kBackground = RGB(181, 222, 237);
const int kMinTrackWidth = 600;
const int kMinTrackHeight = 350;

}  // namespace

CMainFrame::CMainFrame()
    : m_strIniPath(app::SettingsPath()),
      m_uSingleInstanceMessage(::RegisterWindowMessageW(kSingleInstanceMessage)) {}

const base::MessageMap* CMainFrame::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CMainFrame::OnSize>(WM_SIZE),
      base::MessageEntry<&CMainFrame::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
      base::MessageEntry<&CMainFrame::OnMenuSelect>(WM_MENUSELECT),
      base::CommandEntry<&CMainFrame::OnAppExit>(ID_APP_EXIT),
      base::CommandEntry<&CMainFrame::OnAppAbout>(ID_APP_ABOUT),
      base::CommandEntry<&CMainFrame::OnHelp>(ID_TB_HELP),
      base::CommandEntry<&CMainFrame::OnHelp>(ID_HELP_HELP),
  };
  static const base::MessageMap kMap{CMDIFrameWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_uSingleInstanceMessage && message != 0) {
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    return 0;
  }
  return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}

// The hidden toolbar with the standard buttons and the status bar.
bool CMainFrame::CreateBars() {
  const DWORD style = WS_CHILD | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS;
  if (!m_wndToolBar.Create(m_hWnd, style, kToolBarId) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
    return false;
  }
  if (!m_wndStatusBar.Create(m_hWnd, kStatusBarId)) return false;
  m_wndStatusBar.SetText(base::LoadResString(IDS_IDLE_MESSAGE).c_str());
  m_hWndTopBar = m_wndToolBar.m_hWnd;
  m_hWndBottomBar = m_wndStatusBar.m_hWnd;
  return true;
}

bool CMainFrame::OnCreateFrame() {
  if (!CreateBars()) return false;

  m_bmpStandardTools.Reset(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_STANDARD_TOOLS),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!m_bmpStandardTools) return false;
  base::ReplaceBitmapColour(m_bmpStandardTools.Get(), kKeyColour, ::GetSysColor(COLOR_BTNFACE));
  m_wndToolBar.SetBitmap(m_bmpStandardTools.Get());

  m_wndToolBar.SetButtonState(ID_TB_CAPTURE_WINDOW, TBSTATE_PRESSED);
  m_wndToolBar.SetButtonState(ID_TB_ALBUM_WINDOW, TBSTATE_PRESSED);
  m_bCaptureOpen = m_bAlbumOpen = m_bToolBarShown = TRUE;

  m_wndMDIClientBack.SubclassWindow(m_hWndMDIClient);
  m_wndMDIClientBack.SetBackColor(kBackground);
  return true;
}

bool CMainFrame::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_LBUTTONDOWN && (g_pCaptureFrame || g_pAlbumFrame)) return false;
  return CMDIFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::OnCaptureWindowClosed() {
  m_bCaptureOpen = FALSE;
  m_wndToolBar.SetButtonState(ID_TB_CAPTURE_WINDOW, TBSTATE_ENABLED);
}

void CMainFrame::OnAlbumWindowClosed() {
  m_bAlbumOpen = FALSE;
  m_wndToolBar.SetButtonState(ID_TB_ALBUM_WINDOW, TBSTATE_ENABLED);
}

// The album window keeps filling the room beside the capture window.
LRESULT CMainFrame::OnSize(WPARAM wParam, LPARAM lParam) {
  CMDIFrameWnd::OnSize(wParam, lParam);
  if (g_pCaptureFrame && g_pAlbumFrame) {
    RECT capture;
    RECT client;
    ::GetWindowRect(g_pCaptureFrame->m_hWnd, &capture);
    ::GetClientRect(m_hWnd, &client);
    const int captureWidth = capture.right - capture.left;
    ::MoveWindow(g_pAlbumFrame->m_hWnd, captureWidth, 0, client.right - captureWidth - 3,
                 client.bottom - 64, TRUE);
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
  return 0;
}

// Menu prompts in the status bar: the text before "\n" of the command's
// string; the idle text when the menu closes.
LRESULT CMainFrame::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  std::wstring text;
  if (flags == 0xFFFF && lParam == 0) {
    text = base::LoadResString(IDS_IDLE_MESSAGE);
  } else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
    text = base::LoadResString(id);
    text = text.substr(0, text.find(L'\n'));
  }
  m_wndStatusBar.SetText(text.c_str());
  return 0;
}

void CMainFrame::OnAppExit() { DestroyWindow(); }

void CMainFrame::OnAppAbout() { base::CDialog(IDD_ABOUTBOX, m_hWnd).DoModal(); }

void CMainFrame::OnHelp() {
  editor::ShowHelp(g_strProgramFolder, ::GetUserDefaultUILanguage(), editor::StartProcess);
}

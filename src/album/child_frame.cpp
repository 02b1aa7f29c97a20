#include "album/child_frame.h"

#include "album/file_list_view.h"
#include "album/file_tree_view.h"
#include "app/lumora_app.h"
#include "base/strings.h"
#include "res/resource.h"

namespace {

const UINT kToolBarId = 0xE800;
const UINT kSplitterId = 0xE900;
const UINT kListId = 0xE901;
const COLORREF kKeyColour = RGB(192, 192, 192);
const COLORREF kClientBlue = RGB(181, 222, 237);

}  // namespace

const base::MessageMap* CChildFrame::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CChildFrame::OnSize>(WM_SIZE),
      base::MessageEntry<&CChildFrame::OnNotify>(WM_NOTIFY),
      base::MessageEntry<&CChildFrame::OnEraseBkgnd>(WM_ERASEBKGND),
      base::CommandEntry<&CChildFrame::OnNewAlbum>(ID_ALBUM_NEW),
      base::CommandEntry<&CChildFrame::OnCycleDisplayMode>(ID_ALBUM_DISPLAY_MODE),
      base::CommandRangeEntry<&CChildFrame::OnBrowse>(ID_BROWSE_LARGE, ID_BROWSE_LARGE),
      base::CommandRangeEntry<&CChildFrame::OnBrowse>(ID_BROWSE_DETAIL, ID_BROWSE_DETAIL),
      base::CommandRangeEntry<&CChildFrame::OnBrowse>(ID_BROWSE_SMALL, ID_BROWSE_SMALL),
      base::CommandRangeEntry<&CChildFrame::OnMainFrameCommand>(ID_TB_EMAIL, ID_TB_EMAIL),
      base::CommandRangeEntry<&CChildFrame::OnMainFrameCommand>(ID_TB_PRINT, ID_TB_PRINT),
      base::CommandRangeEntry<&CChildFrame::OnMainFrameCommand>(ID_TB_HELP, ID_TB_HELP),
      base::CommandEntry<&CChildFrame::OnDeleteKey>(ID_ALBUM_DELETE_FILE),
  };
  static const base::MessageMap kMap{CMDIChildWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

bool CChildFrame::OnCreateClient() {
  if (g_bPlainLayout) return CMDIChildWnd::OnCreateClient();
  m_bAlbumLayout = true;
  return CreateAlbumLayout();
}

// Toolbar 151 with bitmap 162 on top; below it the tree (the frame's view)
// and the file list side by side.
bool CChildFrame::CreateAlbumLayout() {
  const DWORD style = WS_CHILD | WS_VISIBLE | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
  if (!m_wndToolBar.Create(m_hWnd, style, kToolBarId) ||
      !m_wndToolBar.LoadToolBar(IDR_ALBUM_TOOLBAR)) {
    return false;
  }
  m_bmpTools.Reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(IDB_ALBUM_TOOLS),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (m_bmpTools) {
    base::ReplaceBitmapColour(m_bmpTools.Get(), kKeyColour, ::GetSysColor(COLOR_BTNFACE));
    m_wndToolBar.SetBitmap(m_bmpTools.Get());
  }
  ::SendMessageW(m_wndToolBar.m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STYLE;
  info.fsStyle = BTNS_BUTTON | BTNS_DROPDOWN;
  ::SendMessageW(m_wndToolBar.m_hWnd, TB_SETBUTTONINFOW, ID_ALBUM_DISPLAY_MODE,
                 reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(m_wndToolBar.m_hWnd, TB_AUTOSIZE, 0, 0);

  if (!m_wndSplitter.Create(m_hWnd, kSplitterId)) return false;
  base::CView* tree = GetActiveView();
  if (!tree) return false;
  tree->SetParentFrame(this);
  if (!tree->CreateView(m_wndSplitter.m_hWnd, 0xE900)) {
    SetActiveView(nullptr);
    delete tree;
    return false;
  }
  auto* list = new CFileListView(m_pHost);
  list->SetParentFrame(this);
  if (!list->CreateView(m_wndSplitter.m_hWnd, kListId)) {
    delete list;
    return false;
  }
  m_pList = list;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  const int listWidth = rc.right / 2 - kTreeWidth;
  ::MoveWindow(list->m_hWnd, kTreeWidth, 0, listWidth > 0 ? listWidth : 0, 50, FALSE);
  m_wndSplitter.SetPanes(tree->m_hWnd, list->m_hWnd, kTreeWidth);
  LayoutAlbum();
  return true;
}

void CChildFrame::LayoutAlbum() {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  int top = 0;
  if (m_wndToolBar.m_hWnd) {
    ::SendMessageW(m_wndToolBar.m_hWnd, TB_AUTOSIZE, 0, 0);
    RECT tb;
    ::GetWindowRect(m_wndToolBar.m_hWnd, &tb);
    top = tb.bottom - tb.top;
  }
  if (m_wndSplitter.m_hWnd) {
    ::MoveWindow(m_wndSplitter.m_hWnd, 0, top, rc.right, rc.bottom > top ? rc.bottom - top : 0,
                 TRUE);
  }
}

LRESULT CChildFrame::OnSize(WPARAM wParam, LPARAM lParam) {
  if (!m_bAlbumLayout) return CMDIChildWnd::OnSize(wParam, lParam);
  const LRESULT r = Default();
  LayoutAlbum();
  return r;
}

LRESULT CChildFrame::OnNotify(WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->hwndFrom == m_wndToolBar.m_hWnd && header->code == static_cast<UINT>(TBN_DROPDOWN)) {
    ShowModeDropDown();
    return TBDDRET_DEFAULT;
  }
  if (base::AnswerToolTip(lParam)) return 0;
  return Default();
}

void CChildFrame::ShowModeDropDown() {
  RECT rc{};
  ::SendMessageW(m_wndToolBar.m_hWnd, TB_GETRECT, ID_ALBUM_DISPLAY_MODE,
                 reinterpret_cast<LPARAM>(&rc));
  ::MapWindowPoints(m_wndToolBar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  base::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ALBUM_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 1) : nullptr;
  if (popup)
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, rc.left, rc.bottom, 0, m_hWnd, nullptr);
}

void CChildFrame::OnNewAlbum() {
  if (g_pFileTreeView) g_pFileTreeView->OnCmdMsg(ID_TREE_CREATE);
}

void CChildFrame::OnCycleDisplayMode() {
  if (g_pFileTreeView && m_pList) {
    m_pList->ChangeDisplayMode(core::NextDisplayMode(g_pFileTreeView->DisplayMode()));
  }
}

void CChildFrame::OnBrowse(UINT id) {
  if (!m_pList) return;
  m_pList->ChangeDisplayMode(id == ID_BROWSE_DETAIL  ? core::DisplayMode::Details
                             : id == ID_BROWSE_SMALL ? core::DisplayMode::Small
                                                     : core::DisplayMode::Large);
}

// Help, print and e-mail belong to the main window (a WM_COMMAND to it
// would come back here through the active child).
void CChildFrame::OnMainFrameCommand(UINT id) {
  if (m_pHost) m_pHost->RunMainCommand(id);
}

void CChildFrame::OnDeleteKey() {
  const HWND focus = ::GetFocus();
  if (g_pFileTreeView && focus == g_pFileTreeView->m_hWnd) {
    g_pFileTreeView->OnDeleteAlbum();
  } else if (m_pList && (focus == m_pList->m_hWnd || ::IsChild(m_pList->m_hWnd, focus))) {
    m_pList->OnCmdMsg(ID_IMAGE_DELETE);
  }
}

void CChildFrame::MakeBorderless() {
  m_bBorderless = true;
  base::RemoveWindowStyle(m_hWnd, WS_CAPTION | WS_THICKFRAME);
}

LRESULT CChildFrame::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  if (!m_bBorderless) return Default();
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  base::Brush brush(::CreateSolidBrush(kClientBlue));
  ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.Get());
  return TRUE;
}

void CChildFrame::PostNcDestroy() {
  if (m_bBorderless && m_pHost) m_pHost->WindowClosed(HostedWindow::kVideo);
  if (g_pCaptureFrame == this) {
    g_pCaptureFrame = nullptr;
    if (m_pHost) m_pHost->WindowClosed(HostedWindow::kCapture);
  }
  if (g_pAlbumFrame == this) {
    g_pAlbumFrame = nullptr;
    if (m_pHost) m_pHost->WindowClosed(HostedWindow::kAlbum);
  }
  CMDIChildWnd::PostNcDestroy();
}

#include "base/frame.h"

#include "base/app.h"

namespace base {
namespace {

const wchar_t kFrameClass[] = L"LumoraFrame";
const wchar_t kChildClass[] = L"LumoraChildFrame";
const wchar_t kViewClass[] = L"LumoraView";
const UINT kFirstChildId = 0xFF00;

bool RegisterFrameClass(const wchar_t* name, UINT iconId, WNDPROC proc) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(inst, name, &wc)) return true;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hIcon = ::LoadIconW(inst, MAKEINTRESOURCEW(iconId));
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

bool CView::CreateView(HWND parent, UINT id) {
  return CreateEx(0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CView::PostNcDestroy() {
  // The frame outlives its children's windows: forget this view there.
  if (m_pFrame && m_pFrame->GetActiveView() == this) m_pFrame->SetActiveView(nullptr);
  delete this;
}

bool CFormView::CreateView(HWND parent, UINT id) {
  if (!CreateFromTemplate(m_templateId, parent)) return false;
  ::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(id));
  ::ShowWindow(m_hWnd, SW_SHOW);
  return true;
}

bool CFormView::PreTranslateMessage(MSG* msg) {
  // Dialog keys (Tab, arrows, Enter) for the form's controls, but not the
  // accelerator keys the frame handles.
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && msg->wParam != VK_F1 &&
      ::GetKeyState(VK_CONTROL) >= 0) {
    return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
  }
  return false;
}

// ---------------------------------------------------------------- main frame

const MessageMap* CMDIFrameWnd::GetThisMessageMap() {
  static constexpr MsgMapEntry kEntries[] = {
      MessageEntry<&CMDIFrameWnd::OnSize>(WM_SIZE),
      MessageEntry<&CMDIFrameWnd::OnDestroy>(WM_DESTROY),
      MessageEntry<&CMDIFrameWnd::OnQueryEndSession>(WM_QUERYENDSESSION),
      MessageEntry<&CMDIFrameWnd::OnEndSession>(WM_ENDSESSION),
      MessageEntry<&CMDIFrameWnd::OnInitMenuPopup>(WM_INITMENUPOPUP),
  };
  static const MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

const MessageMap* CMDIFrameWnd::GetMessageMap() const { return GetThisMessageMap(); }

bool CMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  m_hAccel = ::LoadAcceleratorsW(inst, MAKEINTRESOURCEW(resourceId));
  const std::wstring title = CWinApp::Get() ? CWinApp::Get()->AppName() : std::wstring();
  if (!RegisterFrameClass(kFrameClass, resourceId, StaticWndProc) ||
      !CreateEx(0, kFrameClass, title.c_str(), style | WS_CLIPCHILDREN, CW_USEDEFAULT,
                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr)) {
    delete this;
    return false;
  }
  CLIENTCREATESTRUCT ccs{nullptr, kFirstChildId};
  m_hWndMDIClient = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
      WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0,
      0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xE900)), inst, &ccs);
  if (!m_hWndMDIClient || !OnCreateFrame()) {
    ::DestroyWindow(m_hWnd);  // deletes this object
    return false;
  }
  RecalcLayout();
  return true;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
  if (!m_hWndMDIClient) return nullptr;
  HWND child = reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<CMDIChildWnd*>(FromHandle(child));
}

void CMDIFrameWnd::RecalcLayout() {
  if (!m_hWnd || !m_hWndMDIClient) return;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  for (HWND bar : {m_hWndTopBar, m_hWndBottomBar}) {
    if (!bar || !::IsWindowVisible(bar)) continue;
    ::SendMessageW(bar, WM_SIZE, 0, 0);  // toolbars and status bars size themselves
    RECT br;
    ::GetWindowRect(bar, &br);
    const int h = br.bottom - br.top;
    if (bar == m_hWndTopBar) {
      rc.top += h;
    } else {
      rc.bottom -= h;
    }
  }
  ::MoveWindow(m_hWndMDIClient, rc.left, rc.top, rc.right - rc.left,
               rc.bottom > rc.top ? rc.bottom - rc.top : 0, TRUE);
}

LRESULT CMDIFrameWnd::OnSize(WPARAM wParam, LPARAM) {
  if (wParam != SIZE_MINIMIZED) RecalcLayout();
  return 0;
}

LRESULT CMDIFrameWnd::OnDestroy(WPARAM, LPARAM) {
  if (CWinApp* app = CWinApp::Get(); app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  return Default();
}

// Nothing has to be asked before the session ends: the program's exit needs
// no answer from the user.
LRESULT CMDIFrameWnd::OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }

// The session ends (log-off, shut-down) and the process may be ended as soon
// as this returns, before the message loop runs again: the main window
// closes now as it does on Exit, its windows finishing their work (a clip
// being recorded is closed), and the application's exit steps follow.
LRESULT CMDIFrameWnd::OnEndSession(WPARAM ending, LPARAM) {
  CWinApp* app = CWinApp::Get();
  if (!ending || !app || app->m_pMainWnd != this) return 0;
  ::DestroyWindow(m_hWnd);  // deletes this object
  app->Exit();
  return 0;
}

bool CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
  if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, msg)) return true;
  return m_hAccel && ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg);
}

bool CMDIFrameWnd::RouteCommandState(CommandState& state) {
  if (CMDIChildWnd* child = MDIGetActive(); child && child->RouteCommandState(state)) return true;
  if (OnCommandState(state)) return true;
  state.enabled = false;
  state.checked = false;
  return false;
}

// Every plain entry of a menu that opens shows its command's state.
LRESULT CMDIFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default();
  if (HIWORD(lParam)) return result;  // the window menu
  const HMENU menu = reinterpret_cast<HMENU>(wParam);
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
    CommandState state{id};
    RouteCommandState(state);
    ::EnableMenuItem(menu, static_cast<UINT>(i),
                     MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, static_cast<UINT>(i),
                    MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
  }
  return result;
}

bool CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  // A menu entry or key of a disabled command does nothing (its entry is
  // grey, and the key must not do what the entry cannot).
  if (lParam == 0 && HIWORD(wParam) <= 1) {
    CommandState state{id};
    if (RouteCommandState(state) && !state.enabled) return true;
  }
  if (CMDIChildWnd* child = MDIGetActive(); child && child->RouteCommand(id)) return true;
  if (OnCmdMsg(id)) return true;
  CWinApp* app = CWinApp::Get();
  return app && app->OnCmdMsg(id);
}

LRESULT CMDIFrameWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// --------------------------------------------------------------- child frame

const MessageMap* CMDIChildWnd::GetThisMessageMap() {
  static constexpr MsgMapEntry kEntries[] = {
      MessageEntry<&CMDIChildWnd::OnSize>(WM_SIZE),
      MessageEntry<&CMDIChildWnd::OnMDIActivate>(WM_MDIACTIVATE),
  };
  static const MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

const MessageMap* CMDIChildWnd::GetMessageMap() const { return GetThisMessageMap(); }

bool CMDIChildWnd::LoadFrame(CMDIFrameWnd& main, UINT resourceId, DWORD style, CView* view) {
  m_pMainFrame = &main;
  m_pView = view;
  if (!RegisterFrameClass(kChildClass, resourceId, StaticWndProc)) {
    delete view;
    delete this;
    return false;
  }
  MDICREATESTRUCTW mcs{};
  mcs.szClass = kChildClass;
  mcs.szTitle = L"";
  mcs.hOwner = ::GetModuleHandleW(nullptr);
  mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  mcs.style = style;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  const bool created = CreateWindowWith([&] {
    return reinterpret_cast<HWND>(
        ::SendMessageW(main.m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  });
  if (!created) {
    delete view;
    delete this;
    return false;
  }
  if (!OnCreateClient()) {
    // The window exists: destroying it deletes this object.
    ::SendMessageW(main.m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return false;
  }
  return true;
}

bool CMDIChildWnd::OnCreateClient() {
  if (!m_pView) return true;
  CView* view = m_pView;
  view->SetParentFrame(this);
  if (!view->CreateView(m_hWnd, 0xE900)) {
    m_pView = nullptr;
    delete view;
    return false;
  }
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  ::MoveWindow(view->m_hWnd, 0, 0, rc.right, rc.bottom, TRUE);
  return true;
}

void CMDIChildWnd::InitialUpdateFrame() {
  if (m_pView) m_pView->OnInitialUpdate();
  ::ShowWindow(m_hWnd, SW_SHOW);
}

bool CMDIChildWnd::RouteCommand(UINT id) {
  if (m_pView && m_pView->OnCmdMsg(id)) return true;
  return OnCmdMsg(id);
}

bool CMDIChildWnd::RouteCommandState(CommandState& state) {
  if (m_pView && m_pView->OnCommandState(state)) return true;
  return OnCommandState(state);
}

bool CMDIChildWnd::OnCommand(WPARAM wParam, LPARAM) { return RouteCommand(LOWORD(wParam)); }

LRESULT CMDIChildWnd::OnSize(WPARAM, LPARAM lParam) {
  const LRESULT r = Default();
  if (m_pView && m_pView->m_hWnd) {
    ::MoveWindow(m_pView->m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  }
  return r;
}

// lParam is the frame being activated, wParam the one losing activation.
LRESULT CMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam) {
  const LRESULT r = Default();
  if (m_pView && m_pView->m_hWnd) {
    if (reinterpret_cast<HWND>(lParam) == m_hWnd) m_pView->OnActivateView(true);
    if (reinterpret_cast<HWND>(wParam) == m_hWnd) m_pView->OnActivateView(false);
  }
  return r;
}

LRESULT CMDIChildWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

}  // namespace base

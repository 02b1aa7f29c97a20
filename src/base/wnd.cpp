#include "base/wnd.h"

#include <commctrl.h>

#include "base/trace.h"

namespace base {
namespace {

const wchar_t kObjectProperty[] = L"Lumora.CWnd";
const UINT_PTR kSubclassId = 1;

// Messages whose dialog-procedure result is the answer itself rather than
// a handled flag with the answer in DWLP_MSGRESULT.
bool DialogReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool EnsureClass(const wchar_t* className, WNDPROC proc) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(inst, className, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  return ::RegisterClassExW(&wc) != 0;
}

const MsgMapEntry* MessageMap::FindMessage(UINT message) const {
  for (const MessageMap* map = this; map; map = map->base) {
    for (const MsgMapEntry& e : map->entries) {
      if (e.message == message && message != WM_COMMAND) return &e;
    }
  }
  return nullptr;
}

const MsgMapEntry* MessageMap::FindCommand(UINT id) const {
  for (const MessageMap* map = this; map; map = map->base) {
    for (const MsgMapEntry& e : map->entries) {
      if (e.message == WM_COMMAND && id >= e.idFirst && id <= e.idLast) return &e;
    }
  }
  return nullptr;
}

std::wstring ComboItemText(HWND combo, LRESULT index) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void RemoveWindowStyle(HWND hwnd, LONG_PTR style) {
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) & ~style);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

const MsgMapEntry* MessageMap::FindCommandState(UINT id) const {
  for (const MessageMap* map = this; map; map = map->base) {
    for (const MsgMapEntry& e : map->entries) {
      if (e.message == kCommandStateMessage && id >= e.idFirst && id <= e.idLast) return &e;
    }
  }
  return nullptr;
}

CWnd::~CWnd() {
  // Handlers still running on the stack must not touch this object again.
  for (CurrentMessage* m = m_current; m; m = m->outer) m->objectDeleted = true;
  if (m_hWnd) {
    HWND hwnd = m_hWnd;
    Detach();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap kMap{nullptr, {}};
  return &kMap;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

void CWnd::Attach(HWND hwnd) {
  m_hWnd = hwnd;
  ::SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
  if (!m_hWnd) return;
  ::RemovePropW(m_hWnd, kObjectProperty);
  if (m_kind == Kind::Subclass) ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
  m_hWnd = nullptr;
}

// A window that dies while it is being created leaves its object to the
// creator, which learns of the failure from the create call.
void CWnd::WindowGone() {
  Detach();
  if (!m_bCreating) PostNcDestroy();
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, HMENU menuOrId) {
  if (!EnsureClass(className, StaticWndProc)) return false;
  return CreateWindowWith([&] {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, cx, cy, parent, menuOrId,
                             ::GetModuleHandleW(nullptr), this);
  });
}

bool CWnd::SubclassWindow(HWND hwnd) {
  if (!hwnd || FromHandle(hwnd)) return false;
  m_kind = Kind::Subclass;
  if (!::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  Attach(hwnd);
  return true;
}

bool CWnd::CreateFromTemplate(UINT templateId, HWND parent) {
  return CreateWindowWith([&] {
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                                StaticDlgProc, reinterpret_cast<LPARAM>(this));
  });
}

void CWnd::DestroyWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CWnd::OnCmdMsg(UINT id) {
  const MsgMapEntry* e = GetMessageMap()->FindCommand(id);
  if (!e) return false;
  e->call(*this, id, 0);
  return true;
}

bool CWnd::OnCommandState(CommandState& state) {
  if (const MsgMapEntry* e = GetMessageMap()->FindCommandState(state.id)) {
    state.enabled = true;
    state.checked = false;
    e->call(*this, 0, reinterpret_cast<LPARAM>(&state));
    return true;
  }
  if (!GetMessageMap()->FindCommand(state.id)) return false;
  state.enabled = true;
  state.checked = false;
  return true;
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

bool CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam)); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) return 0;
  } else if (message == WM_INITDIALOG) {
    return OnInitDialog();
  } else if (const MsgMapEntry* e = GetMessageMap()->FindMessage(message)) {
    return e->call(*this, wParam, lParam);
  }
  return DefaultProc(message, wParam, lParam);
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (m_kind) {
    case Kind::Dialog:
      if (m_current) m_current->defaultAsked = true;
      return 0;
    case Kind::Subclass:
      return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    case Kind::Window:
      break;
  }
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (!m_current) return 0;
  return DefaultProc(m_current->message, m_current->wParam, m_current->lParam);
}

bool CWnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  CurrentMessage current{msg, wp, lp, false, false, m_current};
  m_current = &current;
  try {
    result = WindowProc(msg, wp, lp);
  } catch (...) {
    Trace("window procedure: exception in message 0x%04x", msg);
    result = 0;
  }
  // A handler that destroys its own window (Exit, the end of the session)
  // deletes this object with it.
  if (!current.objectDeleted) m_current = current.outer;
  return !current.defaultAsked;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWnd* wnd = FromHandle(hwnd);
  if (!wnd && msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
    void* param = cs->lpCreateParams;
    if ((cs->dwExStyle & WS_EX_MDICHILD) && param) {
      param = reinterpret_cast<void*>(static_cast<const MDICREATESTRUCTW*>(param)->lParam);
    }
    wnd = static_cast<CWnd*>(param);
    if (wnd) {
      wnd->m_kind = Kind::Window;
      wnd->Attach(hwnd);
    }
  }
  if (!wnd) return ::DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  wnd->Dispatch(msg, wp, lp, result);
  if (msg == WM_NCDESTROY) wnd->WindowGone();
  return result;
}

INT_PTR CALLBACK CWnd::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWnd* wnd = FromHandle(hwnd);
  if (!wnd && msg == WM_INITDIALOG) {
    wnd = reinterpret_cast<CWnd*>(lp);
    if (wnd) {
      wnd->m_kind = Kind::Dialog;
      wnd->Attach(hwnd);
    }
  }
  if (!wnd) return FALSE;
  LRESULT result = 0;
  const bool handled = wnd->Dispatch(msg, wp, lp, result);
  if (msg == WM_NCDESTROY) {
    wnd->WindowGone();
    return FALSE;
  }
  if (DialogReturnsDirectly(msg)) return static_cast<INT_PTR>(result);
  if (!handled) return FALSE;
  ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR ref) {
  CWnd* wnd = reinterpret_cast<CWnd*>(ref);
  LRESULT result = 0;
  wnd->Dispatch(msg, wp, lp, result);
  if (msg == WM_NCDESTROY) wnd->WindowGone();
  return result;
}

}  // namespace base

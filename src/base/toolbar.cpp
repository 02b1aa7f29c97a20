#include "base/toolbar.h"

#include "base/frame.h"
#include "base/handles.h"
#include "base/strings.h"

namespace base {

CToolBar::~CToolBar() {
  if (m_images) ::ImageList_Destroy(m_images);
}

bool CToolBar::Create(HWND parent, DWORD style, UINT id) {
  m_hWnd = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) return false;
  ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return true;
}

bool CToolBar::LoadToolBar(UINT resourceId) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  HRSRC res = ::FindResourceW(inst, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(241));
  if (!res || !m_hWnd) return false;
  const DWORD bytes = ::SizeofResource(inst, res);
  const auto* data = static_cast<const WORD*>(::LockResource(::LoadResource(inst, res)));
  if (!data || bytes < 8 || data[0] != 1) return false;
  const WORD count = data[3];
  if (bytes < 8u + 2u * count) return false;

  while (::SendMessageW(m_hWnd, TB_DELETEBUTTON, 0, 0)) {
  }
  m_buttonSize = {data[1], data[2]};
  m_commands.assign(data + 4, data + 4 + count);
  std::vector<TBBUTTON> buttons(count);
  int image = 0;
  for (WORD i = 0; i < count; ++i) {
    TBBUTTON& b = buttons[i];
    b.idCommand = static_cast<int>(m_commands[i]);
    if (m_commands[i] == 0) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = image++;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
    }
    b.iString = -1;
  }
  ::SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_buttonSize.cx, m_buttonSize.cy));
  ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons.data()));
  return true;
}

// The images get a mask of their button-face background, so that a
// disabled button shows its image greyed rather than a grey square.
bool CToolBar::SetBitmap(HBITMAP bitmap) {
  HIMAGELIST list =
      ::ImageList_Create(m_buttonSize.cx, m_buttonSize.cy, ILC_COLOR24 | ILC_MASK, 0, 16);
  if (!list) return false;
  if (::ImageList_AddMasked(list, bitmap, ::GetSysColor(COLOR_BTNFACE)) < 0) {
    ::ImageList_Destroy(list);
    return false;
  }
  ::SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  if (m_images) ::ImageList_Destroy(m_images);
  m_images = list;
  ::SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
  return true;
}

void CToolBar::SetButtonState(UINT command, BYTE state) {
  ::SendMessageW(m_hWnd, TB_SETSTATE, command, MAKELPARAM(state, 0));
}

void CToolBar::UpdateStates(CMDIFrameWnd& frame) {
  if (!m_hWnd) return;
  for (const UINT id : m_commands) {
    if (id == 0) continue;
    const LRESULT old = ::SendMessageW(m_hWnd, TB_GETSTATE, id, 0);
    if (old == -1) continue;
    CommandState state{id};
    frame.RouteCommandState(state);
    BYTE now = static_cast<BYTE>(old) & ~(TBSTATE_ENABLED | TBSTATE_PRESSED);
    if (state.enabled) now |= TBSTATE_ENABLED;
    if (state.checked) now |= TBSTATE_PRESSED;
    if (now != static_cast<BYTE>(old)) SetButtonState(id, now);
  }
}

bool CStatusBar::Create(HWND parent, UINT id) {
  m_hWnd = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) return false;
  int right = -1;  // one pane stretching over the whole bar
  ::SendMessageW(m_hWnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
  return true;
}

void CStatusBar::SetText(const wchar_t* text) {
  ::SendMessageW(m_hWnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

bool AnswerToolTip(LPARAM notification) {
  auto* tip = reinterpret_cast<NMTTDISPINFOW*>(notification);
  if (tip->hdr.code != TTN_GETDISPINFOW) return false;
  static std::wstring text;  // must outlive this notification
  text = LoadResString(static_cast<UINT>(tip->hdr.idFrom));
  const std::size_t newline = text.find(L'\n');
  text = newline == std::wstring::npos ? std::wstring() : text.substr(newline + 1);
  tip->lpszText = text.data();
  return true;
}

void ReplaceBitmapColour(HBITMAP bitmap, COLORREF key, COLORREF with) {
  BITMAP bm{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) return;
  WindowDc screen(nullptr);
  MemoryDc imageDc(::CreateCompatibleDC(screen.Get()));
  MemoryDc maskDc(::CreateCompatibleDC(screen.Get()));
  Bitmap mask(::CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr));
  Brush brush(::CreateSolidBrush(with));
  if (!imageDc || !maskDc || !mask || !brush) return;
  SelectScope image(imageDc.Get(), bitmap);
  SelectScope maskSel(maskDc.Get(), mask.Get());
  // Copying colour to monochrome sets the pixels equal to the background.
  ::SetBkColor(imageDc.Get(), key);
  ::BitBlt(maskDc.Get(), 0, 0, bm.bmWidth, bm.bmHeight, imageDc.Get(), 0, 0, SRCCOPY);
  // Where the mask is set the brush, elsewhere the bitmap: D = (D & ~S) | (P & S).
  ::SetBkColor(imageDc.Get(), RGB(255, 255, 255));
  ::SetTextColor(imageDc.Get(), RGB(0, 0, 0));
  SelectScope brushSel(imageDc.Get(), brush.Get());
  ::BitBlt(imageDc.Get(), 0, 0, bm.bmWidth, bm.bmHeight, maskDc.Get(), 0, 0, 0x00E20746);
}

}  // namespace base

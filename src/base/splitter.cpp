#include "base/splitter.h"

#include <windowsx.h>

namespace base {

const MessageMap* CSplitter::GetMessageMap() const {
  static constexpr MsgMapEntry kEntries[] = {
      MessageEntry<&CSplitter::OnSize>(WM_SIZE),
      MessageEntry<&CSplitter::OnLButtonDown>(WM_LBUTTONDOWN),
      MessageEntry<&CSplitter::OnMouseMove>(WM_MOUSEMOVE),
      MessageEntry<&CSplitter::OnLButtonUp>(WM_LBUTTONUP),
      MessageEntry<&CSplitter::OnSetCursor>(WM_SETCURSOR),
      MessageEntry<&CSplitter::OnNotify>(WM_NOTIFY),
  };
  static const MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

bool CSplitter::Create(HWND parent, UINT id) {
  return CreateEx(0, L"LumoraSplitter", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CSplitter::SetPanes(HWND left, HWND right, int leftWidth) {
  m_hLeft = left;
  m_hRight = right;
  SetLeftWidth(leftWidth);
}

void CSplitter::SetLeftWidth(int width) {
  m_leftWidth = width < 0 ? 0 : width;
  Layout();
}

void CSplitter::Layout() {
  if (!m_hWnd) return;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  const int height = rc.bottom;
  int left = m_leftWidth;
  if (left > rc.right - kBarWidth) left = rc.right - kBarWidth;
  if (left < 0) left = 0;
  const int rightX = left + kBarWidth;
  const int rightWidth = rc.right > rightX ? rc.right - rightX : 0;
  if (m_hLeft) ::MoveWindow(m_hLeft, 0, 0, left, height, TRUE);
  if (m_hRight) ::MoveWindow(m_hRight, rightX, 0, rightWidth, height, TRUE);
}

LRESULT CSplitter::OnSize(WPARAM, LPARAM) {
  Layout();
  return 0;
}

LRESULT CSplitter::OnLButtonDown(WPARAM, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  if (x >= m_leftWidth && x < m_leftWidth + kBarWidth) {
    m_dragging = true;
    ::SetCapture(m_hWnd);
  }
  return 0;
}

LRESULT CSplitter::OnMouseMove(WPARAM, LPARAM lParam) {
  if (m_dragging) SetLeftWidth(GET_X_LPARAM(lParam) - kBarWidth / 2);
  return 0;
}

LRESULT CSplitter::OnLButtonUp(WPARAM, LPARAM) {
  if (m_dragging) {
    m_dragging = false;
    ::ReleaseCapture();
  }
  return 0;
}

LRESULT CSplitter::OnSetCursor(WPARAM wParam, LPARAM) {
  if (reinterpret_cast<HWND>(wParam) == m_hWnd) {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
    return TRUE;
  }
  return Default();
}

LRESULT CSplitter::OnNotify(WPARAM wParam, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && FromHandle(header->hwndFrom)) {
    return ::SendMessageW(header->hwndFrom, kReflectedNotify, wParam, lParam);
  }
  return ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, wParam, lParam);
}

}  // namespace base

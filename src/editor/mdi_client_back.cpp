#include "editor/mdi_client_back.h"

CMdiClientBack::CMdiClientBack()
    : m_crBack(::GetSysColor(COLOR_APPWORKSPACE)), m_brBack(::CreateSolidBrush(m_crBack)) {}

const base::MessageMap* CMdiClientBack::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CMdiClientBack::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&CMdiClientBack::OnPaint>(WM_PAINT),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

void CMdiClientBack::SetBackColor(COLORREF colour) {
  base::Brush brush(::CreateSolidBrush(colour));
  if (!brush) return;
  m_crBack = colour;
  m_brBack = std::move(brush);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// The paint handler covers the whole area, so erasing first would only flicker.
LRESULT CMdiClientBack::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

LRESULT CMdiClientBack::OnPaint(WPARAM, LPARAM) {
  base::PaintDc dc(m_hWnd);
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  ::FillRect(dc.Get(), &rc, m_brBack.Get());
  return 0;
}

#include "common/slider_wnd.h"

namespace plugins {

const base::MessageMap* CSliderWnd::GetThisMessageMap() {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CSliderWnd::OnButtonDown>(WM_LBUTTONDOWN),
      base::MessageEntry<&CSliderWnd::OnButtonDown>(WM_LBUTTONDBLCLK),
      base::MessageEntry<&CSliderWnd::OnRelease>(WM_LBUTTONUP),
      base::MessageEntry<&CSliderWnd::OnRelease>(WM_CAPTURECHANGED),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

const base::MessageMap* CSliderWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CSliderWnd::OnButtonDown(WPARAM, LPARAM) {
  m_bPressed = true;
  return Default();
}

// The trackbar lets the capture go while it handles the release: that
// nested WM_CAPTURECHANGED finds the press already taken.
LRESULT CSliderWnd::OnRelease(WPARAM, LPARAM) {
  const bool pressed = std::exchange(m_bPressed, false);
  const LRESULT result = Default();
  if (pressed && m_onMouseRelease) m_onMouseRelease();
  return result;
}

}  // namespace plugins

#pragma once
// The effect slider's own window, watched for the mouse: a drag of the thumb
// or a click on the track ends when the left button is released (the
// trackbar holds the mouse capture until then). Keyboard moves never end
// that way, so they reach no one here.
#include <windows.h>

#include <functional>
#include <utility>

#include "base/wnd.h"

namespace plugins {

class CSliderWnd : public base::CWnd {
 public:
  // `onMouseRelease` runs after the trackbar has taken the release and sent
  // its own notifications, so the position it then gives is the final one.
  explicit CSliderWnd(std::function<void()> onMouseRelease)
      : m_onMouseRelease(std::move(onMouseRelease)) {}
  static const base::MessageMap* GetThisMessageMap();

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnButtonDown(WPARAM, LPARAM);
  // The button's release, or the capture taken away before it.
  LRESULT OnRelease(WPARAM, LPARAM);

  std::function<void()> m_onMouseRelease;
  bool m_bPressed = false;
};

}  // namespace plugins

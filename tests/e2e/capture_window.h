#pragma once
// The capture window as the end-to-end tests drive it: its form view, its
// buttons pressed the way a click reports them, and their visibility.
#include <windows.h>

#include "resource.h"

namespace e2e {

// The form view inside the capture frame (the child that has the Image button).
inline HWND CaptureView(HWND captureFrame) {
  for (HWND child = ::GetWindow(captureFrame, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgItem(child, IDC_IMAGE_BUTTON)) return child;
  }
  return nullptr;
}

inline void Press(HWND view, int button) {
  ::PostMessageW(view, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(view, button)));
}

inline bool Visible(HWND view, int id) {
  return ::IsWindowVisible(::GetDlgItem(view, id)) != FALSE;
}

}  // namespace e2e

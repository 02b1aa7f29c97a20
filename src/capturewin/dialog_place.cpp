#include "capturewin/dialog_place.h"

#include <algorithm>

namespace capturewin {

void CentreDialog(HWND dialog) {
  RECT area{};
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  if (!owner || !::GetWindowRect(owner, &area)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  ::GetWindowRect(dialog, &own);
  const int cx = own.right - own.left, cy = own.bottom - own.top;
  const int x = std::max(0L, area.left + (area.right - area.left - cx) / 2);
  const int y = std::max(0L, area.top + (area.bottom - area.top - cy) / 2);
  ::SetWindowPos(dialog, HWND_NOTOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void PlaceDialog(HWND dialog, int cx, int cy, std::span<const ControlPlace> controls) {
  ::SetWindowPos(dialog, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlPlace& c : controls) {
    if (HWND control = ::GetDlgItem(dialog, c.id))
      ::MoveWindow(control, c.x, c.y, c.cx, c.cy, TRUE);
  }
}

}  // namespace capturewin

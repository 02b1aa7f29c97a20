#include "common/dialog_layout.h"

#include "common/effect_ids.h"

namespace plugins {
namespace {

constexpr ControlPlace kSliderControls[] = {
    {IDC_CHANNEL, 194, 7, 70, 100}, {IDC_SLIDER, 13, 149, 170, 16}, {IDC_MINUS, 5, 145, 7, 10},
    {IDC_PLUS, 184, 145, 7, 10},    {IDOK, 194, 105, 70, 24},       {IDCANCEL, 194, 136, 70, 24},
};

constexpr ControlPlace kProcessControls[] = {
    {IDC_CHANNEL, 194, 7, 70, 100},
    {IDC_PROCESS, 194, 56, 70, 24},
    {IDOK, 194, 87, 70, 24},
    {IDCANCEL, 194, 118, 70, 24},
};

}  // namespace

const DialogLayout kSliderLayout{{276, 195}, kSliderControls};
const DialogLayout kProcessLayout{{276, 175}, kProcessControls};

void PlaceControl(HWND dialog, int id, const RECT& rect) {
  if (HWND control = ::GetDlgItem(dialog, id)) {
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ApplyLayout(HWND dialog, const DialogLayout& layout) {
  ::SetWindowPos(dialog, nullptr, 0, 0, layout.size.cx, layout.size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlPlace& c : layout.controls) {
    PlaceControl(dialog, c.id, {c.x, c.y, c.x + c.cx, c.y + c.cy});
  }
}

}  // namespace plugins

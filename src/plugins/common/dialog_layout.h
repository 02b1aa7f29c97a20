#pragma once
// The effect dialogs' layout in pixels. Dialog templates measure in dialog
// units, which follow each language's font; these dialogs keep one pixel
// layout in every language, so the controls are placed here.
#include <windows.h>

#include <span>

namespace plugins {

struct ControlPlace {
  int id;
  int x, y, cx, cy;  // client pixels
};

struct DialogLayout {
  SIZE size;  // the whole window
  std::span<const ControlPlace> controls;
};

// Channel box, slider with its "-" and "+" labels, OK and Cancel.
extern const DialogLayout kSliderLayout;
// Channel box, Process, OK and Cancel, on a lower dialog.
extern const DialogLayout kProcessLayout;

// Moves the dialog to the screen's top-left corner at the layout's size and
// places those of the layout's controls that the dialog has.
void ApplyLayout(HWND dialog, const DialogLayout& layout);

// Places one control at client pixels.
void PlaceControl(HWND dialog, int id, const RECT& rect);

}  // namespace plugins

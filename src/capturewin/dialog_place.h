#pragma once
// Placing the capture window's dialogs: centred over their owner and not
// top-most, and, for the settings dialogs whose layout is fixed in pixels,
// sized and with their controls moved to those pixels.
#include <windows.h>

#include <span>

namespace capturewin {

struct ControlPlace {
  int id;
  int x, y, cx, cy;  // client pixels
};

// Centred over the owner (the work area when there is none), not top-most.
void CentreDialog(HWND dialog);

// Gives the dialog the outer size cx x cy and moves each control onto its
// place (a control the template lacks is skipped).
void PlaceDialog(HWND dialog, int cx, int cy, std::span<const ControlPlace> controls);

}  // namespace capturewin

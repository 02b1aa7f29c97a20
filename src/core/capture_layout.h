#pragma once
// Where the capture view puts its preview area and controls for each of the
// five live-video window sizes ("WindowSize"), in view pixels.
#include <optional>
#include <string_view>

#include "core/startup_rules.h"

namespace core {

struct CaptureLayout {
  // Preview rectangle: left, top, right, bottom.
  int previewLeft = 0, previewTop = 0, previewRight = 0, previewBottom = 0;
  // Buttons and status text as x, y, width, height.
  Rect image, video, settings, record, status;
};

// The layout for one of "160x120", "176x144", "320x240", "352x288" and
// "640x480"; nothing for any other text (the view then keeps its layout).
std::optional<CaptureLayout> CaptureLayoutFor(std::string_view windowSize);

}  // namespace core

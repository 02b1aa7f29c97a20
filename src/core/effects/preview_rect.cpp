#include "core/effects/preview_rect.h"

namespace core::effects {
namespace {
constexpr int kLeft = 7, kTop = 7, kRight = 187, kBottom = 142;
constexpr double kAreaWidth = kRight - kLeft, kAreaHeight = kBottom - kTop;
}  // namespace

PreviewRect PlacePreview(int width, int height) {
  if (width <= 0 || height <= 0) return {kLeft, kTop, kLeft, kTop};
  const double sx = width / kAreaWidth;
  const double sy = height / kAreaHeight;
  if (sx > sy) {
    const int h = static_cast<int>(height / sx);
    const int top = (kTop + kBottom - h) / 2;
    return {kLeft, top, kRight, top + h};
  }
  const int w = static_cast<int>(width / sy);
  const int left = (kLeft + kRight - w) / 2;
  return {left, kTop, left + w, kBottom};
}

}  // namespace core::effects

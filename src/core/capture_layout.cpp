#include "core/capture_layout.h"

namespace core {
namespace {

struct Row {
  std::string_view size;
  int left, top, right, bottom;
  int imageX, videoX, settingsX;
  int statusX, statusDy;
};

// Buttons sit 5 pixels below the preview; the status text a little lower,
// level with the middle of the Record button.
constexpr Row kRows[] = {
    {"160x120", 90, 0, 250, 120, 0, 155, 305, 10, 21},
    {"176x144", 80, 0, 256, 144, 0, 155, 305, 10, 23},
    {"320x240", 7, 0, 327, 240, 0, 155, 305, 10, 23},
    {"352x288", 0, 0, 352, 288, 0, 155, 306, 10, 21},
    {"640x480", 0, 0, 640, 480, 152, 307, 457, 150, 23},
};

}  // namespace

std::optional<CaptureLayout> CaptureLayoutFor(std::string_view windowSize) {
  for (const Row& row : kRows) {
    if (row.size != windowSize) continue;
    const int below = row.bottom + 5;
    CaptureLayout layout;
    layout.previewLeft = row.left;
    layout.previewTop = row.top;
    layout.previewRight = row.right;
    layout.previewBottom = row.bottom;
    layout.image = {row.imageX, below, 150, 50};
    layout.video = {row.videoX, below, 150, 50};
    layout.settings = {row.settingsX, below, 30, 30};
    layout.record = {row.videoX, below, 150, 50};
    layout.status = {row.statusX, row.bottom + row.statusDy, 140, 16};
    return layout;
  }
  return std::nullopt;
}

}  // namespace core

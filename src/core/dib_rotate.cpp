#include "core/dib_rotate.h"

#include <cstring>

namespace core {

std::size_t Dib24Stride(int width) {
  return width <= 0 ? 0 : (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
}

// Rows are stored bottom-up: the picture's top row y of a picture h high is
// stored row h - 1 - y. New row ny (of the turned picture, width high) is
// filled from old column ny (clockwise) or old column width - 1 - ny.
std::vector<std::uint8_t> RotateDib24(const std::uint8_t* pixels, int width, int height,
                                      bool clockwise) {
  if (width <= 0 || height <= 0 || !pixels) return {};
  const std::size_t oldStride = Dib24Stride(width);
  const std::size_t newStride = Dib24Stride(height);
  std::vector<std::uint8_t> turned(newStride * static_cast<std::size_t>(width), 0);
  for (int ny = 0; ny < width; ++ny) {
    std::uint8_t* row = turned.data() + static_cast<std::size_t>(width - 1 - ny) * newStride;
    const int oldColumn = clockwise ? ny : width - 1 - ny;
    for (int nx = 0; nx < height; ++nx) {
      const int oldStoredRow = clockwise ? nx : height - 1 - nx;
      const std::uint8_t* from =
          pixels + static_cast<std::size_t>(oldStoredRow) * oldStride + static_cast<std::size_t>(oldColumn) * 3;
      std::memcpy(row + static_cast<std::size_t>(nx) * 3, from, 3);
    }
  }
  return turned;
}

}  // namespace core

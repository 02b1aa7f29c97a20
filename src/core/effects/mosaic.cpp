#include "core/effects/mosaic.h"

#include <algorithm>
#include <array>

namespace core::effects {
namespace {

struct Tile {
  int left, top, cols, rows;
};

void FillTile(const std::uint8_t* source, std::uint8_t* working, const Geometry& g, const Tile& t) {
  std::array<std::uint64_t, 3> sum{};
  for (int y = t.top; y < t.top + t.rows; ++y) {
    const std::uint8_t* p = source + g.Offset(t.left, y);
    for (int x = 0; x < t.cols; ++x, p += 3) {
      for (int b = 0; b < 3; ++b) sum[b] += p[b];
    }
  }
  const std::uint64_t count =
      static_cast<std::uint64_t>(t.cols) * static_cast<std::uint64_t>(t.rows);
  std::array<std::uint8_t, 3> mean{};
  for (int b = 0; b < 3; ++b) mean[b] = static_cast<std::uint8_t>(sum[b] / count);
  for (int y = t.top; y < t.top + t.rows; ++y) {
    std::uint8_t* p = working + g.Offset(t.left, y);
    for (int x = 0; x < t.cols; ++x, p += 3) std::copy(mean.begin(), mean.end(), p);
  }
}

}  // namespace

void Mosaic(const std::uint8_t* source, std::uint8_t* working, const Geometry& geometry, int tile) {
  // Stepping by the cut-off size keeps the counters inside the image.
  for (int top = 0, rows = 0; top < geometry.height; top += rows) {
    rows = std::min(tile, geometry.height - top);
    for (int left = 0, cols = 0; left < geometry.width; left += cols) {
      cols = std::min(tile, geometry.width - left);
      FillTile(source, working, geometry, {left, top, cols, rows});
    }
  }
}

}  // namespace core::effects

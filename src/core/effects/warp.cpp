#include "core/effects/warp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace core::effects {
namespace {

constexpr double kEdge = 0.95;
constexpr double kExponent = 0.28;
// Marks a pixel that is copied in place (k itself is always positive).
constexpr double kInPlace = -1.0;

struct Centre {
  int cx, cy;
};

// The fetch factor k for every |dx| at one |dy|. Pixels that mirror each
// other across the centre share it, so each value is computed once.
void FactorsForRow(std::int64_t dy, std::int64_t radius, std::vector<double>& factors) {
  const std::int64_t R2 = radius * radius;
  for (std::size_t a = 0; a < factors.size(); ++a) {
    const auto dx = static_cast<std::int64_t>(a);
    const std::int64_t r2 = dx * dx + dy * dy;
    if (r2 >= R2 || r2 == 0) {
      factors[a] = kInPlace;
    } else if (radius > 0) {
      factors[a] =
          1 / std::pow(static_cast<double>(R2) / (static_cast<double>(r2) * kEdge), kExponent);
    } else {
      factors[a] = std::pow(static_cast<double>(R2) / static_cast<double>(r2) * kEdge, kExponent);
    }
  }
}

void WarpRow(const std::uint8_t* source, std::uint8_t* working, const Geometry& g, Centre c, int y,
             const std::vector<double>& factors) {
  const int dy = y - c.cy;
  for (int x = 0; x < g.width; ++x) {
    const int dx = x - c.cx;
    const double k = factors[static_cast<std::size_t>(std::abs(dx))];
    std::uint8_t* out = working + g.Offset(x, y);
    if (k == kInPlace) {
      std::memcpy(out, source + g.Offset(x, y), 3);
      continue;
    }
    const double sx = std::trunc(dx * k + c.cx);
    const double sy = std::trunc(dy * k + c.cy);
    if (sx >= 0 && sx < g.width && sy >= 0 && sy < g.height) {
      std::memcpy(out, source + g.Offset(static_cast<int>(sx), static_cast<int>(sy)), 3);
    } else {
      std::memset(out, 0, 3);
    }
  }
}

}  // namespace

int WarpRadiusLimit(int width, int height) {
  const double w = width, h = height;
  return static_cast<int>(std::sqrt(w * w + h * h) * 0.5);
}

void Warp(const std::uint8_t* source, std::uint8_t* working, const Geometry& geometry, int radius) {
  if (geometry.width == 0 || geometry.height == 0) return;
  const Centre c{geometry.width / 2, geometry.height / 2};
  const int maxDx = std::max(c.cx, geometry.width - 1 - c.cx);
  const int maxDy = std::max(c.cy, geometry.height - 1 - c.cy);
  std::vector<double> factors(static_cast<std::size_t>(maxDx) + 1);
  // Rows in pairs at the same distance above and below the centre row.
  for (int d = 0; d <= maxDy; ++d) {
    FactorsForRow(d, radius, factors);
    if (c.cy - d >= 0) WarpRow(source, working, geometry, c, c.cy - d, factors);
    if (d > 0 && c.cy + d < geometry.height)
      WarpRow(source, working, geometry, c, c.cy + d, factors);
  }
}

}  // namespace core::effects

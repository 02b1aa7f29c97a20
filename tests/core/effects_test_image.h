#pragma once
// Packed 24-bit pixel rows for the effect tests, padding included.
#include <cstdint>
#include <random>
#include <vector>

#include "core/effects/image_layout.h"

namespace core::effects::test {

struct Bgr {
  std::uint8_t b, g, r;
  bool operator==(const Bgr&) const = default;
};

struct TestImage {
  // Every byte from `seed`, row padding too, so that stray writes show.
  TestImage(int width, int height, unsigned seed = 0)
      : geometry{width, height, static_cast<std::size_t>((width * 3 + 3) & ~3)},
        bytes(geometry.stride * static_cast<std::size_t>(height)) {
    std::mt19937 gen(seed);
    for (std::uint8_t& b : bytes) b = seed ? static_cast<std::uint8_t>(gen()) : 0;
  }
  std::uint8_t* data() { return bytes.data(); }
  const std::uint8_t* data() const { return bytes.data(); }
  Bgr at(int x, int y) const {
    const std::uint8_t* p = bytes.data() + geometry.Offset(x, y);
    return {p[0], p[1], p[2]};
  }
  void set(int x, int y, Bgr c) {
    std::uint8_t* p = bytes.data() + geometry.Offset(x, y);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }

  Geometry geometry;
  std::vector<std::uint8_t> bytes;
};

}  // namespace core::effects::test

#pragma once
// The library's in-memory picture: the pixel rows of a 24-bit bottom-up
// bitmap (blue, green, red; rows padded to 4 bytes), so that writing a
// bitmap file is a copy and the JPEG side reads and writes rows in place.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zimg {

// Pictures beyond these are refused before anything is allocated: a few
// header bytes must not make the library reserve gigabytes.
constexpr int kMaxSide = 65535;
constexpr std::size_t kMaxPixelBytes = std::size_t{256} << 20;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // bottom row first

  // Sizes the rows for width x height; false when the size is out of range
  // or the memory cannot be had.
  bool Allocate(int w, int h) noexcept;
  std::size_t Stride() const { return RowStride(width); }
  // Row `y` counted from the top of the picture.
  std::uint8_t* TopRow(int y) { return pixels.data() + Stride() * (height - 1 - y); }
  const std::uint8_t* TopRow(int y) const {
    return pixels.data() + Stride() * (height - 1 - y);
  }

  static std::size_t RowStride(int w) { return (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3}; }
};

}  // namespace zimg

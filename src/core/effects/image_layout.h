#pragma once
// Where the pixels of a packed 24-bit bitmap lie: a header of `headerSize`
// bytes, then the rows, the first stored row being the bottom of the picture,
// each row width x 3 bytes (blue, green, red) padded to a multiple of 4.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace core::effects {

struct Geometry {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // bytes from one stored row to the next

  std::size_t Offset(int x, int y) const {
    return static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
  }
};

struct PackedLayout {
  Geometry geometry;
  std::uint32_t imageSize = 0;  // the stated size, or stride x height when it was 0
  std::uint32_t byteCount = 0;  // header and pixels
};

// The layout described by a header's fields. An image size of 0 stands for
// stride x height. Nothing when the fields cannot describe a readable image:
// a header shorter than 40 bytes, a negative width or height, rows that do
// not fit in the stated image size, or more than 4 GB in all.
std::optional<PackedLayout> LayoutOf(std::uint32_t headerSize, std::int32_t width,
                                     std::int32_t height, std::uint32_t imageSize);

}  // namespace core::effects

#pragma once
// A quarter turn of a 24-bit picture stored bottom-up with rows padded to a
// multiple of 4 bytes (the pixel part of a packed bitmap).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

// Bytes of one stored row of a 24-bit picture `width` pixels wide.
std::size_t Dib24Stride(int width);

// The picture `width` x `height` turned clockwise or anticlockwise: a
// `height` x `width` picture in the same storage. A row of two pixels, A
// left of B, becomes a column with A on top when turned clockwise and B on
// top when turned anticlockwise. `pixels` holds at least
// Dib24Stride(width) x height bytes; sizes of 0 or less give nothing.
std::vector<std::uint8_t> RotateDib24(const std::uint8_t* pixels, int width, int height,
                                      bool clockwise);

}  // namespace core

#pragma once
// Planar I420 camera frames turned into the program's 24-bit bottom-up
// bitmap rows.
#include <cstddef>
#include <cstdint>

namespace core {

// Bytes of an I420 frame: the Y plane (width x height), then the U and V
// planes of (width / 2) x (height / 2) samples each.
std::size_t I420FrameBytes(int width, int height);

// Converts `src` (an I420 frame of `srcBytes`) into `dst`, 24-bit rows
// padded to 4 bytes, bottom row first, blue-green-red. Output row r takes
// source row height - 1 - r; pixel (x, y) uses the chroma sample of
// (x / 2, y / 2), clamped to the last sample when an odd width or height
// leaves the last column or row without one, and neutral chroma when the
// planes are empty. Each channel is truncated toward zero and clamped to
// 0..255. False, with `dst` untouched, when either buffer is too small.
bool ConvertI420ToDib24(const std::uint8_t* src, std::size_t srcBytes, int width, int height,
                        std::uint8_t* dst, std::size_t dstBytes);

}  // namespace core

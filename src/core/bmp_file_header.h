#pragma once
// The 14-byte file header the program puts in front of a packed 24-bit
// bitmap (40-byte info header, no colour table, then the pixels).
#include <array>
#include <cstdint>

namespace core {

inline constexpr std::uint32_t kBmpPixelOffset = 14 + 40;

// "BM", file size 14 + 40 + imageBytes, both reserved words 0, pixel offset
// 54; little-endian, field by field.
std::array<std::uint8_t, 14> BmpFileHeader(std::uint32_t imageBytes);

}  // namespace core

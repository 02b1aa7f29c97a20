#pragma once
// Checks a packed bitmap (info header, colour table, pixels) before anything
// draws it, so that a truncated or malformed file cannot make a reader run
// past its buffer.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace core {

struct DibLayout {
  int width;
  int height;  // rows, always positive
  int bitsPerPixel;
  std::uint32_t colours;    // entries of the colour table
  std::size_t pixelOffset;  // from the start of the info header
  std::size_t pixelBytes;   // rows x padded row length
};

// The layout of an uncompressed (or bit-field) bitmap of 1, 4, 8, 16, 24 or
// 32 bits that lies wholly inside `size` bytes; nothing for anything else.
std::optional<DibLayout> CheckDib(const std::uint8_t* data, std::size_t size);

// Clips recorded by the program may begin with filler frames whose first
// four bytes are 00 FF 00 FF.
bool IsFillerFrame(const std::uint8_t* data, std::size_t size);

// The first of frames 0 to limit - 1 that is no filler frame, else frame
// `limit`. `isFiller(i)` tells about frame i.
template <class IsFiller>
int FirstUsableFrame(int limit, IsFiller isFiller) {
  for (int i = 0; i < limit; ++i) {
    if (!isFiller(i)) return i;
  }
  return limit;
}

// The clip frame a thumbnail shows: among the first 90 frames.
template <class IsFiller>
int ThumbnailFrame(IsFiller isFiller) {
  return FirstUsableFrame(90, isFiller);
}

}  // namespace core

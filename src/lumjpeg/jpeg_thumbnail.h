#pragma once
// A JPEG picture decoded at reduced size for a thumbnail: libjpeg-turbo
// scales in its inverse DCT by 1/2, 1/4 or 1/8, which costs a fraction of a
// full decode and reads no more of the file than a full decode does.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumjpeg {

struct ScaledPicture {
  int width = 0;   // of the decoded pixels
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top first, 4 bytes a pixel: blue, green, red, unused
};

// The largest reduction (1/8, 1/4, 1/2 or none) that still leaves at least
// `minWidth` x `minHeight` pixels of a `width` x `height` picture.
int ScaleDenominator(int width, int height, int minWidth, int minHeight);

// Decodes a colour or greyscale JPEG picture at ScaleDenominator's size.
// False for malformed or truncated data, CMYK pictures, and when `cancel`
// is set while the work runs.
bool DecodeScaled(const std::uint8_t* data, std::size_t size, int minWidth, int minHeight,
                  const std::atomic<bool>* cancel, ScaledPicture& out);

}  // namespace lumjpeg

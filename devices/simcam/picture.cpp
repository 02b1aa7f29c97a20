#include "picture.h"

namespace simcam {
namespace {

constexpr int kStampBits = 32;
// Pixels 1..32 of the first two stored rows carry the number; pixel 0 is
// black so that the snapshot mark is the only thing in bit 0 of byte 0.
constexpr int kStampWidth = kStampBits + 1;

bool InStamp(int x, int storedRow) { return storedRow < 2 && x < kStampWidth; }

uint8_t StampValue(int x, uint32_t number) {
  if (x == 0) return 0;
  return ((number >> (x - 1)) & 1u) ? 255 : 0;
}

void DrawRgb24(uint8_t* dst, int width, int height, uint32_t n) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  for (int row = 0; row < height; ++row) {
    uint8_t* p = dst + row * stride;
    const int y = height - 1 - row;  // bottom-up: stored row 0 is the picture's last line
    for (int x = 0; x < width; ++x, p += 3) {
      if (InStamp(x, row)) {
        p[0] = p[1] = p[2] = StampValue(x, n);
        continue;
      }
      p[0] = static_cast<uint8_t>(x + 2 * n);
      p[1] = static_cast<uint8_t>(y + n);
      p[2] = static_cast<uint8_t>((x + y) / 2 + 3 * n);
    }
    for (size_t pad = static_cast<size_t>(width) * 3; pad < stride; ++pad)
      dst[row * stride + pad] = 0;
  }
}

void DrawI420(uint8_t* dst, int width, int height, uint32_t n) {
  uint8_t* yPlane = dst;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      yPlane[y * width + x] =
          InStamp(x, y) ? StampValue(x, n) : static_cast<uint8_t>((x + y) / 2 + 2 * n);
    }
  }
  const int cw = width / 2;
  const int ch = height / 2;
  uint8_t* u = dst + static_cast<size_t>(width) * height;
  uint8_t* v = u + static_cast<size_t>(cw) * ch;
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) {
      // Neutral chroma under the stamp keeps it black and white.
      const bool stamp = InStamp(x * 2, y * 2);
      u[y * cw + x] = stamp ? 128 : static_cast<uint8_t>(x * 2 + n);
      v[y * cw + x] = stamp ? 128 : static_cast<uint8_t>(y * 2 + 3 * n);
    }
  }
}

}  // namespace

size_t FrameBytes(PixelFormat format, int width, int height) {
  if (format == PixelFormat::I420) {
    return static_cast<size_t>(width) * height + 2 * static_cast<size_t>(width / 2) * (height / 2);
  }
  return ((static_cast<size_t>(width) * 3 + 3) & ~size_t{3}) * height;
}

void DrawFrame(uint8_t* dst, PixelFormat format, int width, int height, uint32_t number) {
  if (format == PixelFormat::I420) {
    DrawI420(dst, width, height, number);
  } else {
    DrawRgb24(dst, width, height, number);
  }
}

uint32_t ReadFrameNumber(const uint8_t* frame, PixelFormat format) {
  const int step = format == PixelFormat::I420 ? 1 : 3;
  uint32_t n = 0;
  for (int bit = 0; bit < kStampBits; ++bit) {
    if (frame[(bit + 1) * step + (step == 3 ? 1 : 0)] >= 128) n |= 1u << bit;
  }
  return n;
}

}  // namespace simcam

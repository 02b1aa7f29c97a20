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

uint8_t Lit(int value, int brightness) {
  const int v = (value & 0xFF) + brightness;
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Eight vertical bars of full and half colours, moving one pixel a frame.
void BarColour(int x, int width, uint32_t n, uint8_t bgr[3]) {
  const int bar =
      static_cast<int>((static_cast<uint32_t>(x) + n) % static_cast<uint32_t>(width)) * 8 / width;
  bgr[0] = (bar & 1) ? 255 : 40;
  bgr[1] = (bar & 2) ? 255 : 40;
  bgr[2] = (bar & 4) ? 255 : 40;
}

void DrawRgb24(uint8_t* dst, int width, int height, uint32_t n, const PictureLook& look) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  for (int row = 0; row < height; ++row) {
    uint8_t* p = dst + row * stride;
    const int y = height - 1 - row;  // bottom-up: stored row 0 is the picture's last line
    for (int x = 0; x < width; ++x, p += 3) {
      if (InStamp(x, row)) {
        p[0] = p[1] = p[2] = StampValue(x, n);
        continue;
      }
      if (look.pattern == Pattern::Bars) {
        uint8_t bgr[3];
        BarColour(x, width, n, bgr);
        for (int c = 0; c < 3; ++c) p[c] = Lit(bgr[c], look.brightness);
        continue;
      }
      p[0] = Lit(static_cast<int>(x + 2 * n), look.brightness);
      p[1] = Lit(static_cast<int>(y + n), look.brightness);
      p[2] = Lit(static_cast<int>((x + y) / 2 + 3 * n), look.brightness);
    }
    for (size_t pad = static_cast<size_t>(width) * 3; pad < stride; ++pad)
      dst[row * stride + pad] = 0;
  }
}

void DrawI420(uint8_t* dst, int width, int height, uint32_t n, const PictureLook& look) {
  uint8_t* yPlane = dst;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (InStamp(x, y)) {
        yPlane[y * width + x] = StampValue(x, n);
      } else if (look.pattern == Pattern::Bars) {
        uint8_t bgr[3];
        BarColour(x, width, n, bgr);
        yPlane[y * width + x] = Lit((bgr[0] + 2 * bgr[1] + bgr[2]) / 4, look.brightness);
      } else {
        yPlane[y * width + x] = Lit(static_cast<int>((x + y) / 2 + 2 * n), look.brightness);
      }
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

void DrawFrame(uint8_t* dst, PixelFormat format, int width, int height, uint32_t number,
               const PictureLook& look) {
  if (format == PixelFormat::I420) {
    DrawI420(dst, width, height, number, look);
  } else {
    DrawRgb24(dst, width, height, number, look);
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

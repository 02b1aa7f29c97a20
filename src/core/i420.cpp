#include "core/i420.h"

#include <algorithm>

#include "core/capture_format.h"

namespace core {
namespace {

std::uint8_t Channel(double value) {
  const int truncated = static_cast<int>(value);  // toward zero
  return static_cast<std::uint8_t>(std::clamp(truncated, 0, 255));
}

}  // namespace

std::size_t I420FrameBytes(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  const std::size_t luma = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::size_t chroma = static_cast<std::size_t>(width / 2) * static_cast<std::size_t>(height / 2);
  return luma + 2 * chroma;
}

bool ConvertI420ToDib24(const std::uint8_t* src, std::size_t srcBytes, int width, int height,
                        std::uint8_t* dst, std::size_t dstBytes) {
  if (width <= 0 || height <= 0 || !src || !dst) return false;
  const std::size_t stride = Dib24ImageBytes(width, 1);
  if (srcBytes < I420FrameBytes(width, height) || dstBytes < stride * static_cast<std::size_t>(height)) {
    return false;
  }
  const int chromaWidth = width / 2;
  const int chromaHeight = height / 2;
  const std::uint8_t* planeY = src;
  const std::uint8_t* planeU = planeY + static_cast<std::size_t>(width) * height;
  const std::uint8_t* planeV = planeU + static_cast<std::size_t>(chromaWidth) * chromaHeight;
  const bool hasChroma = chromaWidth > 0 && chromaHeight > 0;

  for (int y = 0; y < height; ++y) {
    const std::uint8_t* rowY = planeY + static_cast<std::size_t>(y) * width;
    const std::size_t chromaRow = static_cast<std::size_t>(std::min(y / 2, chromaHeight - 1)) * chromaWidth;
    std::uint8_t* out = dst + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      double u = 0, v = 0;
      if (hasChroma) {
        const std::size_t at = chromaRow + static_cast<std::size_t>(std::min(x / 2, chromaWidth - 1));
        u = planeU[at] - 128.0;
        v = planeV[at] - 128.0;
      }
      const double luma = rowY[x];
      *out++ = Channel(luma + 1.77 * u);
      *out++ = Channel(luma - 0.344 * u - 0.714 * v);
      *out++ = Channel(luma + 1.403 * v);
    }
  }
  return true;
}

}  // namespace core

#include "core/still_enlarge.h"

#include <cstring>

namespace core {

std::optional<FrameSize> StillSizeForCode(int code) {
  switch (code) {
    case 1:
      return FrameSize{800, 600};
    case 2:
      return FrameSize{1024, 768};
    case 3:
      return FrameSize{1280, 960};
    default:
      return std::nullopt;
  }
}

bool EnlargeNearest(const std::uint8_t* src, std::size_t srcBytes, int srcWidth, int srcHeight,
                    std::uint8_t* dst, std::size_t dstBytes, int dstWidth, int dstHeight) {
  if (!src || !dst || srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0)
    return false;
  const std::size_t srcRow = std::size_t(srcWidth) * 3, dstRow = std::size_t(dstWidth) * 3;
  if (srcBytes / srcRow < std::size_t(srcHeight) || dstBytes / dstRow < std::size_t(dstHeight)) {
    return false;
  }
  for (int y = 0; y < dstHeight; ++y) {
    const std::uint8_t* from =
        src + std::size_t(static_cast<long long>(y) * srcHeight / dstHeight) * srcRow;
    std::uint8_t* to = dst + std::size_t(y) * dstRow;
    for (int x = 0; x < dstWidth; ++x) {
      std::memcpy(to + std::size_t(x) * 3,
                  from + std::size_t(static_cast<long long>(x) * srcWidth / dstWidth) * 3, 3);
    }
  }
  return true;
}

}  // namespace core

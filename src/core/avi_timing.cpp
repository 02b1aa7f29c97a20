#include "core/avi_timing.h"

#include <cstdint>
#include <limits>

namespace core {
namespace {

// Truncates toward zero, keeping out-of-range values at the ends of the range.
std::int32_t ToIndex(double value) {
  if (!(value > std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (value >= std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t FrameIndexByTime(std::uint32_t elapsedMs, double framesPerSecond) {
  return ToIndex(static_cast<double>(elapsedMs) * framesPerSecond * 0.001);
}

std::int32_t FrameIndexBySound(std::int32_t audioBytes, double framesPerSecond,
                               std::uint32_t bytesPerSecond) {
  if (bytesPerSecond == 0) return 0;
  return ToIndex(static_cast<double>(audioBytes) * framesPerSecond / bytesPerSecond);
}

}  // namespace core

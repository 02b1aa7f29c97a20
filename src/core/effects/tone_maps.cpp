#include "core/effects/tone_maps.h"

#include <cmath>

namespace core::effects {
namespace {

// A value already cut toward zero, held to a byte. Clamping happens before
// any conversion to an integer type, so slopes of 10^7 cannot overflow it;
// a value that is no number (0 x infinity at a level of 0) counts as 0.
std::uint8_t HoldToByte(double truncated) {
  if (truncated > 255) return 255;
  if (!(truncated > 0)) return 0;
  return static_cast<std::uint8_t>(truncated);
}

}  // namespace

ByteMap BrightnessMap(int position, unsigned level) {
  const float f = static_cast<float>(static_cast<double>(position) / level);
  ByteMap map{};
  for (int b = 0; b < 256; ++b) map[b] = HoldToByte(std::trunc(b * static_cast<double>(f)));
  return map;
}

ByteMap ContrastMap(int angle, unsigned level) {
  constexpr double kRadiansPerDegree = 0.017453292222222222;  // 3.1415926 / 180
  const float s = static_cast<float>(std::tan(angle * kRadiansPerDegree));
  const long double l = level;
  const float o = static_cast<float>(l - l * static_cast<long double>(s));
  ByteMap map{};
  for (int b = 0; b < 256; ++b) {
    map[b] = HoldToByte(std::trunc(b * static_cast<double>(s) + static_cast<double>(o)));
  }
  return map;
}

void ApplyByteMap(const std::uint8_t* source, std::uint8_t* target, const Geometry& geometry,
                  Channel channel, const ByteMap& map) {
  const std::array<bool, 3> bytes = BytesOf(channel);
  for (int y = 0; y < geometry.height; ++y) {
    const std::size_t row = geometry.Offset(0, y);
    for (std::size_t i = 0; i < static_cast<std::size_t>(geometry.width) * 3; i += 3) {
      for (int b = 0; b < 3; ++b) {
        if (bytes[b]) target[row + i + b] = map[source[row + i + b]];
      }
    }
  }
}

}  // namespace core::effects

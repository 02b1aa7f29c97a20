#include "core/effects/channel.h"

namespace core::effects {

std::array<bool, 3> BytesOf(Channel channel) {
  switch (channel) {
    case Channel::Red:
      return {false, false, true};
    case Channel::Green:
      return {false, true, false};
    case Channel::Blue:
      return {true, false, false};
    case Channel::Rgb:
      break;
  }
  return {true, true, true};
}

unsigned MeanLevel(const std::uint8_t* pixels, const Geometry& geometry, Channel channel) {
  const std::uint64_t count =
      3 * static_cast<std::uint64_t>(geometry.width) * static_cast<std::uint64_t>(geometry.height);
  if (count == 0) return 0;
  const std::array<bool, 3> bytes = BytesOf(channel);
  std::uint64_t sum = 0;
  for (int y = 0; y < geometry.height; ++y) {
    const std::uint8_t* p = pixels + geometry.Offset(0, y);
    for (int x = 0; x < geometry.width; ++x, p += 3) {
      for (int b = 0; b < 3; ++b) {
        if (bytes[b]) sum += p[b];
      }
    }
  }
  return static_cast<unsigned>(sum / count);
}

}  // namespace core::effects

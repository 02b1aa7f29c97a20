// The effect plug-ins' arithmetic on whatever header a host hands over: the
// layout check, then every effect on a buffer of the size it accepts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/effects/channel.h"
#include "core/effects/image_layout.h"
#include "core/effects/mosaic.h"
#include "core/effects/preview_rect.h"
#include "core/effects/sharpen.h"
#include "core/effects/tone_maps.h"
#include "core/effects/warp.h"

namespace fx = core::effects;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 20) return 0;
  std::uint32_t header[4];
  std::memcpy(header, data, sizeof header);
  const std::uint32_t setting = data[16] | data[17] << 8;
  const auto channel = static_cast<fx::Channel>(data[18] % 4);
  const auto layout = fx::LayoutOf(header[0], static_cast<std::int32_t>(header[1]),
                                   static_cast<std::int32_t>(header[2]), header[3]);
  if (!layout || layout->geometry.width > 512 || layout->geometry.height > 512 ||
      layout->imageSize > (1u << 22)) {
    return 0;
  }
  const fx::Geometry& g = layout->geometry;
  std::vector<std::uint8_t> base(layout->imageSize), working(layout->imageSize);
  for (std::size_t i = 0; i < base.size(); ++i) base[i] = data[19 + i % (size - 19)];
  fx::PlacePreview(g.width, g.height);
  const unsigned level = fx::MeanLevel(base.data(), g, channel);
  fx::ApplyByteMap(base.data(), working.data(), g, channel, fx::BrightnessMap(static_cast<int>(setting % 256), level));
  fx::ApplyByteMap(base.data(), working.data(), g, channel, fx::ContrastMap(static_cast<int>(setting % 91), level));
  fx::Sharpen(base.data(), working.data(), g, channel, fx::kDefaultKernel);
  fx::Mosaic(base.data(), working.data(), g, static_cast<int>(setting % 64) + 1);
  const int limit = fx::WarpRadiusLimit(g.width, g.height);
  fx::Warp(base.data(), working.data(), g, limit > 0 ? static_cast<int>(setting) % (2 * limit + 1) - limit : 0);
  return 0;
}

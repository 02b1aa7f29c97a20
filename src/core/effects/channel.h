#pragma once
// The channel box of the effect dialogs and the mean level of an image.
#include <array>
#include <cstdint>

#include "core/effects/image_layout.h"

namespace core::effects {

// In the order of the channel box's items.
enum class Channel { Rgb = 0, Red = 1, Green = 2, Blue = 3 };

// For each of a pixel's bytes (blue, green, red): whether `channel` covers it.
std::array<bool, 3> BytesOf(Channel channel);

// The sum of the covered bytes of every pixel divided by three times the
// pixel count (also for a single channel), rounded down; row padding is not
// counted. 0 for an image without pixels.
unsigned MeanLevel(const std::uint8_t* pixels, const Geometry& geometry, Channel channel);

}  // namespace core::effects

#pragma once
// Brightness and contrast: both change every covered byte through a table of
// 256 results, computed once per slider release from the position and the
// image's mean level L.
#include <array>
#include <cstdint>

#include "core/effects/channel.h"
#include "core/effects/image_layout.h"

namespace core::effects {

using ByteMap = std::array<std::uint8_t, 256>;

// Brightness at slider position P for level L > 0: f = P / L as a 32-bit
// float; a byte b becomes min(255, trunc(b x f)).
ByteMap BrightnessMap(int position, unsigned level);

// Contrast at an angle of P degrees for level L > 0: the slope
// s = tan(P x pi / 180) with pi taken as 3.1415926, as a 32-bit float; the
// offset o = L - L x s, computed in extended precision and stored as a 32-bit
// float; a byte b becomes trunc(b x s + o) held to 0..255.
ByteMap ContrastMap(int angle, unsigned level);

// Writes map[source byte] into `target` for the bytes `channel` covers; the
// other bytes of `target` and its row padding keep their values.
void ApplyByteMap(const std::uint8_t* source, std::uint8_t* target, const Geometry& geometry,
                  Channel channel, const ByteMap& map);

}  // namespace core::effects

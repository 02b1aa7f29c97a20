#pragma once
// Snapshot stills the camera driver asks to be enlarged: a 640x480 frame
// grows to the size of the driver's still-image size code by repeating the
// nearest source pixel.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/capture_format.h"

namespace core {

// The picture size of a still-image size code: 1 800x600, 2 1024x768,
// 3 1280x960; nothing for any other code (no enlargement).
std::optional<FrameSize> StillSizeForCode(int code);

// Copies `src` (24-bit rows of 3 x srcWidth bytes) into `dst` (rows of
// 3 x dstWidth bytes): destination pixel (x, y) takes source pixel
// (x * srcWidth / dstWidth, y * srcHeight / dstHeight). False, with `dst`
// untouched, when a size is not positive or a buffer is too small.
bool EnlargeNearest(const std::uint8_t* src, std::size_t srcBytes, int srcWidth, int srcHeight,
                    std::uint8_t* dst, std::size_t dstBytes, int dstWidth, int dstHeight);

}  // namespace core

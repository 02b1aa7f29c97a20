#pragma once
// JPEG through libjpeg-turbo: decoding into a Picture and encoding one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "picture.h"

namespace zimg {

constexpr int kJpegQuality = 90;

// A baseline or progressive JPEG in colour, greyscale or CMYK; nothing when the
// data are malformed, end early or describe an over-large picture.
std::optional<Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size);

// The picture as a JPEG file at `quality` (1 to 100); nothing on failure.
std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Picture& picture, int quality);

}  // namespace zimg

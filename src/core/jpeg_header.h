#pragma once
// The picture size a JPEG file declares in its frame header, read from the
// file's bytes without decoding anything: a few header bytes may claim a
// picture far larger than any memory, which must be refused before a
// decoder reserves room for it.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace core {

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The width and height of the first frame header (any SOF marker) before
// the picture data; nothing when the bytes are no JPEG file or end first.
std::optional<PictureSize> JpegDeclaredSize(const std::uint8_t* data, std::size_t bytes);

// Pictures the program loads as a whole: both sides 1 to 65535 and at
// most 256 MB of 24-bit rows, the image library's own limits.
bool IsLoadablePictureSize(const PictureSize& size);

}  // namespace core

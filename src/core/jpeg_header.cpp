#include "core/jpeg_header.h"

namespace core {
namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr int kMaxSide = 65535;
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{256} << 20;

// SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and RST0 to RST7.
bool HasNoLength(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

int BigEndian16(const std::uint8_t* p) { return p[0] << 8 | p[1]; }

}  // namespace

std::optional<PictureSize> JpegDeclaredSize(const std::uint8_t* data, std::size_t bytes) {
  if (!data || bytes < 4 || data[0] != kMarker || data[1] != kStartOfImage) return std::nullopt;
  std::size_t at = 2;
  for (;;) {
    if (at >= bytes || data[at] != kMarker) return std::nullopt;
    while (at < bytes && data[at] == kMarker) ++at;  // fill bytes before the marker
    if (at >= bytes) return std::nullopt;
    const std::uint8_t marker = data[at++];
    if (marker == kEndOfImage || marker == kStartOfScan) return std::nullopt;
    if (HasNoLength(marker)) continue;
    if (bytes - at < 2) return std::nullopt;
    const std::size_t length = static_cast<std::size_t>(BigEndian16(data + at));
    if (length < 2 || bytes - at < length) return std::nullopt;
    if (IsFrameHeader(marker)) {
      if (length < 7) return std::nullopt;  // precision, height, width
      return PictureSize{BigEndian16(data + at + 5), BigEndian16(data + at + 3)};
    }
    at += length;
  }
}

bool IsLoadablePictureSize(const PictureSize& size) {
  if (size.width < 1 || size.height < 1 || size.width > kMaxSide || size.height > kMaxSide) return false;
  const std::uint64_t stride = (static_cast<std::uint64_t>(size.width) * 3 + 3) & ~std::uint64_t{3};
  return stride * static_cast<std::uint64_t>(size.height) <= kMaxPixelBytes;
}

}  // namespace core

#include "core/dib_check.h"

namespace core {
namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

const std::uint32_t kRgb = 0;
const std::uint32_t kBitFields = 3;
const int kMaxSide = 32768;

}  // namespace

std::optional<DibLayout> CheckDib(const std::uint8_t* data, std::size_t size) {
  if (!data || size < 40) return std::nullopt;
  const std::uint32_t headerSize = U32(data);
  const auto width = static_cast<std::int32_t>(U32(data + 4));
  const auto rawHeight = static_cast<std::int32_t>(U32(data + 8));
  const int bits = U16(data + 14);
  const std::uint32_t compression = U32(data + 16);
  const std::uint32_t used = U32(data + 32);
  if (headerSize < 40 || headerSize > size || U16(data + 12) != 1) return std::nullopt;
  if (width < 1 || width > kMaxSide || rawHeight == 0 || rawHeight < -kMaxSide ||
      rawHeight > kMaxSide) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  const bool bitFields = compression == kBitFields && (bits == 16 || bits == 32);
  if (compression != kRgb && !bitFields) return std::nullopt;

  DibLayout out{};
  out.width = width;
  out.height = rawHeight < 0 ? -rawHeight : rawHeight;
  out.bitsPerPixel = bits;
  const std::uint32_t maxColours = bits <= 8 ? 1u << bits : 0u;
  if (bits <= 8) {
    if (used > maxColours) return std::nullopt;
    out.colours = used ? used : maxColours;
  } else {
    out.colours = used > 256 ? 0 : used;  // optional table, ignored by drawing
    if (used > 256) return std::nullopt;
  }
  const std::uint64_t masks = (bitFields && headerSize == 40) ? 12 : 0;
  const std::uint64_t offset = headerSize + masks + 4ull * out.colours;
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
  const std::uint64_t pixels = stride * static_cast<std::uint64_t>(out.height);
  if (offset + pixels > size) return std::nullopt;
  out.pixelOffset = static_cast<std::size_t>(offset);
  out.pixelBytes = static_cast<std::size_t>(pixels);
  return out;
}

bool IsFillerFrame(const std::uint8_t* data, std::size_t size) {
  return data && size >= 4 && data[0] == 0x00 && data[1] == 0xFF && data[2] == 0x00 &&
         data[3] == 0xFF;
}

}  // namespace core

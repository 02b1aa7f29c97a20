#include "bmp_codec.h"

#include <algorithm>
#include <array>

namespace zimg {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t U16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  std::size_t pixelOffset = 0;
  std::size_t sourceStride = 0;
  std::array<std::uint8_t, 256 * 3> palette{};  // blue, green, red; unused entries black
};

// Reads the palette (blue, green, red, reserved per entry) that lies between
// the headers and the pixels.
bool ReadPalette(const std::uint8_t* data, std::size_t tableStart, std::uint32_t used,
                 Layout& layout) {
  const std::uint32_t capacity = 1u << layout.bits;
  const std::uint32_t entries = used == 0 ? capacity : used;
  if (entries > capacity || tableStart + std::size_t{entries} * 4 > layout.pixelOffset) return false;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint8_t* e = data + tableStart + i * 4;
    layout.palette[i * 3] = e[0];
    layout.palette[i * 3 + 1] = e[1];
    layout.palette[i * 3 + 2] = e[2];
  }
  return true;
}

// Bit fields of 32-bit pixels that say what uncompressed pixels say. The
// three masks follow the 40-byte header (or lie inside a longer one).
bool PlainMasks(const std::uint8_t* data, std::size_t size) {
  const std::size_t masks = kFileHeaderSize + kInfoHeaderSize;
  if (masks + 12 > size) return false;
  return U32(data + masks) == 0x00FF0000 && U32(data + masks + 4) == 0x0000FF00 &&
         U32(data + masks + 8) == 0x000000FF;
}

std::optional<Layout> ReadLayout(const std::uint8_t* data, std::size_t size) {
  if (size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M') return {};
  const std::uint8_t* info = data + kFileHeaderSize;
  const std::size_t headerSize = U32(info);
  if (headerSize < kInfoHeaderSize || headerSize > size - kFileHeaderSize) return {};

  Layout layout;
  layout.pixelOffset = U32(data + 10);
  const auto width = static_cast<std::int32_t>(U32(info + 4));
  const auto height = static_cast<std::int32_t>(U32(info + 8));
  layout.bits = static_cast<int>(U16(info + 14));
  const std::uint32_t compression = U32(info + 16);
  if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
    return {};
  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.topDown = height < 0;

  std::size_t tableStart = kFileHeaderSize + headerSize;
  switch (layout.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (compression != kUncompressed) return {};
      break;
    case 32:
      if (compression == kBitFields) {
        if (!PlainMasks(data, size)) return {};
        if (headerSize == kInfoHeaderSize) tableStart += 12;
      } else if (compression != kUncompressed) {
        return {};
      }
      break;
    default:
      return {};
  }
  if (layout.pixelOffset < tableStart || layout.pixelOffset > size) return {};
  if (layout.bits <= 8 && !ReadPalette(data, tableStart, U32(info + 32), layout)) return {};

  // Every value here is bounded by kMaxSide, so the sums cannot overflow a
  // 64-bit count.
  layout.sourceStride = (static_cast<std::size_t>(layout.width) * layout.bits + 31) / 32 * 4;
  const std::uint64_t need = static_cast<std::uint64_t>(layout.sourceStride) * layout.height;
  if (need > size - layout.pixelOffset) return {};
  return layout;
}

void ConvertRow(const Layout& layout, const std::uint8_t* src, std::uint8_t* dst) {
  const int width = layout.width;
  switch (layout.bits) {
    case 24:
      std::copy(src, src + static_cast<std::size_t>(width) * 3, dst);
      return;
    case 32:
      for (int x = 0; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
      }
      return;
    default: {
      const int bits = layout.bits;
      const int perByte = 8 / bits;
      const unsigned mask = (1u << bits) - 1;
      for (int x = 0; x < width; ++x, dst += 3) {
        const int shift = 8 - bits * (x % perByte + 1);
        const unsigned index = (src[x / perByte] >> shift) & mask;
        const std::uint8_t* colour = layout.palette.data() + index * 3;
        std::copy(colour, colour + 3, dst);
      }
    }
  }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::optional<Picture> ReadBmp(const std::uint8_t* data, std::size_t size) {
  const std::optional<Layout> layout = ReadLayout(data, size);
  if (!layout) return {};
  Picture picture;
  if (!picture.Allocate(layout->width, layout->height)) return {};
  for (int y = 0; y < layout->height; ++y) {
    const std::uint8_t* src = data + layout->pixelOffset + layout->sourceStride * y;
    // Stored row y is the y-th from the top in a top-down file, from the
    // bottom otherwise.
    const int top = layout->topDown ? y : layout->height - 1 - y;
    ConvertRow(*layout, src, picture.TopRow(top));
  }
  return picture;
}

std::vector<std::uint8_t> WriteBmp(const Picture& picture) {
  const auto pixelBytes = static_cast<std::uint32_t>(picture.pixels.size());
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, offset + pixelBytes);  // file size
  PutU16(out, 0);                    // reserved
  PutU16(out, 0);
  PutU32(out, offset);  // pixel data
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<std::uint32_t>(picture.width));
  PutU32(out, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up
  PutU16(out, 1);                                           // planes
  PutU16(out, 24);                                          // bits per pixel
  PutU32(out, kUncompressed);
  PutU32(out, pixelBytes);  // image size
  PutU32(out, 0);           // horizontal resolution
  PutU32(out, 0);           // vertical resolution
  PutU32(out, 0);           // colours used
  PutU32(out, 0);           // important colours
  out.insert(out.end(), picture.pixels.begin(), picture.pixels.end());
  return out;
}

}  // namespace zimg

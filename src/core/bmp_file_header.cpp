#include "core/bmp_file_header.h"

namespace core {
namespace {

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, 14> BmpFileHeader(std::uint32_t imageBytes) {
  std::array<std::uint8_t, 14> header{};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(&header[2], kBmpPixelOffset + imageBytes);
  PutU32(&header[10], kBmpPixelOffset);
  return header;
}

}  // namespace core

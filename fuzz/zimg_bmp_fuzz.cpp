// Bitmap files read by the image library, and written back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> copy(data, data + size);
  if (const auto picture = zimg::ReadBmp(copy.data(), copy.size())) {
    const std::vector<std::uint8_t> written = zimg::WriteBmp(*picture);
    const auto again = zimg::ReadBmp(written.data(), written.size());
    if (!again || again->pixels != picture->pixels) __builtin_trap();  // round trip
  }
  return 0;
}

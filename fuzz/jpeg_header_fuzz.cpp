// JPEG files of the album before any decoder sees them: the declared size
// is read within the bytes, and what it says is judged without overflow.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/jpeg_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so reading past it is caught.
  const std::vector<std::uint8_t> copy(data, data + size);
  const auto declared = core::JpegDeclaredSize(copy.data(), copy.size());
  if (declared) core::IsLoadablePictureSize(*declared);
  return 0;
}

// Packed bitmaps from files (the album's thumbnails, the editor's pixel
// buffer): the check, then what the program does with a bitmap it accepts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/dib_check.h"
#include "core/dib_rotate.h"
#include "core/picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so reading past it is caught.
  const std::vector<std::uint8_t> copy(data, data + size);
  const auto layout = core::CheckDib(copy.data(), copy.size());
  core::IsFillerFrame(copy.data(), copy.size());
  if (!layout) return 0;
  if (layout->pixelOffset + layout->pixelBytes > copy.size()) __builtin_trap();
  if (layout->bitsPerPixel == 24 && layout->pixelBytes <= (std::size_t{1} << 22) &&
      core::IsEditableArea(layout->width, layout->height)) {
    core::RotateDib24(copy.data() + layout->pixelOffset, layout->width, layout->height, true);
  }
  return 0;
}

#include "picture.h"

#include <new>

namespace zimg {

bool Picture::Allocate(int w, int h) noexcept {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
  const std::size_t bytes = RowStride(w) * static_cast<std::size_t>(h);
  // On a 32-bit target the product of two large sides wraps; dividing back
  // catches that.
  if (bytes / static_cast<std::size_t>(h) != RowStride(w) || bytes > kMaxPixelBytes) return false;
  try {
    pixels.assign(bytes, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

}  // namespace zimg

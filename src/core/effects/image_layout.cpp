#include "core/effects/image_layout.h"

#include <limits>

namespace core::effects {

std::optional<PackedLayout> LayoutOf(std::uint32_t headerSize, std::int32_t width,
                                     std::int32_t height, std::uint32_t imageSize) {
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (headerSize < 40 || width < 0 || height < 0) return std::nullopt;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t rows = stride * static_cast<std::uint64_t>(height);
  if (rows > kLimit) return std::nullopt;
  const std::uint64_t size = imageSize != 0 ? imageSize : rows;
  if (size < rows || headerSize + size > kLimit) return std::nullopt;

  PackedLayout layout;
  layout.geometry = {width, height, static_cast<std::size_t>(stride)};
  layout.imageSize = static_cast<std::uint32_t>(size);
  layout.byteCount = static_cast<std::uint32_t>(headerSize + size);
  return layout;
}

}  // namespace core::effects

#pragma once
// Mosaic: square tiles of one colour each.
#include <cstdint>

#include "core/effects/image_layout.h"

namespace core::effects {

// Lays tiles of tile x tile pixels from the first stored row (the bottom of
// the picture) and the first column; the last tile row and column are cut
// off at the image's edge. Every pixel of a tile in `working` gets the means
// of the tile's blue, green and red bytes in `source`, rounded down. Row
// padding keeps its value. `tile` is at least 1.
void Mosaic(const std::uint8_t* source, std::uint8_t* working, const Geometry& geometry, int tile);

}  // namespace core::effects

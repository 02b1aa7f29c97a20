#pragma once
// Sharpness: a 3 x 3 integer convolution of the base into the working image.
#include <array>
#include <cstdint>

#include "core/effects/channel.h"
#include "core/effects/image_layout.h"

namespace core::effects {

// c0..c8: c0, c1, c2 weigh the stored row before the pixel's (the row below
// it in the picture), c3, c4, c5 its own row, c6, c7, c8 the stored row after
// it; within a row the first weight is for the column to the left.
using Kernel = std::array<std::int32_t, 9>;

inline constexpr Kernel kDefaultKernel{0, -1, 0, -1, 5, -1, 0, -1, 0};

// For every pixel except the outermost rows and columns, and every byte that
// `channel` covers: the weighted sum of the 3 x 3 neighbourhood in `base`, in
// 32-bit arithmetic (wrapping, as 32-bit registers do), held to 0..255.
// Everything else in `working` keeps its value.
void Sharpen(const std::uint8_t* base, std::uint8_t* working, const Geometry& geometry,
             Channel channel, const Kernel& kernel);

}  // namespace core::effects

#pragma once
// Concave-convex: a circular area around the image's centre bulged out
// (positive radius) or pinched in (negative radius).
#include <cstdint>

#include "core/effects/image_layout.h"

namespace core::effects {

// The slider's limit D: half the image's diagonal, cut toward zero.
int WarpRadiusLimit(int width, int height);

// For every pixel (x, y) with 0 < r2 < R2, where r2 = dx^2 + dy^2 is its
// squared distance from the centre (width / 2, height / 2) and R2 = radius^2,
// `working` gets the `source` pixel at (trunc(dx x k + cx), trunc(dy x k + cy)),
// or black when that lies outside the image, with
//   k = 1 / (R2 / (r2 x 0.95))^0.28   for radius > 0 (magnifying), and
//   k = ((R2 / r2) x 0.95)^0.28       for radius < 0 (shrinking).
// Every other pixel is copied unchanged; row padding keeps its value.
void Warp(const std::uint8_t* source, std::uint8_t* working, const Geometry& geometry, int radius);

}  // namespace core::effects

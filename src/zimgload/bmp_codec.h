#pragma once
// Bitmap files: reading the common uncompressed kinds into a Picture, and
// writing the one kind the program relies on.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "picture.h"

namespace zimg {

// A bitmap file of 1, 4, 8, 24 or 32 bits per pixel (32 bits uncompressed or
// with the plain 8-8-8 masks), top-down or bottom-up, with a 40-byte or later
// information header; nothing when the file is anything else or does not
// hold what its headers promise.
std::optional<Picture> ReadBmp(const std::uint8_t* data, std::size_t size);

// A 14-byte file header ("BM", pixel offset 54), a 40-byte information
// header (24 bits, uncompressed, bottom-up) and the rows; no colour table.
std::vector<std::uint8_t> WriteBmp(const Picture& picture);

}  // namespace zimg

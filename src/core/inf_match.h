#pragma once
// Whether an installed copy of a driver information file belongs to the
// camera: its third word names the driver's INF, and the first later word
// that carries a "VID" names the camera's vendor and product.
#include <istream>
#include <string>
#include <string_view>

namespace core {

// A word longer than this keeps only its first kInfTokenChars characters and
// still counts as one word.
inline constexpr std::size_t kInfTokenChars = 255;

// Reads the words of `in` (separated as by C's isspace in the "C" locale).
bool InfNamesCamera(std::istream& in);

// "...\oem3.inf" -> "...\oem3.pnf", the precompiled copy Windows keeps beside
// an installed INF; empty when the path does not end in ".inf".
std::string PrecompiledInfPath(std::string_view infPath);

}  // namespace core

#pragma once
// Bitmaps and packed bitmaps (an information header, an optional colour
// table, the pixel rows), converted row-wise through the DIB functions.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/handles.h"

namespace imaging {

// The information header of a 24-bit bottom-up picture without
// compression, its image size that of the padded rows.
BITMAPINFOHEADER Dib24Header(int width, int height);

// A bitmap file loaded as a section with its own pixels; null when the file
// is missing or not a bitmap the platform can read.
base::Bitmap LoadBitmapFile(const std::wstring& path);

// A bitmap made from a packed bitmap; null when the buffer does not hold a
// whole one.
base::Bitmap BitmapFromPackedDib(const std::uint8_t* dib, std::size_t bytes);

// The picture of a bitmap as a packed 24-bit bottom-up bitmap: 40-byte
// header (image size and resolutions 0), rows padded to 4 bytes. Empty when
// the bitmap cannot be read.
std::vector<std::uint8_t> PackedDib24Of(HBITMAP bitmap);

// A bitmap file of a packed bitmap: the 14-byte file header, then the
// packed bitmap; it replaces `path` only once complete.
bool WritePackedBitmapFile(const std::wstring& path, const std::vector<std::uint8_t>& packed);

// A copy of a bitmap with pixels of its own.
base::Bitmap CopyBitmap(HBITMAP bitmap);

SIZE BitmapSize(HBITMAP bitmap);

}  // namespace imaging

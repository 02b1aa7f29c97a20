#pragma once
// A 24-bit bitmap file whose four quarters have their own colours, so that
// a test can tell from a few pixels where and how it was drawn.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/bmp_file_header.h"

namespace testing_win {

inline constexpr COLORREF kQuadTopLeft = RGB(200, 30, 40);
inline constexpr COLORREF kQuadTopRight = RGB(20, 180, 60);
inline constexpr COLORREF kQuadBottomLeft = RGB(30, 50, 210);
inline constexpr COLORREF kQuadBottomRight = RGB(230, 210, 20);

// Writes the file; width and height should be even.
inline bool WriteQuadBitmap(const std::filesystem::path& path, int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> pixels(static_cast<size_t>(stride) * height);
  for (int row = 0; row < height; ++row) {
    const bool top = row >= height / 2;  // rows are stored bottom up
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      const COLORREF c = top ? (left ? kQuadTopLeft : kQuadTopRight)
                             : (left ? kQuadBottomLeft : kQuadBottomRight);
      std::uint8_t* p = &pixels[static_cast<size_t>(row) * stride + x * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  const auto header = core::BmpFileHeader(info.biSizeImage);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header.data()), header.size());
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace testing_win

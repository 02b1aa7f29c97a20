#pragma once
// A JPEG file of a smooth picture that shows its orientation: red grows to
// the right, green downwards, blue is a blend of both. Written with the
// program's own codec library.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "mjpeg_codec.h"

namespace testing_win {

inline bool WriteGradientJpeg(const std::filesystem::path& path, int width, int height) {
  const std::size_t stride = lumjpeg::DibBytes(width, 1);
  std::vector<std::uint8_t> pixels(lumjpeg::DibBytes(width, height));
  for (int y = 0; y < height; ++y) {  // y counts from the top; rows are stored bottom up
    std::uint8_t* row = &pixels[static_cast<std::size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 2] = static_cast<std::uint8_t>(x * 255 / (width - 1));
      row[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / (height - 1));
      row[x * 3 + 0] = static_cast<std::uint8_t>((x + y) * 255 / (width + height - 2));
    }
  }
  std::vector<std::uint8_t> jpeg(lumjpeg::MaxJpegBytes(width, height));
  const std::size_t size =
      lumjpeg::EncodeFrame(pixels.data(), width, height, true, 90, jpeg.data(), jpeg.size());
  if (size == 0) return false;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(size));
  return true;
}

}  // namespace testing_win

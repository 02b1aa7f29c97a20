#pragma once
// What the ZImgLoad.dll tests share: the library loaded by full path from the
// test program's folder, files in a fresh folder, and bitmap files built
// field by field.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "zimgload.h"

namespace zimg_test {

using Bytes = std::vector<std::uint8_t>;

class Library {
 public:
  static HMODULE Module();
  static void* Load(const std::filesystem::path& file);
  // The low byte of ZSaveImg's result, the part callers test.
  static int Save(void* picture, const std::filesystem::path& file, int format);
};

Bytes ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const Bytes& bytes);
// A file copied beside the test program by the build.
std::filesystem::path DataFile(const wchar_t* name);

void PutU16(Bytes& out, std::uint32_t v);
void PutU32(Bytes& out, std::uint32_t v);

// A bitmap file: 14-byte file header, 40-byte information header, then
// `extra` (bit masks, colour table) and the stored rows as given.
struct BmpSpec {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative for top-down
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  Bytes extra;
  Bytes rows;
};
Bytes BuildBmp(const BmpSpec& spec);

// A w x h 24-bit bottom-up file whose rows hold smooth colour ramps,
// padded with `padding` bytes.
BmpSpec PatternBmp(int width, int height, std::uint8_t padding = 0);
// The blue, green, red bytes of pixel (x, y), y counted from the top, of a
// 24-bit bottom-up bitmap file.
const std::uint8_t* PixelOf(const Bytes& bmp, int x, int y);

}  // namespace zimg_test

#pragma once
// Picture files as the tests write and read them: 24-bit bitmap files of a
// pattern whose pixels tell where they came from, and conversions through
// the program's own image library (ZImgLoad.dll of the bin folder).
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// A 24-bit picture, rows top-down, 3 bytes (blue, green, red) a pixel.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgr;
  bool operator==(const Picture&) const = default;
  unsigned char* At(int x, int y) { return &bgr[static_cast<size_t>((y * width + x) * 3)]; }
  const unsigned char* At(int x, int y) const {
    return &bgr[static_cast<size_t>((y * width + x) * 3)];
  }
};

// Pixel (x, y) is blue x * 5, green y * 7, red 100.
Picture Pattern(int width, int height);
size_t Stride(int width);
// A 24-bit bottom-up bitmap file, padded with zero bytes to `fileBytes`
// when that is larger than the picture needs.
void WriteBmp(const std::filesystem::path& path, const Picture& p, size_t fileBytes = 0);
// A 24-bit bottom-up bitmap file with a 40-byte header; empty otherwise.
Picture ReadBmp(const std::filesystem::path& path);
// The names in `folder` that match `pattern` ("*.bmp", say), in the order the
// file system lists them: the order of the album's file list for each kind
// and of the editor's folder list.
std::vector<std::wstring> NamesInFolderOrder(const std::filesystem::path& folder, const wchar_t* pattern);
// `format` 0 writes a bitmap file, 1 a JPEG file.
bool ConvertWithLibrary(const std::filesystem::path& from, const std::filesystem::path& to, int format);

}  // namespace e2e

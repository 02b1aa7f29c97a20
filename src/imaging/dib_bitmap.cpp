#include "imaging/dib_bitmap.h"

#include <cstring>

#include "base/file_io.h"
#include "core/bmp_file_header.h"
#include "core/dib_check.h"
#include "core/dib_rotate.h"

namespace imaging {

BITMAPINFOHEADER Dib24Header(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(core::Dib24Stride(width) * static_cast<std::size_t>(height < 0 ? -height : height));
  return header;
}

base::Bitmap LoadBitmapFile(const std::wstring& path) {
  return base::Bitmap(static_cast<HBITMAP>(
      ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

base::Bitmap BitmapFromPackedDib(const std::uint8_t* dib, std::size_t bytes) {
  const auto layout = core::CheckDib(dib, bytes);
  if (!layout) return {};
  void* bits = nullptr;
  base::Bitmap bitmap(::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(dib),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  ::GdiFlush();
  std::memcpy(bits, dib + layout->pixelOffset, layout->pixelBytes);
  return bitmap;
}

std::vector<std::uint8_t> PackedDib24Of(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return {};
  const std::size_t pixelBytes = core::Dib24Stride(size.cx) * static_cast<std::size_t>(size.cy);
  std::vector<std::uint8_t> packed(sizeof(BITMAPINFOHEADER) + pixelBytes);
  BITMAPINFOHEADER header = Dib24Header(size.cx, size.cy);
  header.biSizeImage = 0;  // the packed form keeps 0 there
  BITMAPINFO info{};
  info.bmiHeader = header;
  const base::WindowDc screen(nullptr);
  const int rows = ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(size.cy),
                               packed.data() + sizeof header, &info, DIB_RGB_COLORS);
  if (rows != size.cy) return {};
  std::memcpy(packed.data(), &header, sizeof header);
  return packed;
}

bool WritePackedBitmapFile(const std::wstring& path, const std::vector<std::uint8_t>& packed) {
  const auto layout = core::CheckDib(packed.data(), packed.size());
  if (!layout) return false;
  const auto header = core::BmpFileHeader(static_cast<std::uint32_t>(packed.size() - 40));
  std::vector<std::uint8_t> file(header.size() + packed.size());
  std::memcpy(file.data(), header.data(), header.size());
  std::memcpy(file.data() + header.size(), packed.data(), packed.size());
  return base::ReplaceFileWith(path, file);
}

base::Bitmap CopyBitmap(HBITMAP bitmap) {
  const std::vector<std::uint8_t> packed = PackedDib24Of(bitmap);
  return BitmapFromPackedDib(packed.data(), packed.size());
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

}  // namespace imaging

#include "album/thumbnail_maker.h"

#include <new>
#include <vector>

#include "album/clip_frame.h"
#include "album/picture_file.h"
#include "base/com_ptr.h"
#include "core/dib_check.h"
#include "jpeg_thumbnail.h"

namespace {

constexpr LONGLONG kMaxPictureFile = 256 << 20;  // as the picture object takes them

Thumbnail Made(base::Bitmap bitmap, ThumbnailStatus failure = ThumbnailStatus::kEmpty) {
  Thumbnail t;
  t.status = bitmap ? ThumbnailStatus::kMade : failure;
  t.bitmap = std::move(bitmap);
  return t;
}

// The header of a picture of 32-bit pixels stored top row first.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// A new 32-bit picture of the box's size, drawn by `draw` (false: failed).
// Flushed before it is handed on, as the drawing thread may not be the one
// that paints it.
template <class Draw>
base::Bitmap DrawnBitmap(SIZE box, Draw draw) {
  const BITMAPINFO bi = TopDown32(box.cx, box.cy);
  void* bits = nullptr;
  base::Bitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  base::MemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return {};
  {
    base::SelectScope select(dc.Get(), bitmap.Get());
    ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
    if (!draw(dc.Get())) return {};
  }
  ::GdiFlush();
  return bitmap;
}

// The length of the packed bitmap behind the file header, as its size field
// gives it, or the reason there is none.
BitmapFileCheck CheckOpenBitmapFile(HANDLE file, DWORD& dibBytes) {
  BYTE header[14];
  DWORD read = 0;
  LARGE_INTEGER actual{};
  if (!::ReadFile(file, header, sizeof header, &read, nullptr) || read != sizeof header ||
      !::GetFileSizeEx(file, &actual)) {
    return BitmapFileCheck::kReadFailed;
  }
  const DWORD fileSize =
      header[2] | header[3] << 8 | header[4] << 16 | static_cast<DWORD>(header[5]) << 24;
  if (fileSize <= sizeof header) return BitmapFileCheck::kNoBitmap;
  // A size field beyond the real file is a truncated file, not a request to
  // read whatever the field says.
  if (fileSize > actual.QuadPart) return BitmapFileCheck::kReadFailed;
  dibBytes = fileSize - sizeof header;
  return BitmapFileCheck::kReadable;
}

base::FileHandle OpenForReading(const std::wstring& path) {
  return base::FileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
}

// The file is mapped rather than read: stretching touches only the rows it
// keeps, and nothing is copied.
Thumbnail FromBitmapFile(const std::wstring& path, SIZE box) {
  base::FileHandle file = OpenForReading(path);
  DWORD dibBytes = 0;
  if (!file || CheckOpenBitmapFile(file.Get(), dibBytes) != BitmapFileCheck::kReadable) return {};
  base::KernelHandle mapping(
      ::CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return {};
  base::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return {};
  const auto* data = static_cast<const BYTE*>(view.Get()) + 14;
  const auto layout = core::CheckDib(data, dibBytes);
  if (!layout) return {};  // malformed: the cell stays empty
  const auto* info = reinterpret_cast<const BITMAPINFO*>(data);
  const BYTE* pixels = data + layout->pixelOffset;
  if (layout->bitsPerPixel == 1) {
    base::WindowDc screen(nullptr);
    return Made(base::Bitmap(::CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, pixels,
                                              info, DIB_RGB_COLORS)));
  }
  return Made(DrawnBitmap(box, [&](HDC dc) {
    return ::StretchDIBits(dc, 0, 0, box.cx, box.cy, 0, 0, layout->width, layout->height, pixels,
                           info, DIB_RGB_COLORS, SRCCOPY) > 0;
  }));
}

Thumbnail FromClip(const std::wstring& path, SIZE box) {
  ClipFrame clip = LoadClipFrame(path);
  BITMAP bm{};
  if (!clip.bitmap || !::GetObjectW(clip.bitmap.Get(), sizeof bm, &bm)) return {};
  base::MemoryDc source(::CreateCompatibleDC(nullptr));
  if (!source) return {};
  base::SelectScope select(source.Get(), clip.bitmap.Get());
  Thumbnail t = Made(DrawnBitmap(box, [&](HDC dc) {
    return ::StretchBlt(dc, 0, 0, box.cx, box.cy, source.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                        SRCCOPY) != FALSE;
  }));
  t.streams = clip.streams;
  return t;
}

// Through the platform's picture object: what libjpeg does not read (CMYK,
// or another picture format under a .jpg name) still shows as it did.
Thumbnail FromPictureObject(const std::wstring& path, SIZE box) {
  base::ComPtr<IPicture> picture;
  const PictureLoad load = LoadPictureFile(path, picture);
  if (load != PictureLoad::kLoaded) {
    Thumbnail t;
    if (load == PictureLoad::kCannotOpen) t.status = ThumbnailStatus::kCannotOpen;
    return t;
  }
  return Made(DrawnBitmap(box,
                          [&](HDC dc) {
                            return SUCCEEDED(RenderWhole(*picture.Get(), dc, box.cx, box.cy));
                          }),
              ThumbnailStatus::kRenderFailed);
}

// Decoded at the smallest scale that still fills the box.
Thumbnail FromPicture(const std::wstring& path, SIZE box, const std::atomic<bool>* cancel) {
  std::vector<BYTE> data;
  {
    base::FileHandle file = OpenForReading(path);
    if (!file) {
      Thumbnail t;
      t.status = ThumbnailStatus::kCannotOpen;
      return t;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxPictureFile) {
      return {};
    }
    try {
      data.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      return {};
    }
    DWORD read = 0;
    if (!::ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
        read != data.size()) {
      return {};
    }
  }
  lumjpeg::ScaledPicture scaled;
  if (!lumjpeg::DecodeScaled(data.data(), data.size(), box.cx, box.cy, cancel, scaled)) {
    if (cancel && cancel->load()) return {};
    return FromPictureObject(path, box);
  }
  const BITMAPINFO bi = TopDown32(scaled.width, scaled.height);
  return Made(DrawnBitmap(box,
                          [&](HDC dc) {
                            return ::StretchDIBits(dc, 0, 0, box.cx, box.cy, 0, 0, scaled.width,
                                                   scaled.height, scaled.pixels.data(), &bi,
                                                   DIB_RGB_COLORS, SRCCOPY) > 0;
                          }),
              ThumbnailStatus::kRenderFailed);
}

}  // namespace

BitmapFileCheck CheckBitmapFile(const std::wstring& path) {
  base::FileHandle file = OpenForReading(path);
  DWORD dibBytes = 0;
  return file ? CheckOpenBitmapFile(file.Get(), dibBytes) : BitmapFileCheck::kNoBitmap;
}

Thumbnail MakeThumbnail(const std::wstring& path, ThumbnailSource source, SIZE box,
                        const std::atomic<bool>* cancel) {
  switch (source) {
    case ThumbnailSource::kBitmapFile:
      return FromBitmapFile(path, box);
    case ThumbnailSource::kClip:
      return FromClip(path, box);
    case ThumbnailSource::kPicture:
      return FromPicture(path, box, cancel);
  }
  return {};
}

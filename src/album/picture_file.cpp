#include "album/picture_file.h"

#include <cstdint>

#include "base/message_box.h"
#include "base/strings.h"
#include "core/jpeg_header.h"
#include "res/resource.h"

namespace {

// Bytes that start like a JPEG file must declare a picture the program can
// hold; other pictures are left to the picture object.
bool LoadableJpegOrOther(const std::uint8_t* data, std::size_t bytes) {
  if (bytes < 2 || data[0] != 0xFF || data[1] != 0xD8) return true;
  const auto size = core::JpegDeclaredSize(data, bytes);
  return size && core::IsLoadablePictureSize(*size);
}

}  // namespace

PictureLoad LoadPictureFile(const std::wstring& path, base::ComPtr<IPicture>& picture) {
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file) return PictureLoad::kCannotOpen;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 256 << 20) {
    return PictureLoad::kNotAPicture;
  }
  const DWORD bytes = static_cast<DWORD>(size.QuadPart);
  base::GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return PictureLoad::kNotAPicture;
  DWORD read = 0;
  {
    void* p = ::GlobalLock(memory.Get());
    const BOOL ok = p && ::ReadFile(file.Get(), p, bytes, &read, nullptr);
    // A JPEG file is judged by the size its header declares before the
    // platform's decoder reserves room for the picture.
    const auto* data = static_cast<const std::uint8_t*>(p);
    const bool loadable = ok && read == bytes && LoadableJpegOrOther(data, bytes);
    ::GlobalUnlock(memory.Get());
    if (!loadable) return PictureLoad::kNotAPicture;
  }
  base::ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Put()))) return PictureLoad::kNotAPicture;
  memory.Release();  // the stream owns the memory now
  picture.Reset();
  if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                              picture.PutVoid())) ||
      !picture) {
    picture.Reset();
    return PictureLoad::kNotAPicture;
  }
  return PictureLoad::kLoaded;
}

HRESULT RenderWhole(IPicture& picture, HDC dc, int width, int height) {
  OLE_XSIZE_HIMETRIC cx = 0;
  OLE_YSIZE_HIMETRIC cy = 0;
  picture.get_Width(&cx);
  picture.get_Height(&cy);
  // Picture units run upwards: the source starts at the top edge (cy).
  return picture.Render(dc, 0, 0, width, height, 0, cy, cx, -cy, nullptr);
}

base::Bitmap LoadPictureBitmap(const std::wstring& path, HWND owner) {
  base::ComPtr<IPicture> picture;
  switch (LoadPictureFile(path, picture)) {
    case PictureLoad::kCannotOpen:
      base::ShowMessageBox(owner, base::LoadResString(IDS_CELL_OPEN_FAILED));
      return {};
    case PictureLoad::kNotAPicture:
      base::ShowMessageBox(owner, base::LoadResString(IDS_PREVIEW_LOAD_FAILED));
      return {};
    case PictureLoad::kLoaded:
      break;
  }
  OLE_XSIZE_HIMETRIC cx = 0;
  OLE_YSIZE_HIMETRIC cy = 0;
  picture->get_Width(&cx);
  picture->get_Height(&cy);
  const base::WindowDc screen(nullptr);
  // HIMETRIC to pixels at the screen's resolution.
  const int w = ::MulDiv(cx, ::GetDeviceCaps(screen.Get(), LOGPIXELSX), 2540);
  const int h = ::MulDiv(cy, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 2540);
  base::Bitmap bitmap(::CreateCompatibleBitmap(screen.Get(), w > 0 ? w : 1, h > 0 ? h : 1));
  base::MemoryDc dc(::CreateCompatibleDC(screen.Get()));
  if (!bitmap || !dc) return {};
  base::SelectScope select(dc.Get(), bitmap.Get());
  if (FAILED(RenderWhole(*picture.Get(), dc.Get(), w, h))) {
    base::ShowMessageBox(owner, base::LoadResString(IDS_CELL_RENDER_FAILED));
    return {};
  }
  return bitmap;
}

#include "album/clip_frame.h"

#include <vfw.h>

#include <vector>

#include "base/com_ptr.h"
#include "core/dib_check.h"

namespace {

// AVIFileInit ... AVIFileExit around one use of the service.
class AviLibrary {
 public:
  AviLibrary() { ::AVIFileInit(); }
  ~AviLibrary() { ::AVIFileExit(); }
  AviLibrary(const AviLibrary&) = delete;
  AviLibrary& operator=(const AviLibrary&) = delete;
};

// Whether the stream's index holds a frame with data at `frame`. A clip cut
// short claims more frames in its header than its index has; reading such a
// frame is refused here rather than left to the AVI service.
bool Indexed(PAVISTREAM stream, LONG frame) {
  return ::AVIStreamFindSample(stream, frame, FIND_ANY | FIND_NEXT) == frame;
}

// Filler frames, and frames that cannot be read, are passed over.
bool IsFiller(PAVISTREAM stream, LONG frame, std::vector<BYTE>& buffer) {
  if (!Indexed(stream, frame)) return true;
  LONG bytes = 0;
  if (::AVIStreamRead(stream, frame, 1, nullptr, 0, &bytes, nullptr) != 0 || bytes <= 0) {
    return false;
  }
  buffer.resize(static_cast<std::size_t>(bytes));
  if (::AVIStreamRead(stream, frame, 1, buffer.data(), bytes, &bytes, nullptr) != 0) return false;
  return core::IsFillerFrame(buffer.data(), static_cast<std::size_t>(bytes));
}

// A decoded frame as a packed DIB checked to lie within its own size.
const BITMAPINFOHEADER* DecodedFrame(PGETFRAME getFrame, LONG frame, std::size_t& size) {
  const auto* bih = static_cast<const BITMAPINFOHEADER*>(::AVIStreamGetFrame(getFrame, frame));
  if (!bih || bih->biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  const std::size_t stride =
      ((static_cast<std::size_t>(bih->biWidth) * bih->biBitCount + 31) / 32) * 4;
  const LONG rows = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
  size = bih->biSize + 4u * bih->biClrUsed + stride * static_cast<std::size_t>(rows) +
         (bih->biCompression == BI_BITFIELDS ? 12 : 0);
  if (!core::CheckDib(reinterpret_cast<const std::uint8_t*>(bih), size)) return nullptr;
  return bih;
}

bool BlackFirstPixel(const BITMAPINFOHEADER* bih, std::size_t size) {
  const auto layout = core::CheckDib(reinterpret_cast<const std::uint8_t*>(bih), size);
  if (!layout || layout->pixelBytes < 3) return false;
  const auto* p = reinterpret_cast<const BYTE*>(bih) + layout->pixelOffset;
  return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

}  // namespace

ClipFrame LoadClipFrame(const std::wstring& path, ClipFrameSearch search) {
  ClipFrame out;
  AviLibrary library;
  base::ComPtr<IAVIFile> file;
  if (::AVIFileOpenW(file.Put(), path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0) {
    return out;
  }
  AVIFILEINFOW info{};
  if (::AVIFileInfoW(file.Get(), &info, sizeof info) == 0)
    out.streams = static_cast<int>(info.dwStreams);
  base::ComPtr<IAVIStream> stream;
  if (::AVIFileGetStream(file.Get(), stream.Put(), streamtypeVIDEO, 0) != 0) return out;

  std::vector<BYTE> raw;
  const LONG length = ::AVIStreamLength(stream.Get());
  const bool thumbnail = search == ClipFrameSearch::kThumbnail;
  const LONG frame = core::FirstUsableFrame(
      thumbnail ? 90 : 100, [&](int i) { return i < length && IsFiller(stream.Get(), i, raw); });
  if (!Indexed(stream.Get(), frame)) return out;

  BITMAPINFOHEADER want{};
  want.biSize = sizeof want;
  want.biPlanes = 1;
  want.biBitCount = 24;
  want.biCompression = BI_RGB;
  AVISTREAMINFOW si{};
  if (::AVIStreamInfoW(stream.Get(), &si, sizeof si) == 0) {
    want.biWidth = si.rcFrame.right - si.rcFrame.left;
    want.biHeight = si.rcFrame.bottom - si.rcFrame.top;
  }
  PGETFRAME getFrame = ::AVIStreamGetFrameOpen(stream.Get(), want.biWidth > 0 ? &want : nullptr);
  if (!getFrame) getFrame = ::AVIStreamGetFrameOpen(stream.Get(), nullptr);
  if (!getFrame) return out;
  auto closer = base::ComPtr<IGetFrame>::Attach(getFrame);

  std::size_t size = 0;
  const BITMAPINFOHEADER* bih = DecodedFrame(getFrame, frame, size);
  if (thumbnail && bih && BlackFirstPixel(bih, size) && Indexed(stream.Get(), frame + 1)) {
    bih = DecodedFrame(getFrame, frame + 1, size);
  }
  if (!bih) return out;
  const auto layout = core::CheckDib(reinterpret_cast<const std::uint8_t*>(bih), size);
  base::WindowDc screen(nullptr);
  out.bitmap.Reset(::CreateDIBitmap(screen.Get(), bih, CBM_INIT,
                                    reinterpret_cast<const BYTE*>(bih) + layout->pixelOffset,
                                    reinterpret_cast<const BITMAPINFO*>(bih), DIB_RGB_COLORS));
  return out;
}

#include "driver_proc.h"

// Needs the types of windows.h.
#include <vfw.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "mjpeg_codec.h"

namespace lumjpeg {
namespace {

constexpr DWORD kVersion = 0x00010000;
constexpr DWORD kDefaultQuality = 7500;

// One opened driver instance; it holds nothing between frames but proves
// the instance is ours.
struct Instance {
  DWORD magic = kFourcc;
};

bool IsInstance(DWORD_PTR id) {
  return id != 0 && reinterpret_cast<Instance*>(id)->magic == kFourcc;
}

// The uncompressed side: 24-bit RGB, either row order.
bool IsRgbFrame(const BITMAPINFOHEADER* h) {
  return h && h->biCompression == BI_RGB && h->biBitCount == 24 && h->biPlanes == 1 &&
         IsFrameSize(h->biWidth, h->biHeight < 0 ? -h->biHeight : h->biHeight);
}

bool IsJpegFrame(const BITMAPINFOHEADER* h) {
  return h && h->biCompression == kFourcc && h->biHeight > 0 &&
         IsFrameSize(h->biWidth, h->biHeight);
}

int AbsHeight(const BITMAPINFOHEADER* h) { return h->biHeight < 0 ? -h->biHeight : h->biHeight; }

const BITMAPINFOHEADER* Header(LPARAM p) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(p);
  return info ? &info->bmiHeader : nullptr;
}

BITMAPINFOHEADER* MutableHeader(LPARAM p) {
  auto* info = reinterpret_cast<BITMAPINFO*>(p);
  return info ? &info->bmiHeader : nullptr;
}

LRESULT GetInfo(ICINFO* info, LPARAM bytes) {
  if (!info || static_cast<size_t>(bytes) < sizeof(ICINFO)) return 0;
  std::memset(info, 0, sizeof *info);
  info->dwSize = sizeof *info;
  info->fccType = ICTYPE_VIDEO;
  info->fccHandler = kFourcc;
  info->dwFlags = VIDCF_QUALITY;
  info->dwVersion = kVersion;
  info->dwVersionICM = ICVERSION;
  std::wcsncpy(info->szName, kName, 15);
  std::wcsncpy(info->szDescription, kName, 127);
  return sizeof *info;
}

LRESULT CompressQuery(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
  if (!IsRgbFrame(in)) return ICERR_BADFORMAT;
  if (out && (!IsJpegFrame(out) || out->biWidth != in->biWidth || out->biHeight != AbsHeight(in))) {
    return ICERR_BADFORMAT;
  }
  return ICERR_OK;
}

void FillHeader(BITMAPINFOHEADER* h, int width, int height, DWORD compression, DWORD imageBytes) {
  std::memset(h, 0, sizeof *h);
  h->biSize = sizeof *h;
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = 24;
  h->biCompression = compression;
  h->biSizeImage = imageBytes;
}

LRESULT CompressGetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
  if (!out) return sizeof(BITMAPINFOHEADER);
  if (!IsRgbFrame(in)) return ICERR_BADFORMAT;
  const int height = AbsHeight(in);
  FillHeader(out, in->biWidth, height, kFourcc,
             static_cast<DWORD>(MaxJpegBytes(in->biWidth, height)));
  return ICERR_OK;
}

LRESULT Compress(ICCOMPRESS* c) {
  if (!c || !IsRgbFrame(c->lpbiInput) || !c->lpbiOutput || !c->lpInput || !c->lpOutput) {
    return ICERR_BADPARAM;
  }
  const BITMAPINFOHEADER& in = *c->lpbiInput;
  const int height = AbsHeight(&in);
  const std::size_t written =
      EncodeFrame(static_cast<const std::uint8_t*>(c->lpInput), in.biWidth, height, in.biHeight > 0,
                  JpegQuality(c->dwQuality), static_cast<std::uint8_t*>(c->lpOutput),
                  MaxJpegBytes(in.biWidth, height));
  if (written == 0) return ICERR_ERROR;
  FillHeader(c->lpbiOutput, in.biWidth, height, kFourcc, static_cast<DWORD>(written));
  if (c->lpdwFlags) *c->lpdwFlags = AVIIF_KEYFRAME;
  if (c->lpckid) *c->lpckid = mmioFOURCC('0', '0', 'd', 'c');
  return ICERR_OK;
}

LRESULT DecompressQuery(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
  if (!IsJpegFrame(in)) return ICERR_BADFORMAT;
  if (out && (!IsRgbFrame(out) || out->biWidth != in->biWidth || AbsHeight(out) != in->biHeight)) {
    return ICERR_BADFORMAT;
  }
  return ICERR_OK;
}

LRESULT DecompressGetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
  if (!out) return sizeof(BITMAPINFOHEADER);
  if (!IsJpegFrame(in)) return ICERR_BADFORMAT;
  FillHeader(out, in->biWidth, in->biHeight, BI_RGB,
             static_cast<DWORD>(DibBytes(in->biWidth, in->biHeight)));
  return ICERR_OK;
}

LRESULT Decompress(const ICDECOMPRESS* d, LPARAM bytes) {
  if (!d || static_cast<size_t>(bytes) < sizeof(ICDECOMPRESS) || !IsJpegFrame(d->lpbiInput) ||
      !IsRgbFrame(d->lpbiOutput) || !d->lpInput || !d->lpOutput) {
    return ICERR_BADPARAM;
  }
  const BITMAPINFOHEADER& out = *d->lpbiOutput;
  const int height = AbsHeight(&out);
  const bool ok = DecodeFrame(
      static_cast<const std::uint8_t*>(d->lpInput), d->lpbiInput->biSizeImage, out.biWidth, height,
      out.biHeight > 0, static_cast<std::uint8_t*>(d->lpOutput), DibBytes(out.biWidth, height));
  return ok ? ICERR_OK : ICERR_ERROR;
}

LRESULT OnOpen(LPARAM lParam2) {
  auto* open = reinterpret_cast<ICOPEN*>(lParam2);
  // Opened without a record: the driver itself (configuration); with one,
  // only as a video compressor.
  if (open && open->fccType != ICTYPE_VIDEO) return 0;
  auto* instance = new (std::nothrow) Instance;
  if (open) open->dwError = instance ? ICERR_OK : ICERR_MEMORY;
  return reinterpret_cast<LRESULT>(instance);
}

LRESULT Dispatch(DWORD_PTR id, HDRVR driver, UINT message, LPARAM lParam1, LPARAM lParam2) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_INSTALL:
    case DRV_REMOVE:
      return DRV_OK;
    case DRV_OPEN:
      return OnOpen(lParam2);
    case DRV_CLOSE:
      if (IsInstance(id)) delete reinterpret_cast<Instance*>(id);
      return DRV_OK;
    case DRV_QUERYCONFIGURE:
      return 0;  // nothing to configure
    case DRV_CONFIGURE:
      return DRVCNF_OK;
  }
  if (message < DRV_USER) return ::DefDriverProc(id, driver, message, lParam1, lParam2);
  if (!IsInstance(id)) return ICERR_BADHANDLE;
  switch (message) {
    case ICM_GETINFO:
      return GetInfo(reinterpret_cast<ICINFO*>(lParam1), lParam2);
    case ICM_GETDEFAULTQUALITY:
      if (!lParam1) return ICERR_BADPARAM;
      *reinterpret_cast<DWORD*>(lParam1) = kDefaultQuality;
      return ICERR_OK;
    case ICM_GETDEFAULTKEYFRAMERATE:
      if (!lParam1) return ICERR_BADPARAM;
      *reinterpret_cast<DWORD*>(lParam1) = 1;
      return ICERR_OK;
    case ICM_COMPRESS_QUERY:
      return CompressQuery(Header(lParam1), Header(lParam2));
    case ICM_COMPRESS_GET_FORMAT:
      return CompressGetFormat(Header(lParam1), MutableHeader(lParam2));
    case ICM_COMPRESS_GET_SIZE: {
      const BITMAPINFOHEADER* in = Header(lParam1);
      if (!IsRgbFrame(in)) return 0;
      return static_cast<LRESULT>(MaxJpegBytes(in->biWidth, AbsHeight(in)));
    }
    case ICM_COMPRESS_BEGIN:
      return CompressQuery(Header(lParam1), Header(lParam2));
    case ICM_COMPRESS:
      return Compress(reinterpret_cast<ICCOMPRESS*>(lParam1));
    case ICM_COMPRESS_END:
    case ICM_DECOMPRESS_END:
      return ICERR_OK;
    case ICM_DECOMPRESS_QUERY:
      return DecompressQuery(Header(lParam1), Header(lParam2));
    case ICM_DECOMPRESS_GET_FORMAT:
      return DecompressGetFormat(Header(lParam1), MutableHeader(lParam2));
    case ICM_DECOMPRESS_BEGIN:
      return DecompressQuery(Header(lParam1), Header(lParam2));
    case ICM_DECOMPRESS:
      return Decompress(reinterpret_cast<const ICDECOMPRESS*>(lParam1), lParam2);
    default:
      return ICERR_UNSUPPORTED;
  }
}

}  // namespace

// No exception leaves the driver: allocation failures are reported as codes.
LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM lParam1,
                            LPARAM lParam2) {
  try {
    return Dispatch(id, driver, message, lParam1, lParam2);
  } catch (...) {
    return ICERR_INTERNAL;
  }
}

}  // namespace lumjpeg

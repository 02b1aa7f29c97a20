// A video compressor that takes 24-bit frames when asked and then refuses
// every frame it is given: what a broken or mismatched codec does to a
// recording. A test registers it as the Drivers32 value "vidc.rfse".
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <cstring>
#include <cwchar>

namespace {

constexpr DWORD kFourcc = mmioFOURCC('r', 'f', 's', 'e');

bool Takes(const BITMAPINFOHEADER* in) {
  return in && in->biCompression == BI_RGB && in->biBitCount == 24 && in->biWidth > 0;
}

LRESULT GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
  if (!out) return sizeof(BITMAPINFOHEADER);
  if (!Takes(in)) return ICERR_BADFORMAT;
  *out = *in;
  out->biCompression = kFourcc;
  return ICERR_OK;
}

}  // namespace

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM lParam1,
                                       LPARAM lParam2) {
  static int instance;
  const auto* in = lParam1 ? &reinterpret_cast<const BITMAPINFO*>(lParam1)->bmiHeader : nullptr;
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE:
      return DRV_OK;
    case DRV_OPEN:
      return reinterpret_cast<LRESULT>(&instance);
    case ICM_GETINFO: {
      auto* info = reinterpret_cast<ICINFO*>(lParam1);
      if (!info) return 0;
      std::memset(info, 0, sizeof *info);
      info->dwSize = sizeof *info;
      info->fccType = ICTYPE_VIDEO;
      info->fccHandler = kFourcc;
      std::wcscpy(info->szName, L"refusing");
      std::wcscpy(info->szDescription, L"refusing");
      return sizeof *info;
    }
    case ICM_COMPRESS_QUERY:
    case ICM_COMPRESS_BEGIN:
      return Takes(in) ? ICERR_OK : ICERR_BADFORMAT;
    case ICM_COMPRESS_GET_FORMAT:
      return GetFormat(in, lParam2 ? &reinterpret_cast<BITMAPINFO*>(lParam2)->bmiHeader : nullptr);
    case ICM_COMPRESS_GET_SIZE:
      return Takes(in) ? static_cast<LRESULT>(in->biSizeImage) : 0;
    case ICM_COMPRESS:
      return ICERR_ERROR;  // every frame
    case ICM_COMPRESS_END:
      return ICERR_OK;
  }
  return message < DRV_USER ? ::DefDriverProc(id, driver, message, lParam1, lParam2)
                            : ICERR_UNSUPPORTED;
}

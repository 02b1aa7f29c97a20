#include "dshow/media_type.h"

#include <cstring>

namespace dshow {

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat != 0 || mt.pbFormat) ::CoTaskMemFree(mt.pbFormat);
  if (mt.pUnk) mt.pUnk->Release();  // the record owns this reference by contract
  mt = AM_MEDIA_TYPE{};
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaType(*mt);
  ::CoTaskMemFree(mt);
}

bool CopyMediaType(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src) {
  dst = src;
  dst.pbFormat = nullptr;
  if (src.cbFormat != 0 && src.pbFormat) {
    dst.pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(src.cbFormat));
    if (!dst.pbFormat) {
      dst = AM_MEDIA_TYPE{};
      return false;
    }
    std::memcpy(dst.pbFormat, src.pbFormat, src.cbFormat);
  } else {
    dst.cbFormat = 0;
  }
  if (dst.pUnk) dst.pUnk->AddRef();  // the copy owns a reference of its own
  return true;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE& src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(::CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (!CopyMediaType(*mt, src)) {
    ::CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

bool SameMediaType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
  return a.majortype == b.majortype && a.subtype == b.subtype && a.formattype == b.formattype &&
         a.cbFormat == b.cbFormat &&
         (a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0);
}

bool MatchesPartial(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE* pattern) {
  if (!pattern) return true;
  if (pattern->majortype != GUID_NULL && pattern->majortype != candidate.majortype) return false;
  if (pattern->subtype != GUID_NULL && pattern->subtype != candidate.subtype) return false;
  if (pattern->formattype != GUID_NULL && pattern->formattype != candidate.formattype) {
    return false;
  }
  return true;
}

bool MediaType::Set(const AM_MEDIA_TYPE& src) {
  if (&src == &m_mt) return true;
  FreeMediaType(m_mt);
  return CopyMediaType(m_mt, src);
}

}  // namespace dshow

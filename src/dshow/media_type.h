#pragma once
// Media-type records (AM_MEDIA_TYPE) with the framework's ownership rules:
// the format block and the sample-description object belong to the record
// and are freed with it; records handed out through interfaces live in
// task memory.
#include <dshow.h>

namespace dshow {

// Frees the format block and releases the held object; the record itself stays.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Frees a record created in task memory (as IEnumMediaTypes and
// IAMStreamConfig hand them out), including its contents.
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// Deep copy into `dst` (which must hold nothing). False when out of memory;
// `dst` then holds nothing.
bool CopyMediaType(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src);
// A deep copy in task memory, or null.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE& src);
// Same major type, subtype, format type and format block.
bool SameMediaType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b);
// Whether `candidate` fits a partial type: GUID_NULL parts of `pattern` match anything.
bool MatchesPartial(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE* pattern);

// An owned media-type record.
class MediaType {
 public:
  MediaType() = default;
  ~MediaType() { FreeMediaType(m_mt); }
  MediaType(const MediaType&) = delete;
  MediaType& operator=(const MediaType&) = delete;

  // Replaces the content by a copy of `src`; false when out of memory.
  bool Set(const AM_MEDIA_TYPE& src);
  void Clear() { FreeMediaType(m_mt); }
  bool Empty() const { return m_mt.majortype == GUID_NULL; }
  const AM_MEDIA_TYPE& Get() const { return m_mt; }
  AM_MEDIA_TYPE* Mutable() { return &m_mt; }

 private:
  AM_MEDIA_TYPE m_mt{};
};

}  // namespace dshow

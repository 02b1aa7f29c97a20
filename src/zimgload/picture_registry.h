#pragma once
// The pictures handed out by ZLoadImg and not yet written. Callers never free
// a picture, so ZSaveImg takes it out of here and frees it; a handle that is
// not (or no longer) here is refused instead of being dereferenced. Handles
// are numbers that are never reused, so a stale one cannot reach a newer
// picture.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "picture.h"

namespace zimg {

class PictureRegistry {
 public:
  // The handle for a new picture; null when it cannot be kept.
  void* Add(std::unique_ptr<Picture> picture) noexcept;
  // The picture of a live handle, which is then no longer live; null for any
  // other value.
  std::unique_ptr<Picture> Take(void* handle) noexcept;

 private:
  std::mutex m_mutex;
  std::uintptr_t m_lastId = 0;
  std::map<std::uintptr_t, std::unique_ptr<Picture>> m_live;
};

}  // namespace zimg

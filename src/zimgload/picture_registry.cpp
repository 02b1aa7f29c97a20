#include "picture_registry.h"

#include <new>

namespace zimg {

void* PictureRegistry::Add(std::unique_ptr<Picture> picture) noexcept {
  std::lock_guard lock(m_mutex);
  // Skips 0 (the failure value) when the count wraps after 2^32 loads.
  const std::uintptr_t id = ++m_lastId == 0 ? ++m_lastId : m_lastId;
  try {
    m_live.emplace(id, std::move(picture));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return reinterpret_cast<void*>(id);
}

std::unique_ptr<Picture> PictureRegistry::Take(void* handle) noexcept {
  std::lock_guard lock(m_mutex);
  const auto it = m_live.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == m_live.end()) return nullptr;
  std::unique_ptr<Picture> picture = std::move(it->second);
  m_live.erase(it);
  return picture;
}

}  // namespace zimg

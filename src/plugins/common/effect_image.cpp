#include "common/effect_image.h"

#include <cstring>
#include <new>

namespace plugins {
namespace {

std::unique_ptr<std::uint8_t[]> CopyOf(const void* bytes, std::uint32_t count) {
  std::unique_ptr<std::uint8_t[]> copy(new (std::nothrow) std::uint8_t[count]);
  if (copy) std::memcpy(copy.get(), bytes, count);
  return copy;
}

}  // namespace

bool EffectImage::Take(BITMAPINFOHEADER* caller, const core::effects::PackedLayout& layout,
                       bool keepBase) {
  Free();
  m_working = CopyOf(caller, layout.byteCount);
  if (keepBase) m_base = CopyOf(caller, layout.byteCount);
  if (!m_working || (keepBase && !m_base)) {
    Free();
    return false;
  }
  m_caller = caller;
  m_layout = layout;
  return true;
}

void EffectImage::Free() {
  m_working.reset();
  m_base.reset();
}

void EffectImage::CommitToCaller() const {
  if (Held()) std::memcpy(m_caller, m_working.get(), m_layout.byteCount);
}

void EffectImage::CopyWorkingOverBase() {
  if (m_base) std::memcpy(m_base.get(), m_working.get(), m_layout.byteCount);
}

const std::uint8_t* EffectImage::SourcePixels() const {
  const void* image = m_base ? static_cast<const void*>(m_base.get()) : m_caller;
  return static_cast<const std::uint8_t*>(image) + PixelOffset();
}

std::uint8_t* EffectImage::WorkingPixels() const { return m_working.get() + PixelOffset(); }

std::uint32_t EffectImage::PixelOffset() const { return m_layout.byteCount - m_layout.imageSize; }

const BITMAPINFO* EffectImage::WorkingInfo() const {
  return reinterpret_cast<const BITMAPINFO*>(m_working.get());
}

}  // namespace plugins

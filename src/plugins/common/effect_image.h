#pragma once
// The caller's image and the plug-in's copies of it: the working image, which
// the effects write and the preview shows, and for the effects that keep one,
// the base they compute from.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "core/effects/image_layout.h"

namespace plugins {

class EffectImage {
 public:
  // Copies `byteCount` bytes of the caller's image (header and pixels) into a
  // new working image and, with `keepBase`, a base. False when memory is
  // short; nothing is held then.
  bool Take(BITMAPINFOHEADER* caller, const core::effects::PackedLayout& layout, bool keepBase);
  void Free();
  bool Held() const { return m_working != nullptr; }

  // The working image over the caller's, header and pixels.
  void CommitToCaller() const;
  // The working image over the base, so that later results build on it.
  void CopyWorkingOverBase();

  const core::effects::Geometry& Geometry() const { return m_layout.geometry; }
  // What the effects read: the base, or the caller's unchanged image when
  // there is no base.
  const std::uint8_t* SourcePixels() const;
  std::uint8_t* WorkingPixels() const;
  const BITMAPINFO* WorkingInfo() const;

 private:
  // The pixels follow the header, whatever its size.
  std::uint32_t PixelOffset() const;

  BITMAPINFOHEADER* m_caller = nullptr;
  core::effects::PackedLayout m_layout;
  std::unique_ptr<std::uint8_t[]> m_working;
  std::unique_ptr<std::uint8_t[]> m_base;
};

}  // namespace plugins

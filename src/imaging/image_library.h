#pragma once
// The image library "ZImgLoad.dll" of the program folder, loaded by name for
// one or more conversions and released when this object goes.
#include <windows.h>

#include <string>

#include "base/handles.h"
#include "zimgload/zimgload.h"

namespace imaging {

class ImageLibrary {
 public:
  enum class State {
    kMissing,   // no such file in the program folder
    kUnusable,  // the file is there but does not load or lacks its entries
    kReady,
  };

  explicit ImageLibrary(const std::wstring& programFolder);
  ImageLibrary(const ImageLibrary&) = delete;
  ImageLibrary& operator=(const ImageLibrary&) = delete;

  State GetState() const { return m_state; }

  // Reads the picture in `source` (a JPEG or bitmap file) and writes it to
  // `target` in `format`; true when the library says it wrote the file.
  bool Convert(const std::wstring& source, const std::wstring& target, ZImgFormat format) const;

 private:
  base::Module m_module;
  ZLoadImgFn m_pfnLoad = nullptr;
  ZSaveImgFn m_pfnSave = nullptr;
  State m_state = State::kMissing;
};

}  // namespace imaging

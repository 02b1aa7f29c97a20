#include "imaging/image_library.h"

#include "base/proc_address.h"
#include "base/strings.h"

namespace imaging {

ImageLibrary::ImageLibrary(const std::wstring& programFolder) {
  const std::wstring path = programFolder + L"ZImgLoad.dll";
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  m_state = State::kUnusable;
  m_module.Reset(::LoadLibraryW(path.c_str()));
  if (!m_module) return;
  m_pfnLoad = base::ProcAddress<ZLoadImgFn>(m_module.Get(), "ZLoadImg");
  m_pfnSave = base::ProcAddress<ZSaveImgFn>(m_module.Get(), "ZSaveImg");
  if (m_pfnLoad && m_pfnSave) m_state = State::kReady;
}

// The library takes 8-bit paths in the system code page.
bool ImageLibrary::Convert(const std::wstring& source, const std::wstring& target,
                           ZImgFormat format) const {
  if (m_state != State::kReady) return false;
  const std::string from = base::Narrow(source);
  const std::string to = base::Narrow(target);
  return (m_pfnSave(m_pfnLoad(from.c_str()), to.c_str(), format) & 0xFF) != 0;
}

}  // namespace imaging

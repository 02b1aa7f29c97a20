#include "edgefx/kernel_setting.h"

#include "base/handles.h"
#include "base/strings.h"
#include "common/effect_ids.h"

core::effects::Kernel ReadKernelSetting(HINSTANCE module) {
  const std::wstring path = base::LoadResString(IDS_REGISTRY_KEY, module);
  // Reading needs no more than the right to query, which ordinary users have.
  base::RegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) !=
      ERROR_SUCCESS) {
    return core::effects::kDefaultKernel;
  }
  core::effects::Kernel kernel{};
  for (std::size_t i = 0; i < kernel.size(); ++i) {
    const std::wstring name = base::FormatW(L"Matrix[%u]", static_cast<unsigned>(i));
    DWORD size = sizeof kernel[i];
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&kernel[i]), &size) != ERROR_SUCCESS) {
      return core::effects::kDefaultKernel;
    }
  }
  return kernel;
}

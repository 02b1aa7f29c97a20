#include "app/driver_mark.h"

#include <windows.h>

#include "base/handles.h"
#include "base/strings.h"
#include "capture/camera_finder.h"
#include "core/startup_rules.h"

namespace app {
namespace {

// Opens the driver key (access 0x2001F), reads "StatusReport", changes it and
// writes it back as a 32-bit integer.
template <class Change>
void UpdateStatusReport(Change change) {
  base::RegKey key;
  const std::wstring path = base::Widen(capture::g_strDriverRegistryPath);
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WRITE, key.Put()) !=
      ERROR_SUCCESS) {
    return;
  }
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (::RegQueryValueExW(key.Get(), L"StatusReport", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS) {
    return;
  }
  value = change(value);
  ::RegSetValueExW(key.Get(), L"StatusReport", 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

void MarkDriverInUse() {
  UpdateStatusReport([](DWORD v) { return static_cast<DWORD>(v | core::kDriverInUseBit); });
}

void ClearDriverMark() {
  UpdateStatusReport([](DWORD v) { return static_cast<DWORD>(v & core::kDriverExitMask); });
}

}  // namespace app

#include "app/driver_mark.h"

#include <windows.h>

#include "base/handles.h"
#include "base/strings.h"
#include "capture/camera_finder.h"
#include "core/startup_rules.h"

namespace app {
namespace {

// Opens the driver key `path` (access 0x2001F), reads "StatusReport",
// changes it and writes it back as a 32-bit integer; true when written.
template <class Change>
bool UpdateStatusReport(const std::string& path, Change change) {
  base::RegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, base::Widen(path).c_str(), 0, KEY_READ | KEY_WRITE,
                      key.Put()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (::RegQueryValueExW(key.Get(), L"StatusReport", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS) {
    return false;
  }
  value = change(value);
  return ::RegSetValueExW(key.Get(), L"StatusReport", 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

}  // namespace

std::string MarkDriverInUse() {
  const std::string path = capture::g_strDriverRegistryPath;
  const bool marked = UpdateStatusReport(
      path, [](DWORD v) { return static_cast<DWORD>(v | core::kDriverInUseBit); });
  return marked ? path : std::string();
}

void ClearDriverMark(const std::string& markedKey) {
  UpdateStatusReport(markedKey.empty() ? capture::g_strDriverRegistryPath : markedKey,
                     [](DWORD v) { return static_cast<DWORD>(v & core::kDriverExitMask); });
}

}  // namespace app

#include "capture/camera_finder.h"

#include <windows.h>

#include "base/handles.h"
#include "base/strings.h"
#include "core/camera_id.h"
#include "core/text.h"
#include "settings/settings_file.h"

namespace capture {

std::atomic<bool> g_bKnownCamera{false};
bool g_bQvc5520Family = false;
bool g_bQvc318Family = false;
std::string g_strDriverRegistryPath = kNoDriverRegistryPath;

namespace {

const wchar_t kVideoClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
    L"{6994AD05-93EF-11D0-A3CC-00A0C9223196}\\";

// The driver's registry key as the camera family's TWAIN.INI names it.
constexpr settings::Key kTwainRegistryPath{"Information", "RegistryPath", kNoDriverRegistryPath,
                                           settings::kPathCapacity};

// The upper-cased "DeviceInstance" of one interface key, empty on failure.
std::string DeviceInstanceOf(HKEY classKey, const wchar_t* subkey) {
  base::RegKey key;
  if (::RegOpenKeyExW(classKey, subkey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return {};
  wchar_t text[260] = L"";
  DWORD bytes = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key.Get(), L"DeviceInstance", nullptr, &type,
                         reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  text[bytes / sizeof(wchar_t)] = L'\0';
  return core::ToUpperAscii(base::Narrow(text));
}

bool IsLinked(HKEY classKey, const std::wstring& subkey) {
  base::RegKey control;
  const std::wstring path = subkey + L"\\#GLOBAL\\Control\\";
  if (::RegOpenKeyExW(classKey, path.c_str(), 0, KEY_READ, control.Put()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD linked = 0;
  DWORD bytes = sizeof linked;
  return ::RegQueryValueExW(control.Get(), L"Linked", nullptr, nullptr,
                            reinterpret_cast<BYTE*>(&linked), &bytes) == ERROR_SUCCESS &&
         linked != 0;
}

// The instance text of the first linked camera interface, empty when none.
std::string FindLinkedInstance() {
  base::RegKey classKey;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kVideoClassKey, 0, KEY_READ, classKey.Put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[512];
    DWORD length = ARRAYSIZE(name);
    if (::RegEnumKeyExW(classKey.Get(), index, name, &length, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
      return {};
    }
    const std::string instance = DeviceInstanceOf(classKey.Get(), name);
    if (core::IsCameraInstance(instance) && IsLinked(classKey.Get(), name)) return instance;
  }
}

std::wstring WindowsFolder() {
  wchar_t buf[MAX_PATH] = L"";
  const UINT n = ::GetWindowsDirectoryW(buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring();
}

}  // namespace

bool FindCamera() {
  g_bKnownCamera = false;
  g_bQvc5520Family = g_bQvc318Family = false;
  g_strDriverRegistryPath = kNoDriverRegistryPath;

  const std::string instance = FindLinkedInstance();
  if (instance.empty()) return false;

  const core::CameraFamily family = core::ClassifyCamera(instance);
  if (family.known) {
    g_bKnownCamera = true;
    g_bQvc5520Family = family.qvc5520;
    g_bQvc318Family = family.qvc318;
    const std::string ini = core::TwainIniPath(base::Narrow(WindowsFolder()), family.folder);
    g_strDriverRegistryPath = settings::Read(kTwainRegistryPath, base::Widen(ini));
  }
  return true;
}

}  // namespace capture

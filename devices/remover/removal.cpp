// The device-removal program that camclean runs as "camclean.dll":
//   camclean.dll /HardwareID:"<hardware id>" /Key:<key>
// With the key that belongs to the hardware id it removes the device
// interface entries of every device instance of that id, in every device
// class. It prints nothing and reports nothing; its exit code is 0 when the
// key was accepted, 1 for a wrong key and 2 for a malformed command line.
#include <windows.h>

#include <shlwapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/handles.h"
#include "call_log.h"

namespace {

const wchar_t kDeviceClassesKey[] = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses";

// The ids this program removes and the key each one needs.
struct Device {
  const wchar_t* hardwareId;
  const wchar_t* key;
};
const Device kDevices[] = {
    {L"USB\\VID_0D7C&PID_41A0", L"2718093541"},
    {L"USB\\VID_0D7C&PID_41AF", L"1845502976"},
};

wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (UpperAscii(text[i]) != UpperAscii(prefix[i])) return false;
  }
  return true;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

// The value of the switch `name` (for example "/Key:"), or null.
const wchar_t* SwitchValue(int argc, wchar_t** argv, std::wstring_view name) {
  for (int i = 1; i < argc; ++i) {
    if (StartsWithNoCase(argv[i], name)) return argv[i] + name.size();
  }
  return nullptr;
}

bool KeyBelongsTo(std::wstring_view hardwareId, std::wstring_view key) {
  for (const Device& device : kDevices) {
    if (EqualsNoCase(hardwareId, device.hardwareId)) return key == device.key;
  }
  return false;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = ARRAYSIZE(name);
    if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return names;
    }
    names.emplace_back(name, length);
  }
}

std::wstring DeviceInstance(HKEY classKey, const std::wstring& interfaceName) {
  wchar_t text[512];
  DWORD bytes = sizeof text;
  if (::RegGetValueW(classKey, interfaceName.c_str(), L"DeviceInstance", RRF_RT_REG_SZ, nullptr,
                     text, &bytes) != ERROR_SUCCESS) {
    return {};
  }
  return text;
}

// Device instances are "<hardware id>\<instance>"; ids compare without case.
void RemoveInterfacesOf(std::wstring_view hardwareId) {
  base::RegKey classes;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDeviceClassesKey, 0, KEY_READ, classes.Put()) !=
      ERROR_SUCCESS) {
    return;
  }
  const std::wstring prefix = std::wstring(hardwareId) + L"\\";
  for (const std::wstring& className : SubkeyNames(classes.Get())) {
    base::RegKey classKey;
    if (::RegOpenKeyExW(classes.Get(), className.c_str(), 0, KEY_READ | DELETE, classKey.Put()) !=
        ERROR_SUCCESS) {
      continue;
    }
    for (const std::wstring& name : SubkeyNames(classKey.Get())) {
      if (StartsWithNoCase(DeviceInstance(classKey.Get(), name), prefix)) {
        ::SHDeleteKeyW(classKey.Get(), name.c_str());
      }
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  removal::AppendCallLog("removal", removal::ArgumentText());
  const wchar_t* hardwareId = SwitchValue(argc, argv, L"/HardwareID:");
  const wchar_t* key = SwitchValue(argc, argv, L"/Key:");
  if (!hardwareId || !key) return 2;
  if (!KeyBelongsTo(hardwareId, key)) return 1;
  RemoveInterfacesOf(hardwareId);
  return 0;
}

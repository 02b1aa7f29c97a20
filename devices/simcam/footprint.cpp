#include "footprint.h"

#include <shlwapi.h>
#include <windows.h>

#include <string>

namespace simcam {
namespace {

const wchar_t kSerial[] = L"5&2F6A1C3&0&1";
const wchar_t kInterfaceClass[] = L"{6994ad05-93ef-11d0-a3cc-00a0c9223196}";

std::wstring WindowsFolder() {
  wchar_t buf[MAX_PATH] = L"";
  GetWindowsDirectoryW(buf, MAX_PATH);
  return buf;
}

// "USB\VID_0D7C&PID_41A0\serial" becomes "##?#USB#VID_0D7C&PID_41A0#serial#{class}".
std::wstring InterfaceKeyName(const std::wstring& instance) {
  std::wstring name = L"##?#" + instance + L"#" + kInterfaceClass;
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'#';
  }
  return name;
}

bool SetDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool ok = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool ok =
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

const wchar_t* TwainFolder(Family family) {
  switch (family) {
    case Family::Qvc5520:
      return L"QV5520";
    case Family::Qvc318:
      return L"QFC419";
    default:
      return nullptr;
  }
}

const wchar_t* ServiceFamily(Family family) {
  return family == Family::Qvc318 ? L"QVC318" : L"QVC5520";
}

bool WriteTwainIni(Family family) {
  const wchar_t* folder = TwainFolder(family);
  if (!folder) return true;
  const std::wstring dir = WindowsFolder() + L"\\twain_32\\" + folder;
  CreateDirectoryW((WindowsFolder() + L"\\twain_32").c_str(), nullptr);
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::string text =
      "[Information]\r\nRegistryPath=SYSTEM\\CurrentControlSet\\Services\\"
      "QV818UCM\\Parameters\r\n";
  HANDLE file = CreateFileW((dir + L"\\TWAIN.INI").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

// The interface keys of the class key that belong to any simulated family.
std::wstring FindInstalledInterface() {
  HKEY classKey = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDeviceClassKey, 0, KEY_READ, &classKey) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring found;
  for (DWORD i = 0; found.empty(); ++i) {
    wchar_t name[512];
    DWORD length = ARRAYSIZE(name);
    if (RegEnumKeyExW(classKey, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    if (std::wstring(name).find(kSerial) != std::wstring::npos) found = name;
  }
  RegCloseKey(classKey);
  return found;
}

bool ReadDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD bytes = sizeof value;
  DWORD type = 0;
  const bool ok = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                   &bytes) == ERROR_SUCCESS &&
                  type == REG_DWORD;
  RegCloseKey(key);
  return ok;
}

}  // namespace

std::wstring InstalledInterfaceKey() {
  const std::wstring name = FindInstalledInterface();
  return name.empty() ? std::wstring() : std::wstring(kDeviceClassKey) + L"\\" + name;
}

Family InstalledFamily() {
  const std::wstring key = InstalledInterfaceKey();
  for (Family family : {Family::Qvc5520, Family::Qvc318, Family::Generic}) {
    if (!key.empty() && key == InterfaceKey(family)) return family;
  }
  return Family::None;
}

bool IsLinked() { return IsLinkedAt(InstalledInterfaceKey()); }

bool IsLinkedAt(const std::wstring& key) {
  DWORD linked = 0;
  return !key.empty() &&
         ReadDword(HKEY_LOCAL_MACHINE, key + L"\\#GLOBAL\\Control", L"Linked", linked) &&
         linked != 0;
}

bool SetLinked(bool linked) {
  const std::wstring key = InstalledInterfaceKey();
  return !key.empty() &&
         SetDword(HKEY_LOCAL_MACHINE, key + L"\\#GLOBAL\\Control", L"Linked", linked ? 1 : 0);
}

unsigned long ReadDriverValue(const wchar_t* name) {
  DWORD value = 0;
  return ReadDword(HKEY_LOCAL_MACHINE, kDriverKey, name, value) ? value : 0;
}

bool WriteDriverValue(const wchar_t* name, unsigned long value) {
  return SetDword(HKEY_LOCAL_MACHINE, kDriverKey, name, value);
}

PictureLook ReadPictureLook() {
  PictureLook look;
  const int brightness = static_cast<int>(static_cast<long>(ReadDriverValue(kBrightnessValue)));
  if (brightness >= kMinBrightness && brightness <= kMaxBrightness) look.brightness = brightness;
  if (ReadDriverValue(kPatternValue) == static_cast<unsigned long>(Pattern::Bars)) {
    look.pattern = Pattern::Bars;
  }
  return look;
}

bool WritePictureLook(const PictureLook& look) {
  return WriteDriverValue(kBrightnessValue, static_cast<unsigned long>(look.brightness)) &&
         WriteDriverValue(kPatternValue, static_cast<unsigned long>(look.pattern));
}

void ReportSnapshot(Family family) {
  SetDword(HKEY_LOCAL_MACHINE, kDriverKey, L"usb_snapshot_status", 1);
  SetDword(HKEY_LOCAL_MACHINE, std::wstring(kServiceKey) + L"\\" + ServiceFamily(family),
           kServiceValue, 1);
}

bool ParseFamily(const std::wstring& text, Family& family) {
  if (text == L"qvc5520")
    family = Family::Qvc5520;
  else if (text == L"qvc318")
    family = Family::Qvc318;
  else if (text == L"generic")
    family = Family::Generic;
  else if (text == L"none")
    family = Family::None;
  else
    return false;
  return true;
}

std::wstring DeviceInstance(Family family) {
  switch (family) {
    case Family::Qvc5520:
      return std::wstring(L"USB\\VID_0D7C&PID_41A0\\") + kSerial;
    case Family::Qvc318:
      return std::wstring(L"USB\\VID_0D7C&PID_41C8\\") + kSerial;
    case Family::Generic:
      return std::wstring(L"USB\\VID_FFFF&PID_0001\\") + kSerial;
    case Family::None:
      break;
  }
  return {};
}

std::wstring InterfaceKey(Family family) {
  const std::wstring instance = DeviceInstance(family);
  if (instance.empty()) return {};
  return std::wstring(kDeviceClassKey) + L"\\" + InterfaceKeyName(instance);
}

bool InstallFootprint(Family family) {
  RemoveFootprint();
  bool ok = SetDword(HKEY_LOCAL_MACHINE, kDriverKey, L"StatusReport", kInstalledStatusReport) &&
            SetDword(HKEY_LOCAL_MACHINE, kDriverKey, L"usb_snapshot_status", 0) &&
            SetDword(HKEY_LOCAL_MACHINE, std::wstring(kServiceKey) + L"\\" + ServiceFamily(family),
                     kServiceValue, 0) &&
            WriteTwainIni(family);
  const std::wstring instance = DeviceInstance(family);
  if (!instance.empty()) {
    const std::wstring key = InterfaceKey(family);
    ok = ok && SetText(HKEY_LOCAL_MACHINE, key, L"DeviceInstance", instance) &&
         SetDword(HKEY_LOCAL_MACHINE, key + L"\\#GLOBAL\\Control", L"Linked", 1);
  }
  return ok;
}

bool RemoveFootprint() {
  for (std::wstring name = FindInstalledInterface(); !name.empty();
       name = FindInstalledInterface()) {
    if (SHDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kDeviceClassKey) + L"\\" + name).c_str()) !=
        ERROR_SUCCESS) {
      return false;
    }
  }
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\QV818UCM");
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, kServiceKey);
  for (const wchar_t* folder : {L"QV5520", L"QFC419"}) {
    const std::wstring dir = WindowsFolder() + L"\\twain_32\\" + folder;
    DeleteFileW((dir + L"\\TWAIN.INI").c_str());
    RemoveDirectoryW(dir.c_str());
  }
  return true;
}

}  // namespace simcam

#include "base/profile.h"

#include <vector>

#include "base/handles.h"

namespace base {
namespace {

RegKey OpenForReading(const std::wstring& path) {
  RegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  return key;
}

RegKey OpenForWriting(const std::wstring& path) {
  RegKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return key;
}

}  // namespace

int ProfileSection::GetInt(const wchar_t* entry, int defaultValue) const {
  const RegKey key = OpenForReading(m_keyPath);
  if (!key) return defaultValue;
  DWORD value = 0;
  DWORD type = 0;
  DWORD bytes = sizeof value;
  if (::RegQueryValueExW(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &bytes) != ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof value) {
    return defaultValue;
  }
  return static_cast<int>(value);
}

std::wstring ProfileSection::GetString(const wchar_t* entry, const std::wstring& defaultValue,
                                       DWORD maxChars) const {
  const RegKey key = OpenForReading(m_keyPath);
  if (!key) return defaultValue;
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key.Get(), entry, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ || bytes / sizeof(wchar_t) > maxChars + 1) {
    return defaultValue;
  }
  // Room for a terminator the stored value may lack.
  std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD got = bytes;
  if (::RegQueryValueExW(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &got) != ERROR_SUCCESS ||
      type != REG_SZ || got > bytes) {
    return defaultValue;
  }
  text[got / sizeof(wchar_t)] = L'\0';
  return std::wstring(text.data());
}

bool ProfileSection::WriteInt(const wchar_t* entry, int value) const {
  const RegKey key = OpenForWriting(m_keyPath);
  const DWORD data = static_cast<DWORD>(value);
  return key && ::RegSetValueExW(key.Get(), entry, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool ProfileSection::WriteString(const wchar_t* entry, const std::wstring& value) const {
  const RegKey key = OpenForWriting(m_keyPath);
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return key && ::RegSetValueExW(key.Get(), entry, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace base

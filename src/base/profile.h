#pragma once
// One section of the per-user application key (HKEY_CURRENT_USER\<key
// path>\<section>), read and written one value at a time the way the
// framework's profile store keeps it: integers as REG_DWORD, text as REG_SZ.
// Every call opens the key by its path; a missing key, a missing value or a
// value of another type reads as the caller's default.
#include <windows.h>

#include <string>
#include <utility>

namespace base {

class ProfileSection {
 public:
  // `keyPath` is below HKEY_CURRENT_USER, e.g. CWinApp::ProfileKeyPath()
  // followed by "\" and the section name.
  explicit ProfileSection(std::wstring keyPath) : m_keyPath(std::move(keyPath)) {}

  int GetInt(const wchar_t* entry, int defaultValue) const;
  // Text longer than `maxChars` characters reads as the default too.
  std::wstring GetString(const wchar_t* entry, const std::wstring& defaultValue,
                         DWORD maxChars = 32767) const;
  // Create the key when needed; false when the value could not be stored.
  bool WriteInt(const wchar_t* entry, int value) const;
  bool WriteString(const wchar_t* entry, const std::wstring& value) const;

  const std::wstring& KeyPath() const { return m_keyPath; }

 private:
  std::wstring m_keyPath;
};

}  // namespace base

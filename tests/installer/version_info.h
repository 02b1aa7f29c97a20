#pragma once
// A binary's version information read back the way the shell reads it:
// GetFileVersionInfo, then VerQueryValue for the fixed part, the translation
// table and the texts of each language. A binary may also keep each
// language's texts in a version resource of that language (the set-up
// program does, and the platform then shows the one of the user's
// language): those are read too.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "base/handles.h"

namespace installer {

// The project's version number as the build gives it.
inline constexpr wchar_t kVersionText[] = LUMORA_VERSION;
inline constexpr WORD kVersion[] = {LUMORA_VERSION_MAJOR, LUMORA_VERSION_MINOR,
                                    LUMORA_VERSION_PATCH};

// The languages of the texts: English, Traditional Chinese, Simplified Chinese.
inline constexpr WORD kLanguages[] = {0x0409, 0x0404, 0x0804};

class VersionInfo {
 public:
  explicit VersionInfo(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return;
    std::vector<BYTE> first(size);
    if (!::GetFileVersionInfoW(file.c_str(), 0, size, first.data())) return;
    m_resources.push_back(std::move(first));
    AddLanguageResources(file);
  }

  bool Found() const { return !m_resources.empty(); }

  // The fixed part of what GetFileVersionInfo gives, or null.
  const VS_FIXEDFILEINFO* Fixed() const {
    void* value = nullptr;
    UINT bytes = 0;
    if (!Found() || !Query(m_resources.front(), L"\\", &value, &bytes) ||
        bytes < sizeof(VS_FIXEDFILEINFO)) {
      return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  // The languages that have texts.
  std::vector<WORD> Languages() const {
    std::vector<WORD> languages;
    for (const auto& resource : m_resources) {
      for (DWORD translation : Translations(resource)) languages.push_back(LOWORD(translation));
    }
    std::sort(languages.begin(), languages.end());
    languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
    return languages;
  }

  // A text in a language, found as the shell finds it: through the code page
  // that a translation table gives for that language. Empty when missing.
  std::wstring Text(WORD language, const wchar_t* name) const {
    for (const auto& resource : m_resources) {
      for (DWORD translation : Translations(resource)) {
        if (LOWORD(translation) != language) continue;
        wchar_t path[64];
        swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", language, HIWORD(translation), name);
        void* value = nullptr;
        UINT chars = 0;
        if (Query(resource, path, &value, &chars) && chars > 0) {
          return static_cast<const wchar_t*>(value);
        }
      }
    }
    return {};
  }

 private:
  static BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
  }

  void AddLanguageResources(const std::wstring& file) {
    const base::Module module(::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return;
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(module.Get(), RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO),
                             OnLanguage, reinterpret_cast<LONG_PTR>(&languages));
    for (WORD language : languages) {
      HRSRC found =
          ::FindResourceExW(module.Get(), RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), language);
      HGLOBAL loaded = found ? ::LoadResource(module.Get(), found) : nullptr;
      const auto* bytes = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
      if (bytes) m_resources.emplace_back(bytes, bytes + ::SizeofResource(module.Get(), found));
    }
  }

  static std::vector<DWORD> Translations(const std::vector<BYTE>& resource) {
    void* value = nullptr;
    UINT bytes = 0;
    if (!Query(resource, L"\\VarFileInfo\\Translation", &value, &bytes)) return {};
    const auto* first = static_cast<const DWORD*>(value);
    return {first, first + bytes / sizeof(DWORD)};
  }

  static bool Query(const std::vector<BYTE>& resource, const wchar_t* path, void** value,
                    UINT* size) {
    return ::VerQueryValueW(resource.data(), path, value, size) != FALSE;
  }

  std::vector<std::vector<BYTE>> m_resources;
};

}  // namespace installer

#include "settings/settings_file.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>

#include "base/handles.h"
#include "core/ini_text.h"
#include "core/text.h"

namespace settings {
namespace {

// Larger files are not settings files; reading them would only waste memory.
const DWORD kMaxSettingsBytes = 4 * 1024 * 1024;

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxSettingsBytes) {
    return std::nullopt;
  }
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!text.empty() &&
      !::ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
    return std::nullopt;
  }
  text.resize(got);
  return text;
}

bool WriteWholeFile(const std::wstring& path, const std::string& text) {
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                              nullptr) &&
                  written == text.size() && ::FlushFileBuffers(file.Get());
  return ok;
}

// Moves `from` over `to`. Another program that has the settings file open
// for a moment (an editor, a backup tool) makes the move fail; a few short
// retries keep the value from being lost.
bool MoveOver(const std::wstring& from, const std::wstring& to) {
  const int kAttempts = 20;
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = ::GetLastError();
    if (attempt == kAttempts || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
      return false;
    }
    ::Sleep(25);
  }
}

}  // namespace

std::wstring DocumentsFolder() {
  wchar_t buf[MAX_PATH] = L"";
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, buf))) {
    return {};
  }
  return buf;
}

// Without a documents folder there is no product folder either: an empty
// path, never one relative to the root of the current drive.
std::wstring ProductFolder() {
  const std::wstring documents = DocumentsFolder();
  return documents.empty() ? documents : documents + L"\\Lumora";
}
std::wstring DefaultAlbumFolder() {
  const std::wstring product = ProductFolder();
  return product.empty() ? product : product + L"\\Default album";
}
std::wstring EditFolder() {
  const std::wstring product = ProductFolder();
  return product.empty() ? product : product + L"\\Edit";
}
std::wstring RecordingNoteFolder() {
  const std::wstring product = ProductFolder();
  return product.empty() ? product : product + L"\\Recording notes";
}

std::wstring SettingsPath() {
  const std::wstring album = DefaultAlbumFolder();
  return album.empty() ? album : album + L"\\settings.ini";
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

SettingsSnapshot::SettingsSnapshot(const std::wstring& path) : m_text(ReadWholeFile(path)) {}

std::string SettingsSnapshot::Read(const Key& key) const {
  std::optional<std::string> found;
  if (m_text) found = core::IniFind(*m_text, key.section, key.name);
  return core::IniResult(found, key.def, key.capacity);
}

std::string Read(const Key& key, const std::wstring& path) {
  return SettingsSnapshot(path).Read(key);
}

int ReadInt(const Key& key, const std::wstring& path) { return core::AtoiC(Read(key, path)); }

bool Write(const Key& key, std::string_view value, const std::wstring& path) {
  return WriteValues(key.section, {{std::string(key.name), std::string(value)}}, path);
}

bool WriteValues(std::string_view section, const IniValues& values, const std::wstring& path) {
  if (path.empty()) return false;
  std::string text;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    auto old = ReadWholeFile(path);
    if (!old) return false;  // unreadable: keep it rather than overwrite it
    text = std::move(*old);
  }
  const std::wstring fresh = path + L".new";
  for (const auto& [key, value] : values) text = core::IniReplace(text, section, key, value);
  if (!WriteWholeFile(fresh, text)) {
    ::DeleteFileW(fresh.c_str());
    return false;
  }
  if (!MoveOver(fresh, path)) {
    ::DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

}  // namespace settings

#pragma once
// The settings file and the folders it lives in. Values are 8-bit text in the
// system code page, read and written one key at a time; every call opens the
// file by its path.
#include <cstddef>
#include <string>

namespace app {

// The user's documents folder (created by the shell when missing), without a
// trailing backslash; empty when the shell cannot give it.
std::wstring DocumentsFolder();
std::wstring ProductFolder();       // documents + "\Lumora"
std::wstring DefaultAlbumFolder();  // documents + "\Lumora\Default album"
std::wstring SettingsPath();        // the default album + "\settings.ini"

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

// The value of `key`, `def` when it is absent, cut to capacity - 1 characters.
std::string ReadIniValue(const std::wstring& path, const char* section, const char* key,
                         const char* def, std::size_t capacity = 128);

// Replaces or adds the one line. The file is created by the first write; its
// folder never is. A new file is written beside the old one and then moved
// over it, so that a failure never leaves a half-written file. False when the
// value could not be stored (no folder, read-only file, disk full).
bool WriteIniValue(const std::wstring& path, const char* section, const char* key,
                   const std::string& value);

}  // namespace app

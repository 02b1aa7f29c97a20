#pragma once
// The settings file and the folders it lives in. Values are 8-bit text in the
// system code page, read and written one key at a time; every call opens the
// file by its path (a snapshot, or one write of several keys, serves a
// caller that needs many keys at once).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/keys.h"

namespace settings {

// The user's documents folder (created by the shell when missing), without a
// trailing backslash; empty when the shell cannot give it.
std::wstring DocumentsFolder();
std::wstring ProductFolder();       // documents + "\Lumora"
std::wstring DefaultAlbumFolder();  // documents + "\Lumora\Default album"
std::wstring EditFolder();          // documents + "\Lumora\Edit": the editor's working files
// documents + "\Lumora\Recording notes": what the recorder notes of the clip it writes
std::wstring RecordingNoteFolder();
std::wstring SettingsPath();        // the default album + "\settings.ini"

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

// The value of `key` in the file at `path`: the key's default when it is
// absent, cut to the key's capacity - 1 characters.
std::string Read(const Key& key, const std::wstring& path = SettingsPath());
// The value converted with the C rule of atoi (no number gives 0).
int ReadInt(const Key& key, const std::wstring& path = SettingsPath());

// The settings file read once, for a reader that looks up many keys in a row
// (the album list): each Read is then a look-up in memory, not another
// opening and parsing of the whole file.
class SettingsSnapshot {
 public:
  explicit SettingsSnapshot(const std::wstring& path);
  // As settings::Read, from the text read at construction.
  std::string Read(const Key& key) const;
  // Whether the file could be read at construction.
  bool Readable() const { return m_text.has_value(); }

 private:
  std::optional<std::string> m_text;  // nothing when the file could not be read
};

// Replaces or adds the one line. The file is created by the first write; its
// folder never is. A new file is written beside the old one and then moved
// over it, so that a failure never leaves a half-written file. False when the
// value could not be stored (no folder, read-only file, disk full).
bool Write(const Key& key, std::string_view value, const std::wstring& path = SettingsPath());

// Several keys of one section, in one rewrite of the file (the album list's
// keys: a thousand rewrites would take seconds).
using IniValues = std::vector<std::pair<std::string, std::string>>;  // name, value
bool WriteValues(std::string_view section, const IniValues& values,
                 const std::wstring& path = SettingsPath());

}  // namespace settings

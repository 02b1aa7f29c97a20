#pragma once
// INI text as the settings file holds it: "[section]" lines open a section,
// "key=value" lines hold values. Section and key names compare without
// regard to ASCII case; blanks around names and values do not count, and a
// value enclosed in matching quotes loses them, as the platform's profile
// reader does.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The value of `key` in the first section named `section` that has it;
// nothing when the section or the key is absent. A present key with an
// empty value gives the empty text.
std::optional<std::string> IniFind(std::string_view text, std::string_view section,
                                   std::string_view key);

// `text` with `key` set to `value`: the key's line is replaced in place, or a
// line is added after the last entry of the section, or the section is
// appended at the end. Every other line keeps its text and its place. A value
// is cut at a line break so that it can never add lines of its own.
std::string IniReplace(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

// The reader's rule: the default when absent, and at most capacity - 1
// characters (nothing for a capacity of 0).
std::string IniResult(const std::optional<std::string>& found, std::string_view def,
                      std::size_t capacity);

}  // namespace core

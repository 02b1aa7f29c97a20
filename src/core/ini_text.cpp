#include "core/ini_text.h"

#include <vector>

#include "core/text.h"

namespace core {
namespace {

struct Line {
  std::string_view text;  // without its line break
  std::size_t begin;      // offset of the line in the whole text
  std::size_t end;        // offset just after its line break
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    std::size_t stop = nl == std::string_view::npos ? text.size() : nl;
    std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
    std::string_view body = text.substr(pos, stop - pos);
    if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
    lines.push_back({body, pos, next});
    pos = next;
  }
  return lines;
}

// The name of a "[section]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(1, close - 1));
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

std::optional<Entry> KeyLine(std::string_view line) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view value = TrimBlanks(line.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return Entry{TrimBlanks(line.substr(0, eq)), value};
}

// Where a key lives, or where a new one would go.
struct Place {
  bool sectionFound = false;
  std::optional<std::size_t> keyLine;  // index of the key's line
  std::size_t lastEntryLine = 0;       // last non-blank line of the section
};

Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (place.sectionFound && inside) inside = false;
      if (!place.sectionFound && EqualsNoCase(*name, section)) {
        place.sectionFound = true;
        place.lastEntryLine = i;
        inside = true;
      }
      continue;
    }
    if (!inside) continue;
    if (!TrimBlanks(lines[i].text).empty()) place.lastEntryLine = i;
    auto entry = KeyLine(lines[i].text);
    if (entry && EqualsNoCase(entry->key, key)) {
      place.keyLine = i;
      return place;
    }
  }
  return place;
}

}  // namespace

std::optional<std::string> IniFind(std::string_view text, std::string_view section,
                                   std::string_view key) {
  const auto lines = SplitLines(text);
  const Place place = Locate(lines, section, key);
  if (!place.keyLine) return std::nullopt;
  return std::string(KeyLine(lines[*place.keyLine].text)->value);
}

std::string IniReplace(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::string_view eol = text.find("\r\n") != std::string_view::npos || text.empty()
                                   ? std::string_view("\r\n")
                                   : std::string_view("\n");
  const std::string entry = std::string(key) + "=" + std::string(value);
  const auto lines = SplitLines(text);
  const Place place = Locate(lines, section, key);

  std::string out;
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    out.append(text.substr(0, line.begin)).append(entry);
    out.append(text.substr(line.begin + line.text.size()));
    return out;
  }
  if (place.sectionFound) {
    const Line& last = lines[place.lastEntryLine];
    out.append(text.substr(0, last.end));
    if (last.end == text.size() && last.end == last.begin + last.text.size()) out.append(eol);
    out.append(entry).append(eol).append(text.substr(last.end));
    return out;
  }
  out.append(text);
  if (!out.empty() && out.back() != '\n') out.append(eol);
  out.append("[").append(section).append("]").append(eol).append(entry).append(eol);
  return out;
}

std::string IniResult(const std::optional<std::string>& found, std::string_view def,
                      std::size_t capacity) {
  if (capacity == 0) return {};
  std::string_view v = found ? std::string_view(*found) : def;
  return std::string(v.substr(0, capacity - 1));
}

}  // namespace core

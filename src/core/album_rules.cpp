#include "core/album_rules.h"

#include "core/text.h"

namespace core {
namespace {

int FoldedAbs(char c) {
  const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  const int v = static_cast<signed char>(lower);
  return v < 0 ? -v : v;
}

}  // namespace

std::string_view AlbumLabel(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsEditFolderName(std::wstring_view name) {
  const std::size_t end = name.find_last_not_of(L". ");
  name = end == std::wstring_view::npos ? std::wstring_view() : name.substr(0, end + 1);
  const std::wstring_view edit = L"edit";
  if (name.size() != edit.size()) return false;
  for (std::size_t i = 0; i < edit.size(); ++i) {
    const wchar_t c = name[i];
    if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != edit[i]) return false;
  }
  return true;
}

std::wstring PasteCandidate(std::wstring_view target, std::wstring_view fileName, int n) {
  std::wstring out(target);
  if (n == 0) {
    out += L'\\';
  } else if (n == 1) {
    out += L"\\Copy of ";
  } else {
    out += L"\\Copy of(" + std::to_wstring(n - 1) + L")";
  }
  out += fileName;
  return out;
}

bool TitleGreater(std::string_view left, std::string_view right) {
  if (right.empty()) return false;
  const std::size_t n = left.size() > right.size() ? left.size() : right.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int a = FoldedAbs(i < left.size() ? left[i] : ' ');
    const int b = FoldedAbs(i < right.size() ? right[i] : ' ');
    if (a != b) return a > b;
  }
  return false;
}

std::uint32_t DateKey(int year, int month, int day, int hour, int minute, int second) {
  std::uint32_t key = 366u * static_cast<std::uint32_t>(year) +
                      32u * static_cast<std::uint32_t>(month) + static_cast<std::uint32_t>(day);
  key = key * 24u + static_cast<std::uint32_t>(hour);
  key = key * 60u + static_cast<std::uint32_t>(minute);
  return key * 60u + static_cast<std::uint32_t>(second);
}

TreeMenuState TreeMenuFor(bool onAlbum, bool defaultLabel, bool albumCopied) {
  const bool changeable = onAlbum && !defaultLabel;
  return {changeable, changeable, onAlbum, onAlbum && albumCopied};
}

bool ParseDisplayMode(std::string_view text, DisplayMode& mode) {
  const int v = AtoiC(text);
  if (v < 1 || v > 3) return false;
  mode = static_cast<DisplayMode>(v);
  return true;
}

DisplayMode NextDisplayMode(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Large:
      return DisplayMode::Details;
    case DisplayMode::Details:
      return DisplayMode::Small;
    case DisplayMode::Small:
      break;
  }
  return DisplayMode::Large;
}

CellGeometry GeometryOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Small:
      return {92, 117, 10, 6, 12, 80, 60};
    case DisplayMode::Details:
      return {40, 30, 0, 0, 0, 40, 30};
    case DisplayMode::Large:
      break;
  }
  return {138, 147, 5, 8, 12, 120, 90};
}

int GridColumns(int listWidth, const CellGeometry& g) {
  const int columns = (listWidth - 16) / (g.cellWidth + g.gap);
  return columns < 1 ? 1 : columns;
}

int ResizeColumns(int windowWidth, int borderWidth, int scrollWidth, const CellGeometry& g) {
  const int columns = (windowWidth - 2 * borderWidth - g.gap - scrollWidth) / (g.cellWidth + g.gap);
  return columns < 1 ? 1 : columns;
}

CellRect GridCell(int index, int columns, const CellGeometry& g) {
  const int column = index % columns;
  const int row = index / columns;
  const int left = (g.cellWidth + g.gap) * column + g.gap;
  const int top = (g.cellHeight + g.gap) * row + g.gap;
  return {left, top, left + g.cellWidth, top + g.cellHeight};
}

int GridRows(int count, int columns) {
  return columns < 1 ? count : (count + columns - 1) / columns;
}

std::optional<std::size_t> CellLabelCut(std::size_t nameLength, int clientWidth) {
  const int room = clientWidth - 5;
  if (room < 0 || nameLength <= static_cast<std::size_t>(room / 10)) return std::nullopt;
  return static_cast<std::size_t>(room / 12);
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  // Iterative match with one back-tracking point for the last '*'.
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  const auto same = [](char a, char b) { return EqualsNoCase({&a, 1}, {&b, 1}); };
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || (pattern[p] != '*' && same(pattern[p], name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

AlbumFileKind KindOfFile(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return AlbumFileKind::Other;
  const std::string_view ext = name.substr(dot + 1);
  if (EqualsNoCase(ext, "bmp")) return AlbumFileKind::Bitmap;
  if (EqualsNoCase(ext, "avi")) return AlbumFileKind::Video;
  if (EqualsNoCase(ext, "jpg")) return AlbumFileKind::Jpeg;
  return AlbumFileKind::Other;
}

}  // namespace core

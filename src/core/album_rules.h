#pragma once
// Platform-free rules of the albums and the file list: album labels, the
// names pasted files take, the sort keys and their order, the grid of
// thumbnail cells, the cell labels and the search pattern.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// How many albums the album list holds, the default album included.
inline constexpr std::size_t kAlbumCapacity = 1000;

// The part of a path behind its last backslash (the whole text without one).
std::string_view AlbumLabel(std::string_view path);

// Whether an album name names the editor's working folder "Edit" beside the
// albums, whose working files go at every exit: letter case aside, and with
// trailing dots and blanks, which the file system drops from a folder name.
bool IsEditFolderName(std::wstring_view name);

// The n-th name a pasted file may take in `target` (n from 0):
// target\name, target\Copy of name, target\Copy of(1)name, Copy of(2)...
std::wstring PasteCandidate(std::wstring_view target, std::wstring_view fileName, int n);

// Name order of the file list: letter case ignored, the shorter title padded
// with blanks, then the characters' absolute values as signed 8-bit numbers.
// True when `left` must move behind `right`; never when `right` is empty.
bool TitleGreater(std::string_view left, std::string_view right);

// Last-write time folded into the date key, modulo 2^32.
std::uint32_t DateKey(int year, int month, int day, int hour, int minute, int second);

// Ascending bubble sort of n items: n passes over every neighbouring pair,
// swapping a pair whose left item is greater. Equal items keep their order.
template <class Greater, class Swap>
void BubbleSort(std::size_t n, Greater greater, Swap swap) {
  for (std::size_t pass = 0; pass < n; ++pass) {
    bool swapped = false;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      if (greater(i, i + 1)) {
        swap(i, i + 1);
        swapped = true;
      }
    }
    if (!swapped) break;  // already in order: the remaining passes change nothing
  }
}

// Which album commands the tree's menu offers: on blank space only Create;
// on an album labelled like the default album neither Rename nor Delete;
// Paste only once an album was copied.
struct TreeMenuState {
  bool rename;
  bool remove;
  bool copy;
  bool paste;
};
TreeMenuState TreeMenuFor(bool onAlbum, bool defaultLabel, bool albumCopied);

// Display modes of the file list.
enum class DisplayMode { Large = 1, Details = 2, Small = 3 };
// "1", "2" or "3" as a mode; anything else is none.
bool ParseDisplayMode(std::string_view text, DisplayMode& mode);
// The mode after this one when the toolbar button cycles: 1, 2, 3, 1 ...
DisplayMode NextDisplayMode(DisplayMode mode);

struct CellGeometry {
  int cellWidth;
  int cellHeight;
  int gap;
  int boxX, boxY, boxWidth, boxHeight;  // thumbnail box inside the cell
};
CellGeometry GeometryOf(DisplayMode mode);

struct CellRect {
  int left, top, right, bottom;
};
// Columns of the grid when the list is built: (width - 16) / (cell + gap),
// at least 1.
int GridColumns(int listWidth, const CellGeometry& g);
// Columns when the list is resized, from the window width and the system's
// border and scroll-bar widths; at least 1.
int ResizeColumns(int windowWidth, int borderWidth, int scrollWidth, const CellGeometry& g);
// The grid slot of item `index`.
CellRect GridCell(int index, int columns, const CellGeometry& g);
// Grid rows needed for `count` items: count / columns, rounded up.
int GridRows(int count, int columns);

// The cell's label: a name of more than (width - 5) / 10 characters is cut to
// its first (width - 5) / 12 characters followed by "...". Gives how many
// characters stay, or nothing when the name stays whole.
std::optional<std::size_t> CellLabelCut(std::size_t nameLength, int clientWidth);

// Names as the search dialog matches them: '*' any run, '?' one character,
// letter case ignored.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// What kind of file a list entry is, by its extension.
enum class AlbumFileKind { Bitmap, Video, Jpeg, Other };
AlbumFileKind KindOfFile(std::string_view name);

}  // namespace core

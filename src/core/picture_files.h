#pragma once
// The editor's rules about picture files: which names it opens, which
// pictures it lets the user change, and the list of a folder's pictures
// that Previous and Next walk through.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Judged on the last three letters of a name, in any letter case: a name
// ending in ".jpeg" is of no known type.
enum class PictureType { kBmp, kJpg, kOther };
PictureType PictureTypeOf(std::wstring_view path);
// A clip: the last three letters are "avi" in any letter case.
bool IsClipName(std::wstring_view path);

// A picture may be changed (rotated, given an effect) up to 480000 pixels,
// the area of 800 x 600: 1200 x 400 may, 801 x 600 may not. The height's
// sign (a top-down bitmap) does not count.
inline constexpr std::int64_t kMaxEditableArea = 480000;
bool IsEditableArea(std::int32_t width, std::int32_t height);

// The pictures of the edited file's folder, in the order the file system
// gives them, at most 500.
struct FolderFiles {
  static constexpr std::size_t kCapacity = 500;
  std::vector<std::wstring> paths;
  int current = -1;  // the edited file's index; -1 when it is not listed
};

// The pictures among `entries`; `isEdited(path)` tells the edited file.
// A folder with more than 500 pictures gives the 500 around the edited
// file (the first 500 when it is not among them), so the file shown is
// always in the list and Previous and Next walk its neighbours.
template <class IsEdited>
FolderFiles ListFolderPictures(const std::vector<std::wstring>& entries, IsEdited isEdited) {
  std::vector<const std::wstring*> pictures;
  std::size_t edited = entries.size();
  for (const std::wstring& entry : entries) {
    if (PictureTypeOf(entry) == PictureType::kOther) continue;
    if (edited == entries.size() && isEdited(entry)) edited = pictures.size();
    pictures.push_back(&entry);
  }
  std::size_t first = 0;
  if (pictures.size() > FolderFiles::kCapacity && edited < pictures.size()) {
    const std::size_t half = FolderFiles::kCapacity / 2;
    first = edited > half ? edited - half : 0;
    first = std::min(first, pictures.size() - FolderFiles::kCapacity);
  }
  FolderFiles list;
  for (std::size_t i = first; i < pictures.size() && list.paths.size() < FolderFiles::kCapacity; ++i) {
    if (i == edited) list.current = static_cast<int>(list.paths.size());
    list.paths.push_back(*pictures[i]);
  }
  return list;
}

}  // namespace core

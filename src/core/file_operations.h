#pragma once
// The rules of the album's file commands: names for renamed files, the texts
// of the properties dialog, and the commands of the "Move to Album" menu.
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// The part of a file's name from its last "." on; empty without one.
std::wstring_view ExtensionOf(std::wstring_view path);

// The path a renamed file tries: folder\name.ext, then folder\name-k.ext for
// k = 1, 2, 3 ... while the earlier ones are taken.
std::wstring RenameTarget(std::wstring_view folder, std::wstring_view name,
                          std::wstring_view extension, int k);

// The name a pasted file takes after `copies` names were found taken:
// a.jpg, Copy ofa.jpg, Copy ofCopy ofa.jpg ...
std::wstring PastedFileName(std::wstring_view name, int copies);

// "JPG Image", "BMP Image", "AVI Video": the name's last three letters in
// capitals and the kind; `image` and `video` are the translated kinds.
std::wstring FileTypeText(std::wstring_view path, std::wstring_view image, std::wstring_view video);

// "2 KB(2048 bytes)" for 2048.
std::wstring SizeText(std::uint64_t bytes);
// "2024-3-5,7:8:9" and "2024-3-5": no leading zeros.
std::wstring DateTimeText(int year, int month, int day, int hour, int minute, int second);
std::wstring DateText(int year, int month, int day);

// "Move to Album": one command per album of the list (up to its 1000
// albums), 50000 + the album's index.
inline constexpr unsigned kMoveToAlbumFirst = 50000;
inline constexpr unsigned kMoveToAlbumLast = 50999;

}  // namespace core

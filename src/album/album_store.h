#pragma once
// The album list in section "ALBUM" of the settings file and the folder work
// behind the album commands. Paths are wide; the settings file holds them as
// 8-bit text in the system code page.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace album {

// Start-up: creates the product folder and the default album when missing,
// writes "Album0" and, when "AlbumNum" is missing or below 1, "AlbumNum" = 1.
void PrepareFolders(const std::wstring& ini);

// The album paths of "Album0" .. "Album<AlbumNum-1>", at most the list's
// capacity, read from one reading of the settings file. Albums whose folder
// has gone are dropped; when any was, or "AlbumNum" counted more than the
// list holds, the keys are renumbered and written. Empty when the settings
// file does not exist; the default album alone when it cannot be read.
std::vector<std::wstring> LoadAlbumList(const std::wstring& ini);

// Writes "Album0" .. "Album<n-1>" and "AlbumNum" = n.
void WriteAlbumList(const std::wstring& ini, const std::vector<std::wstring>& albums);

// Copies every file (not the folders) of `source` into `target`, each under
// the first free name among name, "Copy of name", "Copy of(1)name" ...;
// never overwrites. `onFailure` hears of each file that could not be copied.
void CopyAlbumFiles(const std::wstring& source, const std::wstring& target,
                    const std::function<void(const std::wstring&)>& onFailure);

// Sends a deleted album's files to the Recycle Bin, and its folder with them
// unless it holds folders of its own: those stay where they are, and so does
// the album's folder around them. Failures are silent.
void RecycleAlbumFolder(HWND owner, const std::wstring& folder);

// Whether an album path survives the settings file: at most 127 characters
// of the system code page, every character representable there. Others
// would come back cut or changed and the album would be lost at next start.
bool StorablePath(const std::wstring& path);

// The album label: the folder's own name.
std::wstring LabelOf(const std::wstring& path);

// Whether something (file or folder) exists under `path`.
bool PathExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

}  // namespace album

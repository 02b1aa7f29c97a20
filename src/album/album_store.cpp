#include "album/album_store.h"

#include "app/settings.h"
#include "base/handles.h"
#include "base/strings.h"
#include "core/album_rules.h"
#include "core/text.h"

namespace album {
namespace {

const char kSection[] = "ALBUM";

std::string AlbumKey(std::size_t i) { return "Album" + std::to_string(i); }

// Every entry of `folder` that is not a folder, by name.
std::vector<std::wstring> FilesOf(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  base::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileW(find.Get(), &found));
  return names;
}

}  // namespace

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool StorablePath(const std::wstring& path) {
  const std::string stored = base::Narrow(path);
  return stored.size() <= 127 && base::Widen(stored) == path;
}

std::wstring LabelOf(const std::wstring& path) { return base::FileNameOf(path); }

void PrepareFolders(const std::wstring& ini) {
  const int count = core::AtoiC(app::ReadIniValue(ini, kSection, "AlbumNum", "", 128));
  const std::wstring product = app::ProductFolder();
  const std::wstring defaultAlbum = app::DefaultAlbumFolder();
  if (product.empty()) return;
  if (!FolderExists(product)) ::CreateDirectoryW(product.c_str(), nullptr);
  if (!FolderExists(defaultAlbum)) ::CreateDirectoryW(defaultAlbum.c_str(), nullptr);
  app::WriteIniValue(ini, kSection, "Album0", base::Narrow(defaultAlbum));
  if (count < 1) app::WriteIniValue(ini, kSection, "AlbumNum", "1");
}

std::vector<std::wstring> LoadAlbumList(const std::wstring& ini) {
  std::vector<std::wstring> albums;
  if (!PathExists(ini)) return albums;
  const int count = core::AtoiC(app::ReadIniValue(ini, kSection, "AlbumNum", "", 10));
  bool dropped = false;
  for (int i = 0; i < count; ++i) {
    const std::wstring path =
        base::Widen(app::ReadIniValue(ini, kSection, AlbumKey(i).c_str(), "", 128));
    if (FolderExists(path)) {
      albums.push_back(path);
    } else {
      dropped = true;
    }
  }
  if (dropped) WriteAlbumList(ini, albums);
  return albums;
}

void WriteAlbumList(const std::wstring& ini, const std::vector<std::wstring>& albums) {
  for (std::size_t i = 0; i < albums.size(); ++i) {
    app::WriteIniValue(ini, kSection, AlbumKey(i).c_str(), base::Narrow(albums[i]));
  }
  app::WriteIniValue(ini, kSection, "AlbumNum", std::to_string(albums.size()));
}

void CopyAlbumFiles(const std::wstring& source, const std::wstring& target,
                    const std::function<void(const std::wstring&)>& onFailure) {
  for (const std::wstring& name : FilesOf(source)) {
    std::wstring to;
    for (int n = 0;; ++n) {
      to = core::PasteCandidate(target, name, n);
      if (!PathExists(to)) break;
    }
    const std::wstring from = source + L"\\" + name;
    if (!::CopyFileW(from.c_str(), to.c_str(), TRUE)) onFailure(from);
  }
}

void RemoveAlbumFolder(const std::wstring& folder) {
  for (const std::wstring& name : FilesOf(folder)) ::DeleteFileW((folder + L"\\" + name).c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace album

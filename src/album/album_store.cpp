#include "album/album_store.h"

#include <algorithm>

#include "album/recycle_bin.h"
#include "base/handles.h"
#include "base/strings.h"
#include "core/album_rules.h"
#include "core/text.h"
#include "settings/settings_file.h"

namespace album {
namespace {

struct FolderEntries {
  std::vector<std::wstring> files;  // by name
  bool hasFolders = false;          // beside "." and ".."
};

FolderEntries EntriesOf(const std::wstring& folder) {
  FolderEntries entries;
  WIN32_FIND_DATAW found;
  base::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      entries.files.push_back(name);
    } else if (name != L"." && name != L"..") {
      entries.hasFolders = true;
    }
  } while (::FindNextFileW(find.Get(), &found));
  return entries;
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
  // Read with more room than the album tree gives it.
  const int count =
      settings::ReadInt(settings::kAlbumNum.WithCapacity(settings::kDefaultCapacity), ini);
  const std::wstring product = settings::ProductFolder();
  const std::wstring defaultAlbum = settings::DefaultAlbumFolder();
  if (product.empty()) return;
  if (!FolderExists(product)) ::CreateDirectoryW(product.c_str(), nullptr);
  if (!FolderExists(defaultAlbum)) ::CreateDirectoryW(defaultAlbum.c_str(), nullptr);
  settings::Write(settings::AlbumKey(0), base::Narrow(defaultAlbum), ini);
  if (count < 1) settings::Write(settings::kAlbumNum, "1", ini);
}

std::vector<std::wstring> LoadAlbumList(const std::wstring& ini) {
  std::vector<std::wstring> albums;
  if (!PathExists(ini)) return albums;
  const settings::SettingsSnapshot file(ini);
  if (!file.Readable()) {
    // A file the program cannot read (far too large, say) is kept as it is;
    // the default album, which always exists, is shown all the same.
    const std::wstring defaultAlbum = settings::DefaultAlbumFolder();
    if (FolderExists(defaultAlbum)) albums.push_back(defaultAlbum);
    return albums;
  }
  const int stored = core::AtoiC(file.Read(settings::kAlbumNum));
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(stored, 0)), core::kAlbumCapacity);
  bool dropped = static_cast<std::size_t>(std::max(stored, 0)) > count;
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring path = base::Widen(file.Read(settings::AlbumKey(static_cast<int>(i))));
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
  settings::IniValues values;
  for (std::size_t i = 0; i < albums.size(); ++i)
    values.emplace_back(settings::AlbumKey(static_cast<int>(i)).Name(), base::Narrow(albums[i]));
  values.emplace_back(settings::kAlbumNum.name, std::to_string(albums.size()));
  settings::WriteValues(settings::kAlbumSection, values, ini);
}

void CopyAlbumFiles(const std::wstring& source, const std::wstring& target,
                    const std::function<void(const std::wstring&)>& onFailure) {
  for (const std::wstring& name : EntriesOf(source).files) {
    std::wstring to;
    for (int n = 0;; ++n) {
      to = core::PasteCandidate(target, name, n);
      if (!PathExists(to)) break;
    }
    const std::wstring from = source + L"\\" + name;
    if (!::CopyFileW(from.c_str(), to.c_str(), TRUE)) onFailure(from);
  }
}

void RecycleAlbumFolder(HWND owner, const std::wstring& folder) {
  if (!FolderExists(folder)) return;  // gone already: nothing to ask the shell about
  const FolderEntries entries = EntriesOf(folder);
  if (!entries.hasFolders) {
    SendToRecycleBin(owner, {folder});  // one item in the bin, restored as a whole
    return;
  }
  std::vector<std::wstring> files;
  for (const std::wstring& name : entries.files) files.push_back(folder + L"\\" + name);
  SendToRecycleBin(owner, files);
}

}  // namespace album

// The file list's file commands (the "IMAGE" menu): properties, rename,
// save as, delete, copy, paste, move to another album and import, the
// menu's states, and taking one file out of the list. Every command leaves
// the list as the folder is: what was removed, moved or added on disk is
// taken out of or put into the list at once.
#include <algorithm>
#include <cstring>

#include "album/album_prompt_dialog.h"
#include "album/album_store.h"
#include "album/file_list_view.h"
#include "album/new_file_open_dlg.h"
#include "album/properties_dlg.h"
#include "album/recycle_bin.h"
#include "base/file_dialog.h"
#include "base/file_io.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/file_operations.h"
#include "core/picture_files.h"
#include "imaging/dib_bitmap.h"
#include "imaging/image_library.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

// Positions in the IMAGE menu.
constexpr int kDisplayModePosition = 2;
constexpr int kMovePosition = 8;

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A name that stays one file in the album: no folders, drives or wildcards.
bool IsPlainName(const std::wstring& name) {
  return name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

bool IsPicturePath(const std::wstring& path) {
  std::wstring ext(core::ExtensionOf(path));
  ::CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  return ext == L".BMP" || ext == L".JPG" || ext == L".JPEG";
}

// The picture of `path` as a bitmap for the clipboard: a bitmap file as it
// is, a JPEG through the image library; nothing for a clip. False when the
// library is needed and missing.
bool ClipboardPicture(const std::wstring& path, base::Bitmap& picture) {
  if (core::IsClipName(path)) return true;
  if (core::PictureTypeOf(path) == core::PictureType::kBmp) {
    picture = imaging::LoadBitmapFile(path);
    return true;
  }
  const imaging::ImageLibrary library(settings::ProgramFolder());
  if (library.GetState() != imaging::ImageLibrary::State::kReady) return false;
  wchar_t folder[MAX_PATH] = L"";
  wchar_t temp[MAX_PATH] = L"";
  if (::GetTempPathW(MAX_PATH, folder) && ::GetTempFileNameW(folder, L"lum", 0, temp)) {
    if (library.Convert(path, temp, kZImgBmp)) picture = imaging::LoadBitmapFile(temp);
    ::DeleteFileW(temp);
  }
  return true;
}

}  // namespace

// ------------------------------------------------------------------- menu

void CFileListView::ShowImageMenu() {
  if (Mode() == core::DisplayMode::Details) CopyRowSelection();
  base::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ALBUM_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 2) : nullptr;
  if (!popup) return;
  const bool albumsToMoveTo = FillMoveMenu(::GetSubMenu(popup, kMovePosition));
  ApplyMenuStates(popup);
  if (SelectedCount() > 1) ::EnableMenuItem(popup, kDisplayModePosition, MF_BYPOSITION | MF_GRAYED);
  if (!albumsToMoveTo || m_nCurrent < 0) ::EnableMenuItem(popup, kMovePosition, MF_BYPOSITION | MF_GRAYED);
  const DWORD pos = ::GetMessagePos();  // where the button went down
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(pos)),
                   static_cast<short>(HIWORD(pos)), 0, m_hWnd, nullptr);
}

// Every album but the one on show, by its label; false when the list holds
// only one album.
bool CFileListView::FillMoveMenu(HMENU move) {
  if (!move) return false;
  ::DeleteMenu(move, 0, MF_BYPOSITION);  // the placeholder
  const std::vector<std::wstring> albums = album::LoadAlbumList(m_strIniPath);
  const std::string current = settings::Read(settings::kCurrentSelectAlbum, m_strIniPath);
  for (std::size_t i = 0; i < albums.size() && i <= core::kMoveToAlbumLast - core::kMoveToAlbumFirst; ++i) {
    if (base::Narrow(albums[i]) == current) continue;
    ::AppendMenuW(move, MF_STRING, core::kMoveToAlbumFirst + i, album::LabelOf(albums[i]).c_str());
  }
  return albums.size() > 1;
}

// Each entry as its state rule says; commands nobody takes are greyed.
void CFileListView::ApplyMenuStates(HMENU menu) {
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (i != kMovePosition) ApplyMenuStates(sub);
      continue;
    }
    const UINT id = ::GetMenuItemID(menu, i);
    if (!id || id == static_cast<UINT>(-1)) continue;
    base::CommandState state{id};
    if (!OnCommandState(state) || !state.enabled) ::EnableMenuItem(menu, i, MF_BYPOSITION | MF_GRAYED);
  }
}

int CFileListView::SelectedCount() const {
  return static_cast<int>(std::count_if(m_cells.begin(), m_cells.end(),
                                        [](const auto& cell) { return cell->IsSelected(); }));
}

// The commands on the selected files need a current file; properties and
// editing one file only; printing a picture; pasting copied files.
void CFileListView::OnFileCommandState(base::CommandState& state) {
  const bool current = m_nCurrent >= 0 && !m_strCurrentFile.empty();
  switch (state.id) {
    case ID_IMAGE_PROPERTIES:
    case ID_IMAGE_EDIT:
      state.enabled = current && SelectedCount() <= 1;
      break;
    case ID_ALBUM_PASTE:
      state.enabled = m_bCopied;
      break;
    case ID_IMAGE_PRINT:
      state.enabled = current && !core::IsClipName(m_strCurrentFile);
      break;
    default:
      state.enabled = current;
      break;
  }
}

// ---------------------------------------------------------------- the list

// Takes file `index` out of the list; the later files move up one place.
void CFileListView::RemoveItem(int index) {
  if (index < 0 || index >= Count()) return;
  const auto at = static_cast<std::size_t>(index);
  if (SamePath(m_items[at].path, m_strCurrentFile)) WriteCurrentFile(L"");
  m_items.erase(m_items.begin() + index);
  m_cells.erase(m_cells.begin() + index);
  for (int i = index; i < Count(); ++i) m_cells[static_cast<std::size_t>(i)]->SetIndex(i);
  m_nCurrent = -1;
  if (Mode() == core::DisplayMode::Details) {
    ListView_DeleteItem(m_hWnd, index);
    for (int i = 0; i < Count(); ++i) WriteRow(i);
  } else if (ListView_GetItemCount(m_hWnd) != core::GridRows(Count(), m_nColumns)) {
    ResetPlaceholders();
  }
  Relayout();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CFileListView::IndexOf(const std::wstring& path) const {
  for (int i = 0; i < Count(); ++i) {
    if (SamePath(m_items[static_cast<std::size_t>(i)].path, path)) return i;
  }
  return -1;
}

// A file written into the album on show: a new entry, or the entry of the
// file it replaced made again.
void CFileListView::ShowWrittenFile(const std::wstring& path) {
  if (m_strFolder.empty() || !SamePath(FolderOf(path), m_strFolder)) return;
  RemoveItem(IndexOf(path));
  AddFile(path);
}

// ---------------------------------------------------------------- commands

void CFileListView::OnProperties() {
  const std::wstring path = m_strCurrentFile;
  if (path.empty()) return;
  if (!album::PathExists(path)) {
    base::AppMessageBox(base::FormatResString(IDS_LIST_NO_FILE, path));
    return;
  }
  CPropertiesDlg(m_hWnd, path, settings::ProgramFolder()).DoModal();
}

// Every selected file takes the typed name with its own extension, and
// "-1", "-2" ... where the name is taken.
void CFileListView::OnRename() {
  CImageRenameDlg dialog(m_hWnd);
  if (dialog.DoModal() != IDOK) return;
  const std::wstring name = dialog.m_strResult;
  const bool details = Mode() == core::DisplayMode::Details;
  for (int i = Count() - 1; i >= 0; --i) {
    ThumbnailCell& cell = *m_cells[static_cast<std::size_t>(i)];
    if (!cell.IsSelected()) continue;
    Item& item = m_items[static_cast<std::size_t>(i)];
    const std::wstring extension(core::ExtensionOf(item.path));
    std::wstring target;
    for (int k = 0; target.empty() || album::PathExists(target); ++k) {
      target = core::RenameTarget(FolderOf(item.path), name, extension, k);
    }
    if (!IsPlainName(name) || !::MoveFileW(item.path.c_str(), target.c_str())) {
      Message(IDS_ALBUM_RENAME_FAILED);
      continue;
    }
    if (SamePath(item.path, m_strCurrentFile)) WriteCurrentFile(target);
    item.path = target;
    item.title = base::FileNameOf(target).substr(0, base::FileNameOf(target).rfind(L'.'));
    cell.SetPath(target);
    if (details) WriteRow(i);
    if (cell.m_hWnd) ::InvalidateRect(cell.m_hWnd, nullptr, FALSE);
  }
}

// Deleted files go to the Recycle Bin, after one question.
void CFileListView::OnDelete() {
  if (Mode() == core::DisplayMode::Details) CopyRowSelection();
  const std::vector<std::wstring> selected = SelectedFiles();
  if (selected.empty()) return;
  if (base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_FILE_DELETE_ASK),
                           base::LoadResString(IDS_FILE_DELETE_CAPTION),
                           MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
    return;
  }
  album::SendToRecycleBin(m_hWnd, selected);
  for (auto path = selected.rbegin(); path != selected.rend(); ++path) {
    if (album::PathExists(*path)) continue;  // kept: it stays in the list
    if (SamePath(*path, m_strClipboardSource)) m_bCopied = false;
    RemoveItem(IndexOf(*path));
  }
  m_nCurrent = -1;
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CFileListView::OnCopy() {
  m_bCopied = true;
  m_strClipboardSource = m_strCurrentFile;
  m_copiedFiles = SelectedFiles();
  base::Bitmap picture;
  if (!ClipboardPicture(m_strCurrentFile, picture)) {
    Message(IDS_TRANSFORM_MODULE_FAILED);
    return;
  }
  if (!::OpenClipboard(m_hWnd)) return;
  ::EmptyClipboard();
  // A packed bitmap, which every program can paste (the system offers it
  // as a bitmap too); the clipboard owns the memory once it took it.
  const std::vector<std::uint8_t> packed = imaging::PackedDib24Of(picture.Get());
  base::GlobalMemory memory(packed.empty() ? nullptr : ::GlobalAlloc(GMEM_MOVEABLE, packed.size()));
  if (void* p = memory ? ::GlobalLock(memory.Get()) : nullptr) {
    std::memcpy(p, packed.data(), packed.size());
    ::GlobalUnlock(memory.Get());
    if (::SetClipboardData(CF_DIB, memory.Get())) memory.Release();
  }
  ::CloseClipboard();
}

// Copies never overwrite: a taken name gains "Copy of" in front.
void CFileListView::OnPaste() {
  const std::wstring folder = m_strFolder;
  ClearSelection();
  for (const std::wstring& source : m_copiedFiles) {
    const std::wstring name = base::FileNameOf(source);
    std::wstring target;
    for (int n = 0; target.empty() || album::PathExists(target); ++n) {
      target = folder + L"\\" + core::PastedFileName(name, n);
    }
    if (::CopyFileW(source.c_str(), target.c_str(), TRUE)) {
      AddFile(target);
    } else {
      Message(IDS_ALBUM_COPY_FAILED);
      m_bCopied = false;
    }
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFileListView::OnMoveToAlbum(UINT id) {
  const std::vector<std::wstring> albums = album::LoadAlbumList(m_strIniPath);
  const std::size_t index = id - core::kMoveToAlbumFirst;
  if (index >= albums.size()) return;
  const std::wstring target = albums[index];
  for (int i = Count() - 1; i >= 0; --i) {
    if (!m_cells[static_cast<std::size_t>(i)]->IsSelected()) continue;
    const std::wstring path = m_items[static_cast<std::size_t>(i)].path;
    if (MoveIntoAlbum(path, target)) RemoveItem(i);
  }
  m_nCurrent = -1;
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// True when the file now lies in `album`. A file of the same name there is
// only replaced after the user says so, and in one step, so that neither
// file is lost when the move fails.
bool CFileListView::MoveIntoAlbum(const std::wstring& path, const std::wstring& album) {
  if (!album::PathExists(path)) {
    Message(IDS_LIST_NO_FILE, path);
    return false;
  }
  const std::wstring name = base::FileNameOf(path);
  const std::wstring target = album + L"\\" + name;
  DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
  if (album::PathExists(target)) {
    if (base::ShowMessageBox(m_hWnd, base::FormatResString(IDS_FILE_MOVE_EXISTS, name),
                             base::LoadResString(IDS_FILE_MOVE_CAPTION), MB_OKCANCEL) != IDOK) {
      return false;
    }
    flags |= MOVEFILE_REPLACE_EXISTING;
  }
  if (::MoveFileExW(path.c_str(), target.c_str(), flags) && !album::PathExists(path)) return true;
  Message(IDS_FILE_MOVE_FAILED);
  return false;
}

void CFileListView::OnImport() {
  CNewFileOpenDlg dialog(m_hWnd, album::LoadAlbumList(m_strIniPath), m_strFolder);
  if (!dialog.DoModal(base::LoadResString(IDS_IMPORT_TITLE), base::LoadResString(IDS_IMPORT_FILTER))) return;
  const auto album = dialog.ChosenAlbum();
  if (!album) return;
  ClearSelection();
  if (const auto target = ImportIntoAlbum(m_hWnd, dialog.m_strPath, *album)) ShowWrittenFile(*target);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Pictures are saved through the editor, which writes the format the new
// name asks for; clips are copied.
void CFileListView::OnSaveAs() {
  const std::vector<std::wstring> selected = SelectedFiles();
  for (auto path = selected.rbegin(); path != selected.rend(); ++path) {
    const std::wstring name = base::FileNameOf(*path);
    const bool picture = IsPicturePath(*path);
    base::FileDialogSpec spec;
    if (picture) {
      spec = {base::LoadResString(IDS_SAVE_IMAGE_AS_TITLE) + name, base::LoadResString(IDS_SAVE_IMAGE_FILTER),
              L"BMP", L""};
    } else {
      std::wstring folder = base::Widen(settings::Read(settings::kCapturedVideoFilePath, m_strIniPath));
      spec = {base::LoadResString(IDS_SAVE_VIDEO_AS_TITLE) + name, base::LoadResString(IDS_SAVE_VIDEO_FILTER),
              L"avi", folder.empty() ? L"c:\\temp" : folder};
    }
    const auto target = base::AskSaveFileName(m_hWnd, spec);
    if (!target) continue;
    const bool saved = picture ? m_pHost && m_pHost->SavePictureAs(*path, *target)
                               : base::ReplaceFileWithCopyOf(*target, *path);
    if (saved) {
      ShowWrittenFile(*target);
    } else if (!picture) {
      Message(IDS_ALBUM_COPY_FAILED);
    }
  }
}

#include "album/file_tree_view.h"

#include <algorithm>

#include "album/album_prompt_dialog.h"
#include "album/album_store.h"
#include "album/file_list_view.h"
#include "base/handles.h"
#include "base/message_box.h"
#include "base/splitter.h"
#include "base/strings.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings_file.h"

CFileTreeView* g_pFileTreeView = nullptr;

namespace {

void WriteCapturePaths(const std::wstring& ini, const std::wstring& path) {
  const std::string p = base::Narrow(path);
  settings::Write(settings::kCapturedImageFilePath, p, ini);
  settings::Write(settings::kCapturedVideoFilePath, p, ini);
}

// Whether a capture folder key holds `folder` (letter case aside).
bool CaptureKeyIs(const std::wstring& ini, const settings::Key& key, const std::wstring& folder) {
  const std::wstring value = base::Widen(settings::Read(key, ini));
  return ::lstrcmpiW(value.c_str(), folder.c_str()) == 0;
}

}  // namespace

const base::MessageMap* CFileTreeView::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CFileTreeView::OnReflectedNotify>(base::kReflectedNotify),
      base::MessageEntry<&CFileTreeView::OnDestroy>(WM_DESTROY),
      base::CommandEntry<&CFileTreeView::OnCreateAlbum>(ID_TREE_CREATE),
      base::CommandEntry<&CFileTreeView::OnRenameAlbum>(ID_TREE_RENAME),
      base::CommandEntry<&CFileTreeView::OnDeleteAlbum>(ID_TREE_DELETE),
      base::CommandEntry<&CFileTreeView::OnCopyAlbum>(ID_ALBUM_COPY),
      base::CommandEntry<&CFileTreeView::OnPasteAlbum>(ID_ALBUM_PASTE),
  };
  static const base::MessageMap kMap{CView::GetThisMessageMap(), kEntries};
  return &kMap;
}

CFileTreeView::~CFileTreeView() {
  if (m_hImages) ::ImageList_Destroy(m_hImages);
  if (g_pFileTreeView == this) g_pFileTreeView = nullptr;
}

bool CFileTreeView::CreateView(HWND parent, UINT id) {
  HWND hwnd = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
      WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd || !SubclassWindow(hwnd)) return false;
  g_pFileTreeView = this;
  return true;
}

LRESULT CFileTreeView::OnDestroy(WPARAM, LPARAM) {
  if (g_pFileTreeView == this) g_pFileTreeView = nullptr;
  return Default();
}

void CFileTreeView::CreateImageList() {
  m_hImages = ::ImageList_Create(24, 24, ILC_COLOR16 | ILC_MASK, 2, 0);
  if (!m_hImages) {
    Message(IDS_ALBUM_IMAGELIST_FAILED);
    return;
  }
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  for (UINT icon : {IDI_ALBUM, IDI_ALBUM_SELECTED}) {
    HICON h = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(icon), IMAGE_ICON, 24, 24, 0));
    if (h) {
      ::ImageList_AddIcon(m_hImages, h);
      ::DestroyIcon(h);
    }
  }
  TreeView_SetImageList(m_hWnd, m_hImages, TVSIL_NORMAL);
}

void CFileTreeView::OnInitialUpdate() {
  if (m_bInitialised) return;
  m_bInitialised = true;
  m_strIniPath = settings::SettingsPath();
  CreateImageList();
  album::PrepareFolders(m_strIniPath);
  m_albums = album::LoadAlbumList(m_strIniPath);
  for (const std::wstring& path : m_albums) m_items.push_back(AppendItem(path));

  const std::string modeText = settings::Read(settings::kShowImageMode, m_strIniPath);
  if (modeText.empty()) return;  // first start: nothing selected until the user picks
  if (!core::ParseDisplayMode(modeText, m_mode)) {
    m_mode = core::DisplayMode::Large;
    settings::Write(settings::kShowImageMode, "1", m_strIniPath);
  }
  if (g_pFileListView) g_pFileListView->ApplyModeStyle(m_mode);
  if (!m_items.empty()) TreeView_SelectItem(m_hWnd, m_items.front());
}

HTREEITEM CFileTreeView::AppendItem(const std::wstring& path) {
  std::wstring label = album::LabelOf(path);
  TVINSERTSTRUCTW ins{};
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = label.data();
  ins.item.iImage = 0;
  ins.item.iSelectedImage = 1;
  return TreeView_InsertItem(m_hWnd, &ins);
}

std::wstring CFileTreeView::ItemText(HTREEITEM item) const {
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  if (!item || !TreeView_GetItem(m_hWnd, &tv)) return {};
  return text;
}

void CFileTreeView::Message(UINT id, const std::wstring& arg) const {
  base::ShowMessageBox(m_hWnd, base::FormatResString(id, arg));
}

int CFileTreeView::CurrentIndex() const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_hCurrent && m_items[i] == m_hCurrent) return static_cast<int>(i);
  }
  return -1;
}

void CFileTreeView::ClearTreeSelection() {
  m_bQuiet = true;
  TreeView_SelectItem(m_hWnd, nullptr);
  m_bQuiet = false;
}

LRESULT CFileTreeView::OnReflectedNotify(WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code == TVN_SELCHANGEDW) {
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(lParam);
    if (!m_bQuiet && tv->itemNew.hItem) OnSelectionChanged(tv->itemNew.hItem);
  } else if (header->code == static_cast<UINT>(NM_RCLICK)) {
    OnRightClick();
    return TRUE;
  }
  return 0;
}

void CFileTreeView::OnSelectionChanged(HTREEITEM item) {
  m_hCurrent = item;
  const std::wstring label = ItemText(item);
  for (const std::wstring& path : m_albums) {
    if (album::LabelOf(path) != label) continue;
    if (g_pFileListView) {
      g_pFileListView->ResetList(m_mode);
      g_pFileListView->ShowAlbum(path, m_mode);
    }
    WriteCapturePaths(m_strIniPath, path);
    settings::Write(settings::kCurrentSelectAlbum, base::Narrow(path), m_strIniPath);
    return;
  }
}

void CFileTreeView::OnRightClick() {
  // Where the button went down, not where the pointer is by now.
  const DWORD pos = ::GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ::ScreenToClient(m_hWnd, &hit.pt);
  HTREEITEM item = TreeView_HitTest(m_hWnd, &hit);
  if (item && (hit.flags & TVHT_ONITEM)) {
    TreeView_SelectItem(m_hWnd, item);
    m_hCurrent = item;
    const std::wstring defaultLabel = album::LabelOf(settings::DefaultAlbumFolder());
    ShowTreeMenu(true, ItemText(item) == defaultLabel);
    return;
  }
  if (g_pFileListView) g_pFileListView->ResetList(m_mode);
  WriteCapturePaths(m_strIniPath, settings::DefaultAlbumFolder());
  ShowTreeMenu(false, false);
}

void CFileTreeView::ShowTreeMenu(bool onItem, bool onDefaultLabel) {
  base::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ALBUM_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) return;
  const core::TreeMenuState state = core::TreeMenuFor(onItem, onDefaultLabel, !m_strCopied.empty());
  const auto offer = [popup](UINT id, bool on) {
    ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  offer(ID_TREE_RENAME, state.rename);
  offer(ID_TREE_DELETE, state.remove);
  offer(ID_ALBUM_COPY, state.copy);
  offer(ID_ALBUM_PASTE, state.paste);
  const DWORD pos = ::GetMessagePos();
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(pos)),
                   static_cast<short>(HIWORD(pos)), 0, m_hWnd, nullptr);
}

void CFileTreeView::OnCreateAlbum() {
  if (m_albums.size() >= core::kAlbumCapacity) {  // a further album would be lost at next start
    Message(IDS_ALBUM_LIST_FULL);
    return;
  }
  CNewAlbumDlg dlg(m_hWnd);
  if (dlg.DoModal() != IDOK || dlg.m_strResult.empty()) return;
  const std::wstring path = dlg.m_strResult;
  for (const std::wstring& a : m_albums) {
    if (::lstrcmpiW(a.c_str(), path.c_str()) == 0) {
      Message(IDS_ALBUM_ALREADY_ALBUM);
      return;
    }
  }
  const int k = settings::ReadInt(settings::kAlbumNum, m_strIniPath);
  const std::string p = base::Narrow(path);
  settings::Write(settings::kAlbumNum, std::to_string(k + 1), m_strIniPath);
  settings::Write(settings::kCapturedImageFilePath, p, m_strIniPath);
  settings::Write(settings::kCurrentSelectAlbum, p, m_strIniPath);
  settings::Write(settings::AlbumKey(k), p, m_strIniPath);

  HTREEITEM item = AppendItem(path);
  ClearTreeSelection();
  if (g_pFileListView) g_pFileListView->ResetList(m_mode);
  m_albums.push_back(path);
  m_items.push_back(item);
  TreeView_SelectItem(m_hWnd, item);
}

void CFileTreeView::OnRenameAlbum() {
  const int index = CurrentIndex();
  if (index <= 0) return;
  CAlbumRenameDlg dlg(m_hWnd);
  if (dlg.DoModal() != IDOK) return;
  const std::wstring name = dlg.m_strResult;
  // The editor's working folder counts as taken: its files go at every exit.
  const bool taken = core::IsEditFolderName(name) ||
                     std::any_of(m_albums.begin(), m_albums.end(),
                                 [&](const std::wstring& a) { return album::LabelOf(a) == name; });
  if (taken) {
    Message(IDS_ALBUM_NAME_EXISTS, name);
    return;
  }
  const std::wstring oldPath = m_albums[index];
  const std::wstring newPath = oldPath.substr(0, oldPath.rfind(L'\\') + 1) + name;
  if (album::PathExists(newPath)) {
    Message(IDS_ALBUM_FOLDER_EXISTS);
    return;
  }
  // The new name stays one folder beside the old one.
  if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos || !album::StorablePath(newPath) ||
      !::MoveFileW(oldPath.c_str(), newPath.c_str())) {
    Message(IDS_ALBUM_RENAME_FAILED);
    return;
  }
  // Captures that went into the old folder follow the album, or the next
  // clip would bring the old folder back outside every album.
  const bool capturedHere = CaptureKeyIs(m_strIniPath, settings::kCapturedImageFilePath, oldPath) ||
                            CaptureKeyIs(m_strIniPath, settings::kCapturedVideoFilePath, oldPath);
  const std::string p = base::Narrow(newPath);
  settings::Write(settings::AlbumKey(index), p, m_strIniPath);
  settings::Write(settings::kCurrentSelectAlbum, p, m_strIniPath);
  settings::Write(settings::kCapturedImageFilePath, p, m_strIniPath);
  if (capturedHere) settings::Write(settings::kCapturedVideoFilePath, p, m_strIniPath);
  if (g_pFileListView) g_pFileListView->FolderRenamed(oldPath, newPath);
  std::wstring label = name;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = m_items[index];
  tv.pszText = label.data();
  TreeView_SetItem(m_hWnd, &tv);
  m_albums[index] = newPath;
}

void CFileTreeView::OnDeleteAlbum() {
  const int index = CurrentIndex();
  if (index <= 0) {
    Message(IDS_ALBUM_DEFAULT_NO_DELETE);
    return;
  }
  const std::wstring path = m_albums[index];
  m_albums.erase(m_albums.begin() + index);
  HTREEITEM item = m_items[index];
  m_items.erase(m_items.begin() + index);
  album::WriteAlbumList(m_strIniPath, m_albums);
  m_bQuiet = true;
  TreeView_DeleteItem(m_hWnd, item);
  TreeView_SelectItem(m_hWnd, nullptr);
  m_bQuiet = false;
  m_hCurrent = nullptr;
  if (g_pFileListView) g_pFileListView->ResetList(m_mode);
  // Clips would otherwise bring the deleted folder back outside every album.
  if (CaptureKeyIs(m_strIniPath, settings::kCapturedVideoFilePath, path)) {
    settings::Write(settings::kCapturedVideoFilePath, base::Narrow(settings::DefaultAlbumFolder()),
                    m_strIniPath);
  }
  album::RecycleAlbumFolder(m_hWnd, path);
}

void CFileTreeView::OnCopyAlbum() {
  const int index = CurrentIndex();
  if (index >= 0) m_strCopied = m_albums[index];
}

void CFileTreeView::OnPasteAlbum() {
  const int index = CurrentIndex();
  if (index < 0 || m_strCopied.empty()) return;  // nothing copied yet: nothing to do
  m_strPasteTarget = m_albums[index];
  if (m_strPasteTarget == m_strCopied) {
    Message(IDS_ALBUM_SAME_ALBUM);
    return;
  }
  album::CopyAlbumFiles(m_strCopied, m_strPasteTarget,
                        [this](const std::wstring&) { Message(IDS_ALBUM_COPY_FAILED); });
  if (!g_pFileListView) return;
  g_pFileListView->ResetList(m_mode);
  g_pFileListView->ShowAlbum(m_strPasteTarget, m_mode);
  // The reset emptied the current album and the capture folder; the target
  // stays shown, so new captures keep landing in it.
  settings::Write(settings::kCurrentSelectAlbum, base::Narrow(m_strPasteTarget), m_strIniPath);
  settings::Write(settings::kCapturedImageFilePath, base::Narrow(m_strPasteTarget), m_strIniPath);
}

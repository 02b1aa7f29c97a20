#include "album/file_list_view.h"

#include <algorithm>

#include "album/album_prompt_dialog.h"
#include "album/file_tree_view.h"
#include "app/lumora_app.h"
#include "base/handles.h"
#include "base/message_box.h"
#include "base/splitter.h"
#include "base/strings.h"
#include "core/file_operations.h"
#include "core/picture_files.h"
#include "core/text.h"
#include "editor/print_preview_dlg.h"
#include "res/resource.h"
#include "settings/settings_file.h"

CFileListView* g_pFileListView = nullptr;

namespace {

const COLORREF kIconBack = RGB(181, 222, 237);
const COLORREF kDetailsBack = RGB(255, 255, 255);
const int kColumns = 4;
const int kHideAbove = 5;  // details: a row this close to the top hides its cell

std::uint32_t DateKeyOf(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME t;
  if (!::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &t)) return 0;
  return core::DateKey(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

UINT TypeTextOf(const std::wstring& path) {
  switch (core::KindOfFile(base::Narrow(base::FileNameOf(path)))) {
    case core::AlbumFileKind::Bitmap:
      return IDS_LIST_TYPE_BMP;
    case core::AlbumFileKind::Video:
      return IDS_LIST_TYPE_AVI;
    default:
      return IDS_LIST_TYPE_JPG;
  }
}

// Sets a flag for as long as it lives, then gives it its earlier value.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : m_flag(flag), m_bEarlier(flag) { m_flag = true; }
  ~FlagScope() { m_flag = m_bEarlier; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& m_flag;
  bool m_bEarlier;
};

// Whether `path` names a file directly inside `folder` (letter case aside).
bool LiesIn(const std::wstring& path, const std::wstring& folder) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash != std::wstring::npos && ::lstrcmpiW(path.substr(0, slash).c_str(), folder.c_str()) == 0;
}

}  // namespace

const base::MessageMap* CFileListView::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CFileListView::OnReflectedNotify>(base::kReflectedNotify),
      base::MessageEntry<&CFileListView::OnScroll>(WM_VSCROLL),
      base::MessageEntry<&CFileListView::OnScroll>(WM_MOUSEWHEEL),
      base::MessageEntry<&CFileListView::OnScroll>(WM_KEYDOWN),
      base::MessageEntry<&CFileListView::OnSize>(WM_SIZE),
      base::MessageEntry<&CFileListView::OnButtonDown>(WM_LBUTTONDOWN),
      base::MessageEntry<&CFileListView::OnRButtonDown>(WM_RBUTTONDOWN),
      base::MessageEntry<&CFileListView::OnDestroy>(WM_DESTROY),
      base::MessageEntry<&CFileListView::OnThumbnailsReady>(kThumbnailsReady),
      base::CommandEntry<&CFileListView::OnSortName>(ID_SORT_NAME),
      base::CommandEntry<&CFileListView::OnSortSize>(ID_SORT_SIZE),
      base::CommandEntry<&CFileListView::OnSortDate>(ID_SORT_DATE),
      base::CommandEntry<&CFileListView::OnSearch>(ID_IMAGE_SEARCH),
      base::CommandEntry<&CFileListView::OpenCurrentFile>(ID_IMAGE_EDIT),
      base::CommandEntry<&CFileListView::OnPrint>(ID_IMAGE_PRINT),
      base::CommandEntry<&CFileListView::OnEmail>(ID_IMAGE_EMAIL),
      base::CommandRangeEntry<&CFileListView::OnBrowse>(ID_IMAGE_BROWSE_LARGE,
                                                        ID_IMAGE_BROWSE_SMALL),
      // The file commands.
      base::CommandEntry<&CFileListView::OnProperties>(ID_IMAGE_PROPERTIES),
      base::CommandEntry<&CFileListView::OnRename>(ID_IMAGE_RENAME),
      base::CommandEntry<&CFileListView::OnSaveAs>(ID_IMAGE_SAVE_AS),
      base::CommandEntry<&CFileListView::OnDelete>(ID_IMAGE_DELETE),
      base::CommandEntry<&CFileListView::OnCopy>(ID_ALBUM_COPY),
      base::CommandEntry<&CFileListView::OnPaste>(ID_ALBUM_PASTE),
      base::CommandEntry<&CFileListView::OnImport>(ID_IMAGE_IMPORT),
      base::CommandRangeEntry<&CFileListView::OnMoveToAlbum>(core::kMoveToAlbumFirst,
                                                             core::kMoveToAlbumLast),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_PROPERTIES),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_EDIT),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_RENAME),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_SAVE_AS),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_DELETE),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_ALBUM_COPY),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_ALBUM_PASTE),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_PRINT),
      base::CommandStateEntry<&CFileListView::OnFileCommandState>(ID_IMAGE_EMAIL),
  };
  static const base::MessageMap kMap{CView::GetThisMessageMap(), kEntries};
  return &kMap;
}

CFileListView::~CFileListView() {
  if (g_pFileListView == this) g_pFileListView = nullptr;
  if (m_hDetailImages) ::ImageList_Destroy(m_hDetailImages);
  if (m_hRowImages) ::ImageList_Destroy(m_hRowImages);
}

bool CFileListView::CreateView(HWND parent, UINT id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | LVS_REPORT | LVS_NOCOLUMNHEADER |
                      LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
  HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd || !SubclassWindow(hwnd)) return false;
  g_pFileListView = this;
  m_worker.reset(new (std::nothrow) ThumbnailWorker(m_hWnd, kThumbnailsReady));
  m_strIniPath = settings::SettingsPath();
  // The list starts in the order of the folder whatever "SortType" says; a
  // missing key is written with its default.
  if (settings::Read(settings::kSortType, m_strIniPath).empty()) {
    settings::Write(settings::kSortType, "1", m_strIniPath);
  }
  ApplyModeStyle(Mode());
  return true;
}

LRESULT CFileListView::OnDestroy(WPARAM, LPARAM) {
  m_worker.reset();  // its thread ends before the cells and their thumbnails go
  m_cells.clear();
  if (!m_strIniPath.empty()) settings::Write(settings::kCurrentSelectFile, "", m_strIniPath);
  if (g_pFileListView == this) g_pFileListView = nullptr;
  return Default();
}

core::DisplayMode CFileListView::Mode() const {
  return g_pFileTreeView ? g_pFileTreeView->DisplayMode() : core::DisplayMode::Large;
}

void CFileListView::Message(UINT id, const std::wstring& arg) const {
  base::ShowMessageBox(m_hWnd, base::FormatResString(id, arg));
}

void CFileListView::WriteCurrentFile(const std::wstring& path) {
  m_strCurrentFile = path;
  settings::Write(settings::kCurrentSelectFile, base::Narrow(path), m_strIniPath);
}

void CFileListView::ApplyModeStyle(core::DisplayMode mode) {
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  if (mode == core::DisplayMode::Details) {
    style &= ~static_cast<LONG_PTR>(LVS_NOCOLUMNHEADER);
    ListView_SetBkColor(m_hWnd, kDetailsBack);
    ListView_SetTextBkColor(m_hWnd, kDetailsBack);
  } else {
    style |= LVS_NOCOLUMNHEADER;
    ListView_SetBkColor(m_hWnd, kIconBack);
    ListView_SetTextBkColor(m_hWnd, kIconBack);
    ListView_SetExtendedListViewStyle(m_hWnd, 0);
  }
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

CFileListView::Item CFileListView::ItemOf(const std::wstring& path, const WIN32_FIND_DATAW& found) {
  Item item;
  item.path = path;
  const std::wstring name = found.cFileName;
  item.title = name.substr(0, name.rfind(L'.'));
  item.size = found.nFileSizeLow;
  item.date = DateKeyOf(found.ftLastWriteTime);
  return item;
}

// The cell's window is made when its row first comes into view (Relayout),
// so an album of many files opens without a window per file.
bool CFileListView::AppendCell(const Item& item, int index) {
  std::unique_ptr<ThumbnailCell> cell;
  try {
    cell = std::make_unique<ThumbnailCell>(*this, index);
    m_items.reserve(m_items.size() + 1);
    m_cells.reserve(m_cells.size() + 1);
  } catch (const std::bad_alloc&) {
    return false;
  }
  cell->SetPath(item.path);
  const core::AlbumFileKind kind = core::KindOfFile(base::Narrow(base::FileNameOf(item.path)));
  cell->SetKind(kind == core::AlbumFileKind::Jpeg ? 1 : 0);
  m_items.push_back(item);
  m_cells.push_back(std::move(cell));
  return true;
}

SIZE CFileListView::ThumbnailBox() const { return {m_geometry.boxWidth, m_geometry.boxHeight}; }

// A bitmap file that cannot give a thumbnail is told by its header: the
// cell is then done, and the user hears of a file that cannot be read.
// False when there is no thumbnail to make.
bool CFileListView::CheckBitmapCell(ThumbnailCell& cell) {
  if (cell.Source() != ThumbnailSource::kBitmapFile) return true;
  const BitmapFileCheck check = CheckBitmapFile(cell.Path());
  if (check == BitmapFileCheck::kReadable) return true;
  cell.SetThumbnail(Thumbnail{});
  if (check == BitmapFileCheck::kReadFailed) Message(IDS_LIST_READ_FAILED);
  return false;
}

void CFileListView::MakeThumbnailNow(ThumbnailCell& cell) {
  cell.SetThumbnail(MakeThumbnail(cell.Path(), cell.Source(), ThumbnailBox()));
}

void CFileListView::QueueThumbnail(ThumbnailCell& cell, bool urgent) {
  const unsigned ticket =
      cell.State() == ThumbnailCell::ThumbnailState::kQueued ? cell.Ticket() : ++m_nLastTicket;
  bool queued = false;
  if (m_worker) {
    try {
      queued = m_worker->Queue({ticket, cell.Path(), cell.Source(), ThumbnailBox()}, urgent);
    } catch (const std::bad_alloc&) {
    }
  }
  if (queued) {
    cell.MarkQueued(ticket);
  } else {
    MakeThumbnailNow(cell);  // no thread to make it on
  }
}

// After the cells in view: the rest of the album, in the list's order, so
// that scrolling finds them made.
void CFileListView::QueueRemainingThumbnails() {
  for (std::size_t i = 0; i < m_cells.size(); ++i) {
    ThumbnailCell& cell = *m_cells[i];
    if (cell.State() == ThumbnailCell::ThumbnailState::kWanted) QueueThumbnail(cell, false);
  }
}

// The thumbnails the worker finished go to their cells; one whose cell was
// let go (another album shown, the file removed) is dropped.
LRESULT CFileListView::OnThumbnailsReady(WPARAM, LPARAM) {
  if (!m_worker) return 0;
  for (ThumbnailDone& done : m_worker->Take()) {
    // Looked up afresh each time: a message box of an earlier cell may
    // have changed the list.
    const auto found = std::find_if(m_cells.begin(), m_cells.end(), [&](const auto& cell) {
      return cell->State() == ThumbnailCell::ThumbnailState::kQueued &&
             cell->Ticket() == done.ticket;
    });
    if (found == m_cells.end()) continue;
    ThumbnailCell& cell = **found;
    if (cell.Path() != done.path) {  // renamed meanwhile: made again from its new name
      cell.MarkWanted();
      QueueThumbnail(cell, false);
      continue;
    }
    cell.SetThumbnail(std::move(done.thumbnail));
  }
  return 0;
}

HBITMAP CFileListView::Artwork(UINT id) {
  for (const auto& [artId, bitmap] : m_artwork) {
    if (artId == id) return bitmap.Get();
  }
  base::Bitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
  const HBITMAP handle = bitmap.Get();
  if (!bitmap) return nullptr;
  try {
    m_artwork.emplace_back(id, std::move(bitmap));
  } catch (const std::bad_alloc&) {
    return nullptr;  // `bitmap` still owns it and frees it
  }
  return handle;
}

int CFileListView::WindowWidth() const {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  return rc.right - rc.left;
}

void CFileListView::ShowAlbum(const std::wstring& folder, core::DisplayMode mode) {
  {
    const FlagScope building(m_bBuilding);
    BuildList(folder, mode);
  }
  if (!m_bBuilding) AddWaitingFiles();
}

void CFileListView::BuildList(const std::wstring& folder, core::DisplayMode mode) {
  m_strFolder = folder;
  m_geometry = core::GeometryOf(mode);
  m_nColumns = core::GridColumns(WindowWidth(), m_geometry);
  for (const wchar_t* pattern : {L"\\*.bmp", L"\\*.avi", L"\\*.jpg"}) {
    WIN32_FIND_DATAW found;
    base::FindHandle find(::FindFirstFileW((folder + pattern).c_str(), &found));
    if (!find) continue;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      // Short-name matches ("x.jpeg" found by "*.jpg") are not album files.
      if (core::KindOfFile(base::Narrow(found.cFileName)) == core::AlbumFileKind::Other) continue;
      AppendCell(ItemOf(folder + L"\\" + found.cFileName, found), Count());
    } while (::FindNextFileW(find.Get(), &found));
  }
  m_bShown = true;
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  if (mode == core::DisplayMode::Details) {
    SetUpDetails();
  } else {
    SetUpGrid();
  }
  // Only the headers of the bitmap files are read here; the thumbnails are
  // made on the worker's thread. By index: a read failure opens a message
  // box, and the array is looked at afresh after each one.
  for (std::size_t i = 0; i < m_cells.size(); ++i) CheckBitmapCell(*m_cells[i]);
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  Relayout();
  QueueRemainingThumbnails();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFileListView::SetUpDetails() {
  if (!m_hDetailImages) m_hDetailImages = ::ImageList_Create(47, 35, ILC_COLOR4, 1, 1);
  ListView_SetImageList(m_hWnd, m_hDetailImages, LVSIL_SMALL);
  const UINT titles[kColumns] = {IDS_LIST_COL_NAME, IDS_LIST_COL_SIZE, IDS_LIST_COL_TYPE,
                                 IDS_LIST_COL_PATH};
  const int widths[kColumns] = {125, 50, 70, 300};
  while (ListView_DeleteColumn(m_hWnd, 0)) {
  }
  for (int c = 0; c < kColumns; ++c) {
    std::wstring title = base::LoadResString(titles[c]);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = LVCFMT_LEFT;
    col.cx = widths[c];
    col.pszText = title.data();
    ListView_InsertColumn(m_hWnd, c, &col);
  }
  ListView_SetExtendedListViewStyle(m_hWnd, LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
  for (int i = 0; i < Count(); ++i) AddRow(i);
}

void CFileListView::AddRow(int index) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.iImage = I_IMAGENONE;
  item.pszText = const_cast<wchar_t*>(L"");
  ListView_InsertItem(m_hWnd, &item);
  WriteRow(index);
}

void CFileListView::WriteRow(int index) {
  const Item& it = m_items[static_cast<std::size_t>(index)];
  std::wstring texts[kColumns] = {base::FileNameOf(it.path), base::FormatW(L"%uKB", it.size / 1024),
                                  base::LoadResString(TypeTextOf(it.path)), it.path};
  for (int c = 0; c < kColumns; ++c) ListView_SetItemText(m_hWnd, index, c, texts[c].data());
}

void CFileListView::SetUpGrid() {
  const int rowHeight = m_geometry.cellHeight + m_geometry.gap;
  while (ListView_DeleteColumn(m_hWnd, 0)) {
  }
  LVCOLUMNW col{};
  col.mask = LVCF_WIDTH;
  col.cx = 0;
  ListView_InsertColumn(m_hWnd, 0, &col);
  HIMAGELIST rows = ::ImageList_Create(1, rowHeight, ILC_COLOR, 1, 1);
  ListView_SetImageList(m_hWnd, rows, LVSIL_SMALL);
  if (m_hRowImages) ::ImageList_Destroy(m_hRowImages);
  m_hRowImages = rows;
  ResetPlaceholders();
}

void CFileListView::ResetPlaceholders() {
  ListView_DeleteAllItems(m_hWnd);
  const int rows = core::GridRows(Count(), m_nColumns);
  ListView_SetItemCount(m_hWnd, rows);
  for (int r = 0; r < rows; ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertItem(m_hWnd, &item);
  }
}

// Cells follow their rows. Only the cells of the rows in view (and one row
// either side) are moved and shown; the others are hidden, so a scroll step
// costs a screenful of cells, not the whole album. The thumbnails of the
// cells in view are made before any other, top row first.
void CFileListView::Relayout() {
  const bool details = Mode() == core::DisplayMode::Details;
  const int perRow = details ? 1 : m_nColumns;
  const int firstRow = ListView_GetTopIndex(m_hWnd) - 1;
  const int lastRow = firstRow + ListView_GetCountPerPage(m_hWnd) + 2;
  std::vector<ThumbnailCell*> wanted;
  HDWP defer = ::BeginDeferWindowPos(perRow * (lastRow - firstRow + 1));
  RECT row{};
  int rowOf = -1;  // the placeholder row whose rectangle `row` holds
  for (int i = 0; i < Count(); ++i) {
    ThumbnailCell& cell = *m_cells[static_cast<std::size_t>(i)];
    const int rowIndex = i / perRow;
    if (rowIndex < firstRow || rowIndex > lastRow) {
      if (cell.m_hWnd && ::IsWindowVisible(cell.m_hWnd)) ::ShowWindow(cell.m_hWnd, SW_HIDE);
      continue;
    }
    if (rowIndex != rowOf) {
      row = {};
      row.left = details ? LVIR_ICON : LVIR_BOUNDS;
      ::SendMessageW(m_hWnd, LVM_GETITEMRECT, rowIndex, reinterpret_cast<LPARAM>(&row));
      rowOf = rowIndex;
    }
    RECT place;
    bool visible = true;
    if (details) {
      place = {row.left, row.top, row.left + m_geometry.boxWidth, row.top + m_geometry.boxHeight};
      visible = row.top >= kHideAbove;
      if (visible)
        ListView_SetItemState(m_hWnd, i, cell.IsSelected() ? LVIS_SELECTED : 0, LVIS_SELECTED);
    } else {
      const core::CellRect r = core::GridCell(i, m_nColumns, m_geometry);
      const int top = row.top + m_geometry.gap;
      place = {r.left, top, r.right, top + m_geometry.cellHeight};
    }
    if (cell.State() != ThumbnailCell::ThumbnailState::kMade) {
      try {
        wanted.push_back(&cell);
      } catch (const std::bad_alloc&) {  // made in the background order instead
      }
    }
    if (!cell.m_hWnd && !cell.Create(m_hWnd, place, details)) continue;
    // The list control's own scrolling may have carried the window along,
    // so every cell in view is put in its place again.
    if (defer) {
      defer = ::DeferWindowPos(defer, cell.m_hWnd, nullptr, place.left, place.top,
                               place.right - place.left, place.bottom - place.top,
                               SWP_NOZORDER | SWP_NOACTIVATE |
                                   (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
  }
  if (defer) ::EndDeferWindowPos(defer);
  // Each goes to the front of the queue: the last queued is made first.
  for (auto cell = wanted.rbegin(); cell != wanted.rend(); ++cell) QueueThumbnail(**cell, true);
}

void CFileListView::ResetList(core::DisplayMode mode) {
  if (m_worker) m_worker->Cancel();
  m_cells.clear();
  m_items.clear();
  ListView_DeleteAllItems(m_hWnd);
  if (mode == core::DisplayMode::Details) {
    while (ListView_DeleteColumn(m_hWnd, 0)) {
    }
  }
  m_nCurrent = -1;
  m_bShown = false;
  m_strFolder.clear();
  settings::Write(settings::kCurrentSelectFile, "", m_strIniPath);
  settings::Write(settings::kCurrentSelectAlbum, "", m_strIniPath);
  settings::Write(settings::kCapturedImageFilePath, "", m_strIniPath);
}

void CFileListView::AddFile(const std::wstring& path) {
  m_waiting.push_back(path);
  if (!m_bBuilding) AddWaitingFiles();
}

void CFileListView::AddWaitingFiles() {
  const FlagScope building(m_bBuilding);
  while (!m_waiting.empty()) {
    const std::wstring path = std::move(m_waiting.front());
    m_waiting.erase(m_waiting.begin());
    AppendFile(path);
  }
}

void CFileListView::FolderRenamed(const std::wstring& oldFolder, const std::wstring& newFolder) {
  if (m_strFolder.empty() || ::lstrcmpiW(m_strFolder.c_str(), oldFolder.c_str()) != 0) return;
  m_strFolder = newFolder;
  const bool details = Mode() == core::DisplayMode::Details;
  for (int i = 0; i < Count(); ++i) {
    Item& item = m_items[static_cast<std::size_t>(i)];
    item.path = newFolder + L"\\" + base::FileNameOf(item.path);
    m_cells[static_cast<std::size_t>(i)]->SetPath(item.path);
    if (details) WriteRow(i);
  }
  const std::wstring current =
      base::Widen(settings::Read(settings::kCurrentSelectFile, m_strIniPath));
  if (LiesIn(current, oldFolder)) WriteCurrentFile(newFolder + L"\\" + base::FileNameOf(current));
}

void CFileListView::AppendFile(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  base::FindHandle find(::FindFirstFileW(path.c_str(), &found));
  if (!find) {
    Message(IDS_LIST_NO_FILE, path);
    return;
  }
  // The still folder may be set apart from the album on show; a file written
  // there is not one of this album's files and stays out of its list.
  if (!m_strFolder.empty() && !LiesIn(path, m_strFolder)) return;
  const core::DisplayMode mode = Mode();
  if (!m_bShown) {  // nothing shown yet: the grid of the current mode
    m_geometry = core::GeometryOf(mode);
    m_nColumns = core::GridColumns(WindowWidth(), m_geometry);
    m_bShown = true;
    if (mode == core::DisplayMode::Details)
      SetUpDetails();
    else
      SetUpGrid();
  }
  const int index = Count();
  if (!AppendCell(ItemOf(path, found), index)) {
    Message(IDS_LIST_ALLOC_FAILED);
    return;
  }
  ThumbnailCell& cell = *m_cells.back();
  // One file: its thumbnail is made at once, so that a capture shows at once.
  if (CheckBitmapCell(cell)) MakeThumbnailNow(cell);
  if (mode == core::DisplayMode::Details) {
    AddRow(index);
    ListView_SetItemState(m_hWnd, index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_hWnd, index, FALSE);
    cell.SetSelected(true);
  } else {
    if (ListView_GetItemCount(m_hWnd) != core::GridRows(Count(), m_nColumns)) ResetPlaceholders();
    ListView_EnsureVisible(m_hWnd, ListView_GetItemCount(m_hWnd) - 1, FALSE);
  }
  Relayout();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFileListView::ClearSelection() {
  for (auto& cell : m_cells) cell->SetSelected(false);
  if (Mode() == core::DisplayMode::Details) ListView_SetItemState(m_hWnd, -1, 0, LVIS_SELECTED);
  m_nCurrent = -1;
  WriteCurrentFile(L"");
}

void CFileListView::CopyRowSelection() {
  for (int i = 0; i < Count(); ++i) {
    const bool selected = ListView_GetItemState(m_hWnd, i, LVIS_SELECTED) != 0;
    m_cells[static_cast<std::size_t>(i)]->SetSelected(selected);
  }
}

void CFileListView::Sort(int key) {
  const bool details = Mode() == core::DisplayMode::Details;
  if (details) CopyRowSelection();
  const ThumbnailCell* current =
      m_nCurrent >= 0 ? m_cells[static_cast<std::size_t>(m_nCurrent)].get() : nullptr;
  core::BubbleSort(
      m_items.size(),
      [&](std::size_t a, std::size_t b) {
        const Item& l = m_items[a];
        const Item& r = m_items[b];
        if (key == 2) return l.size > r.size;
        if (key == 3) return l.date > r.date;
        return core::TitleGreater(base::Narrow(l.title), base::Narrow(r.title));
      },
      [&](std::size_t a, std::size_t b) {
        std::swap(m_items[a], m_items[b]);
        std::swap(m_cells[a], m_cells[b]);
      });
  m_nCurrent = -1;
  for (int i = 0; i < Count(); ++i) {
    ThumbnailCell& cell = *m_cells[static_cast<std::size_t>(i)];
    cell.SetIndex(i);
    if (&cell == current) m_nCurrent = i;
    if (!details) continue;
    WriteRow(i);
    // Every row, not only those in view: the rows' marks are what the next
    // click copies back into the cells.
    ListView_SetItemState(m_hWnd, i, cell.IsSelected() ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  Relayout();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFileListView::ChangeDisplayMode(core::DisplayMode mode) {
  const core::DisplayMode old = Mode();
  if (mode == old || !g_pFileTreeView) return;
  const std::string folder = settings::Read(settings::kCurrentSelectAlbum, m_strIniPath);
  ResetList(old);
  g_pFileTreeView->SetDisplayMode(mode);
  ApplyModeStyle(mode);
  if (!folder.empty()) ShowAlbum(base::Widen(folder), mode);
  settings::Write(settings::kCurrentSelectAlbum, folder, m_strIniPath);
  // The album stays shown, so new captures keep landing in it.
  settings::Write(settings::kCapturedImageFilePath, folder, m_strIniPath);
  settings::Write(settings::kShowImageMode, std::to_string(static_cast<int>(mode)), m_strIniPath);
}

void CFileListView::OnBrowse(UINT id) {
  ChangeDisplayMode(id == ID_IMAGE_BROWSE_DETAIL  ? core::DisplayMode::Details
                    : id == ID_IMAGE_BROWSE_SMALL ? core::DisplayMode::Small
                                                  : core::DisplayMode::Large);
}

LRESULT CFileListView::OnScroll(WPARAM, LPARAM) {
  const LRESULT r = Default();
  Relayout();
  return r;
}

LRESULT CFileListView::OnSize(WPARAM, LPARAM) {
  const LRESULT r = Default();
  if (!m_bShown) return r;
  if (Mode() != core::DisplayMode::Details) {
    const int columns = core::ResizeColumns(WindowWidth(), ::GetSystemMetrics(SM_CXBORDER),
                                            ::GetSystemMetrics(SM_CXVSCROLL), m_geometry);
    if (columns == m_nColumns) return r;
    m_nColumns = columns;
    ResetPlaceholders();
  }
  Relayout();
  return r;
}

// A click anywhere in the list (on a cell, a row or between them) gives it
// the keyboard focus: the Delete key then acts on files, not on the album
// that the tree had the focus for.
LRESULT CFileListView::OnButtonDown(WPARAM, LPARAM) {
  ::SetFocus(m_hWnd);
  if (Mode() == core::DisplayMode::Details) return Default();
  ClearSelection();
  return 0;
}

LRESULT CFileListView::OnRButtonDown(WPARAM, LPARAM) {
  ::SetFocus(m_hWnd);
  if (Mode() == core::DisplayMode::Details) return Default();
  ClearSelection();
  ShowImageMenu();
  return 0;
}

LRESULT CFileListView::PassClick(HWND cell, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::MapWindowPoints(cell, m_hWnd, &pt, 1);
  return ::SendMessageW(m_hWnd, message, wParam, MAKELPARAM(pt.x, pt.y));
}

LRESULT CFileListView::OnReflectedNotify(WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  const bool right = header->code == static_cast<UINT>(NM_RCLICK);
  if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    OpenCurrentFile();
  } else if (right || header->code == static_cast<UINT>(NM_CLICK)) {
    if (Mode() != core::DisplayMode::Details) return 0;
    const int row = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
    if (row >= 0 && row < Count()) {
      CopyRowSelection();
      WriteCurrentFile(m_items[static_cast<std::size_t>(row)].path);
      m_cells[static_cast<std::size_t>(row)]->SetSelected(true);
      m_nCurrent = row;
    } else {
      WriteCurrentFile(L"");
      m_nCurrent = -1;
      if (right) ClearSelection();
    }
    if (right) ShowImageMenu();
  }
  return 0;
}

void CFileListView::OnCellClick(ThumbnailCell& cell, bool ctrl) {
  if (!ctrl) ClearSelection();
  WriteCurrentFile(cell.Path());
  cell.SetSelected(!cell.IsSelected());
  m_nCurrent = cell.IsSelected() ? cell.Index() : -1;
}

void CFileListView::OnCellRightClick(ThumbnailCell& cell) {
  if (!cell.IsSelected()) ClearSelection();
  cell.SetSelected(true);
  m_nCurrent = cell.Index();
  WriteCurrentFile(cell.Path());
  ShowImageMenu();
}

// The main window opens the current file: a clip in the player, anything
// else in the editor.
void CFileListView::OpenCurrentFile() {
  if (m_pHost && !m_strCurrentFile.empty()) m_pHost->OpenAlbumFile(m_strCurrentFile);
}

void CFileListView::OnSearch() {
  CImageSearchDlg dlg(m_hWnd, [this](const std::wstring& text) { return Search(text); });
  dlg.DoModal();
}

bool CFileListView::Search(const std::wstring& text) {
  std::vector<int> matches;
  for (int i = 0; i < Count(); ++i) {
    const std::wstring name = base::FileNameOf(m_items[static_cast<std::size_t>(i)].path);
    if (core::MatchesWildcard(base::Narrow(text), base::Narrow(name))) matches.push_back(i);
  }
  if (matches.empty()) {
    Message(IDS_LIST_NOT_FOUND, text);
    return false;
  }
  ClearSelection();
  for (int i : matches) SelectForSearch(i);
  Relayout();
  return true;
}

void CFileListView::SelectForSearch(int index) {
  ThumbnailCell& cell = *m_cells[static_cast<std::size_t>(index)];
  if (Mode() == core::DisplayMode::Details) {
    ListView_SetItemState(m_hWnd, index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_hWnd, index, FALSE);
    cell.SetSelected(true);
    m_nCurrent = index;
    WriteCurrentFile(cell.Path());
    return;
  }
  ListView_EnsureVisible(m_hWnd, index / m_nColumns, FALSE);
  Relayout();
  OnCellClick(cell, true);
}

std::vector<std::wstring> CFileListView::SelectedFiles() const {
  std::vector<std::wstring> paths;
  for (std::size_t i = 0; i < m_cells.size() && i < m_items.size(); ++i) {
    if (m_cells[i]->IsSelected()) paths.push_back(m_items[i].path);
  }
  return paths;
}

// Each selected picture in its own print preview, one after the other; a
// clip among them is refused with a message and the others still print.
void CFileListView::OnPrint() {
  if (Mode() == core::DisplayMode::Details) CopyRowSelection();
  if (m_nCurrent < 0) {
    Message(IDS_SELECT_AN_IMAGE);
    return;
  }
  for (const std::wstring& path : SelectedFiles()) {
    if (core::IsClipName(path)) {
      Message(IDS_SELECT_AN_IMAGE);
    } else {
      editor::ShowPrintPreview(path);
    }
  }
}

// The main window mails the selected files.
void CFileListView::OnEmail() {
  if (Mode() == core::DisplayMode::Details) CopyRowSelection();
  if (m_pHost) m_pHost->RunMainCommand(ID_TB_EMAIL);
}

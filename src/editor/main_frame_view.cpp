// The editor's view and history: drawing the picture, zoom, fit and 1:1,
// quarter turns, one level of undo, the save question, the folder's list of
// pictures with Previous and Next, the full-screen view and Open.
#include <cstring>
#include <new>

#include "album/album_store.h"
#include "album/new_file_open_dlg.h"
#include "app/lumora_app.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/dib_rotate.h"
#include "editor/full_screen_dlg.h"
#include "editor/main_frame.h"
#include "editor/working_copy.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

core::PictureRect ClientOf(HWND hwnd) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

core::PictureSize SizeOf(HBITMAP bitmap) {
  const SIZE size = imaging::BitmapSize(bitmap);
  return {size.cx, size.cy};
}

// The pixel rows of `packed` (a 40-byte header, then the rows) turned a
// quarter, behind a header with the sides exchanged.
std::vector<std::uint8_t> TurnedPackedDib(const std::vector<std::uint8_t>& packed, bool clockwise) {
  BITMAPINFOHEADER header;
  std::memcpy(&header, packed.data(), sizeof header);
  const std::vector<std::uint8_t> rows =
      core::RotateDib24(packed.data() + sizeof header, header.biWidth, header.biHeight, clockwise);
  if (rows.empty()) return {};
  std::swap(header.biWidth, header.biHeight);
  std::vector<std::uint8_t> turned(sizeof header + rows.size());
  std::memcpy(turned.data(), &header, sizeof header);
  std::memcpy(turned.data() + sizeof header, rows.data(), rows.size());
  return turned;
}

}  // namespace

// The picture in the frame's client rectangle, drawn on the MDI client that
// covers it: `offset` is where that client lies in the frame.
void CMainFrame::DrawEditImage(HDC dc, POINT offset) {
  if (!m_hCurBitmap) return;
  const core::PictureSize bitmap = SizeOf(m_hCurBitmap.Get());
  if (m_viewMode == core::ViewMode::kNormal) m_zoom = {bitmap, bitmap, 0, 0};
  const core::PictureSize size = m_viewMode == core::ViewMode::kNormal ? bitmap : m_zoom.view;
  const core::Placement at = core::LayOutEditorPicture(ClientOf(m_hWnd), size, m_viewMode);
  if (at.width <= 0 || at.height <= 0) return;
  base::MemoryDc source(::CreateCompatibleDC(dc));
  if (!source) return;
  base::SelectScope select(source.Get(), m_hCurBitmap.Get());
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, at.x - offset.x, at.y - offset.y, at.width, at.height, source.Get(), 0, 0,
               bitmap.width, bitmap.height, SRCCOPY);
}

void CMainFrame::RedrawPicture() { ::InvalidateRect(m_hWndMDIClient, nullptr, TRUE); }

void CMainFrame::ZoomIn() {
  if (!HasPicture()) return;
  if (!core::ZoomInStep(m_zoom, core::EditorArea(ClientOf(m_hWnd)))) return;
  m_viewMode = core::ViewMode::kZoom;
  RedrawPicture();
}

void CMainFrame::ZoomOut() {
  if (!HasPicture() || !core::ZoomOutStep(m_zoom)) return;
  m_viewMode = core::ViewMode::kZoom;
  RedrawPicture();
}

void CMainFrame::FitInWindow() {
  if (!HasPicture()) return;
  core::FitInArea(m_zoom, SizeOf(m_hCurBitmap.Get()), core::EditorArea(ClientOf(m_hWnd)));
  m_viewMode = core::ViewMode::kZoom;
  RedrawPicture();
}

void CMainFrame::ShowActualSize() {
  if (!HasPicture()) return;
  m_viewMode = core::ViewMode::kNormal;
  RedrawPicture();
}

// A new display bitmap after a turn or an undo: the working copy and the
// pixel buffer are made from it at once, so all three show the same picture.
void CMainFrame::AfterPictureChange(base::Bitmap picture, core::ViewMode mode) {
  const std::vector<std::uint8_t> packed = imaging::PackedDib24Of(picture.Get());
  m_hCurBitmap = std::move(picture);
  TakePixels(packed);
  WriteBitmapFile(m_hCurBitmap.Get(), editor::WorkingCopyPath());
  m_viewMode = mode;
  if (mode == core::ViewMode::kNormal) {
    const core::PictureSize size = SizeOf(m_hCurBitmap.Get());
    m_zoom = {size, size, 0, 0};
  }
  RedrawPicture();
}

// The pixel buffer takes a packed bitmap; the buffer only grows.
void CMainFrame::TakePixels(const std::vector<std::uint8_t>& packed) {
  const auto bytes = static_cast<std::uint32_t>(packed.size());
  if (bytes == 0) return;
  if (m_nDibCapacity < bytes) {
    m_pDib.reset(new (std::nothrow) std::uint8_t[bytes + 100ull]);
    m_nDibCapacity = m_pDib ? bytes + 100 : 0;
    m_nDibBytes = 0;
    if (!m_pDib) return;
  }
  std::memcpy(m_pDib.get(), packed.data(), bytes);
  m_nDibBytes = bytes;
}

void CMainFrame::RotateImage(bool clockwise) {
  if (!HasPicture() || EffectDialogOpen() ||
      !CheckEditableSize(reinterpret_cast<const BITMAPINFOHEADER*>(m_pDib.get()))) {
    return;
  }
  const base::WaitCursor wait;
  const std::vector<std::uint8_t> turned =
      TurnedPackedDib(imaging::PackedDib24Of(m_hCurBitmap.Get()), clockwise);
  base::Bitmap picture = imaging::BitmapFromPackedDib(turned.data(), turned.size());
  if (!picture) return;
  m_hUndoBitmap = std::move(m_hCurBitmap);
  m_bModified = true;
  m_lastEdit = LastEdit::kRotate;
  AfterPictureChange(std::move(picture), core::ViewMode::kNormal);
}

// The picture from before the last change; the undo picture stays, so a
// second undo would show it again.
void CMainFrame::UndoEdit() {
  if (!m_bModified || !m_hUndoBitmap || EffectDialogOpen()) return;
  base::Bitmap picture = imaging::CopyBitmap(m_hUndoBitmap.Get());
  if (!picture) return;
  AfterPictureChange(std::move(picture),
                     m_lastEdit == LastEdit::kEffect ? core::ViewMode::kZoom : core::ViewMode::kNormal);
  m_bModified = false;
}

void CMainFrame::AskSaveIfModified() {
  if (!m_bModified) return;
  // The caption is the product's name as this box has always spelt it.
  if (base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_ASK_SAVE_MODIFIED), L"Lumroa",
                           MB_YESNO) == IDYES) {
    SaveEditedImage();
  }
}

// Every picture of the folder, in the file system's order.
void CMainFrame::BuildFolderFileList(const std::wstring& path) {
  const std::wstring folder = path.substr(0, path.rfind(L'\\') == std::wstring::npos ? 0 : path.rfind(L'\\'));
  std::vector<std::wstring> entries;
  WIN32_FIND_DATAW found;
  base::FindHandle find(::FindFirstFileW((folder + L"\\*.*").c_str(), &found));
  for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) entries.push_back(folder + L"\\" + found.cFileName);
  }
  m_folderFiles = core::ListFolderPictures(entries, [&](const std::wstring& entry) {
    return ::CompareStringOrdinal(entry.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
  });
}

void CMainFrame::ShowPreviousFile() { StepThroughFolder(-1); }
void CMainFrame::ShowNextFile() { StepThroughFolder(+1); }

void CMainFrame::StepThroughFolder(int step) {
  if (EffectDialogOpen()) return;
  const int current = m_folderFiles.current;
  const int last = static_cast<int>(m_folderFiles.paths.size()) - 1;
  if (current < 0 || (step < 0 && current == 0) || (step > 0 && current >= last)) {
    base::AppMessageBox(base::LoadResString(step < 0 ? IDS_FIRST_FILE : IDS_LAST_FILE));
    return;
  }
  AskSaveIfModified();
  m_bModified = false;
  ShowFolderFile(current + step);
}

// Shows the folder's picture number `index` as the edited file; the list
// moves to it only when it could be opened, so the title, Save and the
// list always name the picture shown.
void CMainFrame::ShowFolderFile(int index) {
  const std::wstring path = m_folderFiles.paths[static_cast<std::size_t>(index)];
  if (!LoadEditFile(path)) return;
  m_folderFiles.current = index;
  m_strEditFile = path;
  RefreshEditingToolbar();
  SetEditTitle(path);
  SetToolbarTexts();
  if (!m_bEditable) ShowTooBigMessage();
}

void CMainFrame::ShowFullScreen() {
  if (!m_hCurBitmap || EffectDialogOpen()) return;
  AskSaveIfModified();
  CFullScreenDlg(m_hWnd, m_folderFiles, m_hCurBitmap).DoModal();
  if (m_folderFiles.current >= 0) {
    ShowFolderFile(m_folderFiles.current);
  } else if (LoadEditFile(m_strEditFile)) {
    RefreshEditingToolbar();
    if (!m_bEditable) ShowTooBigMessage();
  }
}

// A picture or clip chosen in the import dialog, which can also copy it into
// an album first (the album window is closed in this mode: the copy shows
// when the album is shown again). The path is kept in capitals, as the title
// then shows it.
void CMainFrame::OpenInEditor() {
  if (EffectDialogOpen()) return;
  CNewFileOpenDlg dialog(m_hWnd, album::LoadAlbumList(m_strIniPath),
                         base::Widen(settings::Read(settings::kCurrentSelectAlbum, m_strIniPath)));
  dialog.m_bImport = false;
  if (!dialog.DoModal(base::LoadResString(IDS_OPEN_FILE_TITLE), base::LoadResString(IDS_OPEN_FILE_FILTER))) {
    return;
  }
  if (const auto album = dialog.ChosenAlbum()) ImportIntoAlbum(m_hWnd, dialog.m_strPath, *album);
  std::wstring path = dialog.m_strPath;
  ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  AskSaveIfModified();
  if (core::IsClipName(path)) {
    EnterVideoMode(path);
    return;
  }
  if (!LoadEditFile(path)) return;
  m_strEditFile = path;
  BuildFolderFileList(path);
  RefreshEditingToolbar();
  SetToolbarTexts();
  SetEditTitle(path);
}

#include "album/new_file_open_dlg.h"

#include <commdlg.h>

#include "album/album_store.h"
#include "album/clip_frame.h"
#include "album/picture_file.h"
#include "base/file_io.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "base/wnd.h"
#include "core/file_operations.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"

namespace {

// The panel's controls in pixels (the panel is 85 pixels high).
constexpr RECT kTickBox{12, 10, 12 + 100, 10 + 16};
constexpr RECT kImportToLabel{12, 36, 12 + 70, 36 + 16};
constexpr RECT kAlbumBox{90, 32, 90 + 240, 32 + 16};
constexpr RECT kPreview{340, 10, 340 + 80, 10 + 60};

void Place(HWND dialog, int id, const RECT& rc) {
  ::MoveWindow(::GetDlgItem(dialog, id), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

std::wstring UpperExtension(const std::wstring& path) {
  std::wstring ext(core::ExtensionOf(path));
  ::CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  return ext;
}

// The clip preview's frame is written to the user's temporary folder, which
// the user can always write, and replaced for every clip.
std::wstring ClipPreviewPath() {
  wchar_t folder[MAX_PATH] = L"";
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"AVIFirstFrame.BMP";
}

}  // namespace

CNewFileOpenDlg::CNewFileOpenDlg(HWND owner, std::vector<std::wstring> albums, std::wstring current)
    : m_hOwner(owner), m_albums(std::move(albums)), m_strCurrent(std::move(current)) {}

bool CNewFileOpenDlg::DoModal(const std::wstring& title, const std::wstring& filter) {
  std::wstring filters = filter;
  for (wchar_t& c : filters) {
    if (c == L'|') c = L'\0';
  }
  std::vector<wchar_t> name(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hOwner;
  ofn.hInstance = ::GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filters.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = L"BMP";
  ofn.lpstrInitialDir = L"c:\\temp";
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_IMPORT_PANEL);
  ofn.lpfnHook = HookProc;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
  if (!::GetOpenFileNameW(&ofn) || name[0] == L'\0') return false;
  m_strPath = name.data();
  return true;
}

UINT_PTR CALLBACK CNewFileOpenDlg::HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CNewFileOpenDlg*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
    ::SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->OnInit(hook);
    return TRUE;
  }
  auto* self = reinterpret_cast<CNewFileOpenDlg*>(::GetWindowLongPtrW(hook, GWLP_USERDATA));
  if (!self) return FALSE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_IMPORT_TICK) {
    self->m_bImport = ::IsDlgButtonChecked(hook, IDC_IMPORT_TICK) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(hook, IDC_IMPORT_ALBUMS), self->m_bImport);
  } else if (message == WM_NOTIFY) {
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (notify->hdr.code == CDN_SELCHANGE) self->OnFileChanged();
    if (notify->hdr.code == CDN_FILEOK) {
      self->m_nAlbum = static_cast<int>(::SendDlgItemMessageW(hook, IDC_IMPORT_ALBUMS, CB_GETCURSEL, 0, 0));
    }
  } else if (message == WM_SIZE) {
    self->StretchSeparator();
  }
  return FALSE;
}

// The albums by their labels, the one on show chosen; a dialog that keeps
// its size.
void CNewFileOpenDlg::OnInit(HWND hook) {
  m_hPanel = hook;
  base::RemoveWindowStyle(::GetParent(hook), WS_THICKFRAME | WS_MAXIMIZEBOX);
  ::CheckDlgButton(hook, IDC_IMPORT_TICK, m_bImport ? BST_CHECKED : BST_UNCHECKED);
  ::EnableWindow(::GetDlgItem(hook, IDC_IMPORT_ALBUMS), m_bImport);
  const std::wstring currentLabel = album::LabelOf(m_strCurrent);
  for (std::size_t i = 0; i < m_albums.size(); ++i) {
    const std::wstring label = album::LabelOf(m_albums[i]);
    ::SendDlgItemMessageW(hook, IDC_IMPORT_ALBUMS, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(label.c_str()));
    if (label == currentLabel) ::SendDlgItemMessageW(hook, IDC_IMPORT_ALBUMS, CB_SETCURSEL, i, 0);
  }
  PlacePanel();
}

// The controls in pixels from the panel's top left, before the file dialog
// moves them all below its own controls.
void CNewFileOpenDlg::PlacePanel() {
  RECT panel;
  ::GetClientRect(m_hPanel, &panel);
  Place(m_hPanel, IDC_IMPORT_LINE, {0, 0, panel.right, 2});
  Place(m_hPanel, IDC_IMPORT_TICK, kTickBox);
  Place(m_hPanel, IDC_IMPORT_TO_LABEL, kImportToLabel);
  Place(m_hPanel, IDC_IMPORT_ALBUMS, kAlbumBox);
  Place(m_hPanel, IDC_IMPORT_PREVIEW, kPreview);
}

// The separator runs along the panel's whole width where the dialog put it.
void CNewFileOpenDlg::StretchSeparator() {
  HWND line = ::GetDlgItem(m_hPanel, IDC_IMPORT_LINE);
  RECT panel;
  RECT rc;
  ::GetClientRect(m_hPanel, &panel);
  ::GetWindowRect(line, &rc);
  ::MapWindowPoints(nullptr, m_hPanel, reinterpret_cast<POINT*>(&rc), 2);
  ::MoveWindow(line, 0, rc.top, panel.right, 2, TRUE);
}

void CNewFileOpenDlg::OnFileChanged() {
  wchar_t path[32768] = L"";
  if (::SendMessageW(::GetParent(m_hPanel), CDM_GETFILEPATH, 32768, reinterpret_cast<LPARAM>(path)) <= 0) return;
  base::FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return ShowPreview(nullptr);
  file.Reset();
  const std::wstring ext = UpperExtension(path);
  if (ext == L".BMP") return ShowPreview(imaging::LoadBitmapFile(path).Get());
  if (ext == L".JPG" || ext == L".JPEG") {
    const base::Bitmap picture = LoadPictureBitmap(path, m_hPanel);
    return ShowPreview(picture.Get());
  }
  if (ext != L".AVI") return ShowPreview(nullptr);
  const std::wstring preview = ClipPreviewPath();
  ::DeleteFileW(preview.c_str());
  const ClipFrame clip = LoadClipFrame(path, ClipFrameSearch::kPreview);
  const std::vector<std::uint8_t> packed = imaging::PackedDib24Of(clip.bitmap.Get());
  if (packed.empty() || !imaging::WritePackedBitmapFile(preview, packed)) return ShowPreview(nullptr);
  ShowPreview(imaging::LoadBitmapFile(preview).Get());
}

// The picture stretched over the whole preview area, its proportions aside.
void CNewFileOpenDlg::ShowPreview(HBITMAP picture) {
  base::Bitmap scaled;
  if (picture) {
    const SIZE size = imaging::BitmapSize(picture);
    const int w = kPreview.right - kPreview.left, h = kPreview.bottom - kPreview.top;
    const base::WindowDc screen(nullptr);
    scaled.Reset(::CreateCompatibleBitmap(screen.Get(), w, h));
    base::MemoryDc from(::CreateCompatibleDC(screen.Get()));
    base::MemoryDc to(::CreateCompatibleDC(screen.Get()));
    if (scaled && from && to) {
      base::SelectScope a(from.Get(), picture);
      base::SelectScope b(to.Get(), scaled.Get());
      ::SetStretchBltMode(to.Get(), COLORONCOLOR);
      ::StretchBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    }
  }
  ::SendDlgItemMessageW(m_hPanel, IDC_IMPORT_PREVIEW, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(scaled.Get()));
  m_bmpPreview = std::move(scaled);
}

std::optional<std::wstring> ImportIntoAlbum(HWND owner, const std::wstring& source, const std::wstring& album) {
  const std::wstring target = album + L"\\" + base::FileNameOf(source);
  bool copied = false;
  if (!album::PathExists(target)) {
    copied = ::CopyFileW(source.c_str(), target.c_str(), TRUE) != FALSE;
  } else if (base::ShowMessageBox(owner, base::LoadResString(IDS_FILE_IMPORT_EXISTS), MB_OKCANCEL) == IDOK) {
    copied = ::CompareStringOrdinal(source.c_str(), -1, target.c_str(), -1, TRUE) == CSTR_EQUAL ||
             base::ReplaceFileWithCopyOf(target, source);
  } else {
    return std::nullopt;
  }
  if (!copied) {
    base::ShowMessageBox(owner, base::LoadResString(IDS_FILE_IMPORT_FAILED));
    return std::nullopt;
  }
  return target;
}

std::optional<std::wstring> CNewFileOpenDlg::ChosenAlbum() const {
  if (!m_bImport || m_nAlbum < 0 || m_nAlbum >= static_cast<int>(m_albums.size())) return std::nullopt;
  return m_albums[static_cast<std::size_t>(m_nAlbum)];
}

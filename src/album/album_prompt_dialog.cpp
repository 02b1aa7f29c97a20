#include "album/album_prompt_dialog.h"

#include "album/album_store.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/album_rules.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

void Place(HWND dlg, int id, int x, int y, int cx, int cy) {
  ::MoveWindow(::GetDlgItem(dlg, id), x, y, cx, cy, TRUE);
}

}  // namespace

BOOL CAlbumPromptDlg::OnInitDialog() {
  if (m_bFixedSize) {
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::MoveWindow(m_hWnd, rc.left, rc.top, 214, 132, FALSE);
  }
  Place(m_hWnd, IDC_ALBUM_PROMPT, 6, 11, 200, 20);
  Place(m_hWnd, IDC_ALBUM_TEXT, 6, 38, 200, 20);
  Place(m_hWnd, IDOK, 100, 69, 50, 24);
  Place(m_hWnd, IDCANCEL, 156, 69, 50, 24);
  ::SendDlgItemMessageW(m_hWnd, IDC_ALBUM_TEXT, EM_LIMITTEXT, MAX_PATH - 1, 0);
  ::SetFocus(GetDlgItem(IDC_ALBUM_TEXT));
  return FALSE;  // the focus is set
}

void CAlbumPromptDlg::OnOK() {
  wchar_t text[MAX_PATH] = {};
  ::GetDlgItemTextW(m_hWnd, IDC_ALBUM_TEXT, text, MAX_PATH);
  if (Accept(text)) EndDialog(IDOK);
}

bool CNewAlbumDlg::Accept(const std::wstring& text) {
  // The editor's working folder lies beside the albums and is no album: its
  // files go at every exit. Refused before any folder is made.
  if (core::IsEditFolderName(text)) {
    base::ShowMessageBox(m_hWnd, base::FormatResString(IDS_ALBUM_NAME_EXISTS, text));
    m_strResult.clear();
    return true;
  }
  // A name is one folder directly under the product folder: no empty name,
  // no path separators or wildcards that would lead elsewhere.
  const bool plainName = !text.empty() && text != L"." && text != L".." &&
                         text.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
  m_strResult = settings::ProductFolder() + L"\\" + text;
  if (!plainName || !album::StorablePath(m_strResult) ||
      (!album::FolderExists(m_strResult) && !::CreateDirectoryW(m_strResult.c_str(), nullptr))) {
    base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_ALBUM_CREATE_FAILED));
    m_strResult.clear();
  }
  return true;
}

bool CAlbumRenameDlg::Accept(const std::wstring& text) {
  if (text.empty()) {
    base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_ALBUM_NAME_EMPTY));
    ::SetFocus(GetDlgItem(IDC_ALBUM_TEXT));
    return false;
  }
  m_strResult = text;
  return true;
}

bool CImageSearchDlg::Accept(const std::wstring& text) {
  m_strResult = text;
  return text.empty() || m_search(text);
}

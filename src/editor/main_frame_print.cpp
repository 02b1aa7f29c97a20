// The main window's Print and E-mail: the edited file (as it is on disk)
// through the print preview, the album's print command, and the album's
// selected files through the mail service.
#include <string>
#include <vector>

#include "album/file_list_view.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "editor/mail_sender.h"
#include "editor/main_frame.h"
#include "editor/print_preview_dlg.h"
#include "res/resource.h"
#include "settings/settings_file.h"

// The file on disk is printed: changes the user does not save now are not.
void CMainFrame::PrintEditedFile() {
  if (!HasPicture()) return;
  const int current = m_folderFiles.current;
  const std::wstring path = current >= 0 ? m_folderFiles.paths[static_cast<std::size_t>(current)]
                                         : m_strEditFile;
  settings::Write(settings::kCurrentSelectFile, base::Narrow(path), m_strIniPath);
  AskSaveIfModified();
  editor::ShowPrintPreview(path);
}

// The album's own Print command, while the album window exists.
void CMainFrame::OnPrintAlbumFile() {
  if (g_pFileListView) ::SendMessageW(g_pFileListView->m_hWnd, WM_COMMAND, ID_IMAGE_PRINT, 0);
}

// The selected files that still exist, the list's last first. Without the
// album window nothing is selected.
void CMainFrame::SendSelectedFilesByMail() {
  std::wstring list;
  if (g_pFileListView) {
    const std::vector<std::wstring> selected = g_pFileListView->SelectedFiles();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
      if (::GetFileAttributesW(it->c_str()) != INVALID_FILE_ATTRIBUTES) list += *it + L";";
    }
  }
  if (list.empty()) {
    base::AppMessageBox(base::LoadResString(IDS_SELECT_A_FILE));
    return;
  }
  if (!editor::SendMailWithFiles(list, m_hWnd)) {
    base::AppMessageBox(base::LoadResString(IDS_MAIL_PROGRAM_MISSING));
  }
}

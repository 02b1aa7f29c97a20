#pragma once
// The import dialog: the system's file-open dialog with a panel below the
// file chooser (template 183): "Import to Album", the album to import into,
// and a small preview of the file under the cursor (a bitmap, a JPEG
// picture, or a clip's first usable frame).
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/handles.h"

class CNewFileOpenDlg {
 public:
  // `albums` are the album paths in list order; `current` the album on show.
  CNewFileOpenDlg(HWND owner, std::vector<std::wstring> albums, std::wstring current);

  // Runs the dialog; true on OK with a file chosen.
  bool DoModal(const std::wstring& title, const std::wstring& filter);

  // The album to import into: the chosen one when "Import to Album" is
  // ticked, nothing otherwise.
  std::optional<std::wstring> ChosenAlbum() const;

  std::wstring m_strPath;  // the chosen file
  bool m_bImport = true;   // "Import to Album" ticked
  int m_nAlbum = -1;       // the chosen album's index; -1 when none

 private:
  static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit(HWND hook);
  void PlacePanel();
  void StretchSeparator();
  void OnFileChanged();
  void ShowPreview(HBITMAP picture);

  HWND m_hOwner;
  HWND m_hPanel = nullptr;  // the panel (the hook's dialog)
  std::vector<std::wstring> m_albums;
  std::wstring m_strCurrent;
  base::Bitmap m_bmpPreview;
};

// Copies `source` into `album` under its own name, never over another file
// without asking (the user is told when the copy fails). The new file's
// path; nothing when nothing was copied.
std::optional<std::wstring> ImportIntoAlbum(HWND owner, const std::wstring& source, const std::wstring& album);

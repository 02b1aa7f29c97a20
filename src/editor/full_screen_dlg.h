#pragma once
// The full-screen view of the editor: the picture on black over the whole
// screen. Page Up, Left and Up step back through the folder's pictures,
// Page Down, Right and Down forward (on release of the key); Escape and
// Enter close it. Each step shows the picture through a fresh working copy
// and makes it the main window's display bitmap.
#include <windows.h>

#include "base/dialog.h"
#include "base/handles.h"
#include "core/picture_files.h"

class CFullScreenDlg : public base::CDialog {
 public:
  // `files` is the main window's folder list (its current entry moves with
  // the steps); `picture` its display bitmap.
  CFullScreenDlg(HWND owner, core::FolderFiles& files, base::Bitmap& picture);

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnKeyUp(WPARAM, LPARAM);
  void Step(int step);
  bool ShowEntry(int index);

  core::FolderFiles& m_files;
  base::Bitmap& m_picture;
};

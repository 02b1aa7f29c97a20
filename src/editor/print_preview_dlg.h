#pragma once
// The print preview: a small dialog that shows a picture file (.bmp, or
// .jpg through the image library) at most 640 x 480 and prints it on one
// page with its Print button.
#include <windows.h>

#include <string>

#include "base/dialog.h"
#include "base/handles.h"
#include "core/print_layout.h"

class CPrintPreviewDlg : public base::CDialog {
 public:
  CPrintPreviewDlg(HWND owner, std::wstring path);

  // After the dialog ends: whether the file could be prepared for printing.
  bool Prepared() const { return m_bPrepared; }

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;
  // Enter and Escape close the dialog as Cancel does.
  void OnOK() override { EndDialog(IDCANCEL); }

 private:
  bool PreparePicture();
  void LayOut();
  LRESULT OnPaint(WPARAM, LPARAM);
  void OnPrint();

  std::wstring m_strPrintFile;
  base::Bitmap m_hPrintBitmap;  // null when the file could not be loaded
  core::PictureSize m_previewSize;
  bool m_bPrepared = false;
};

namespace editor {

// Runs the print preview of `path` over the program's main window. A file
// of another type than .bmp and .jpg is refused with a message (the
// preview then closes at once). Returns the dialog's result: IDOK after
// Print, IDCANCEL otherwise.
INT_PTR ShowPrintPreview(const std::wstring& path);

// The file the preview converts a JPEG picture into; it goes once loaded.
std::wstring PrintTempFilePath();

}  // namespace editor

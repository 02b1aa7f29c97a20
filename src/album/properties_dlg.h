#pragma once
// The properties of one album file (dialog 175): its type, place, size,
// times and picture size, all read-only.
#include <string>

#include "base/dialog.h"

class CPropertiesDlg : public base::CDialog {
 public:
  // `programFolder` holds the image library that measures JPEG pictures.
  CPropertiesDlg(HWND parent, std::wstring path, std::wstring programFolder);

 protected:
  BOOL OnInitDialog() override;

 private:
  void SetField(int id, const std::wstring& text);
  void ShowTimes();
  void ShowPictureSize();

  std::wstring m_strPath;
  std::wstring m_strProgramFolder;
};

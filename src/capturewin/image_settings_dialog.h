#pragma once
// The Capture Image Setting dialog (template 172): the countdown before a
// still and the still's file format. OK stores them; a countdown over a
// minute is refused and the dialog stays open.
#include <windows.h>

#include <string>

#include "base/dialog.h"

class CImageSettingsDlg : public base::CDialog {
 public:
  explicit CImageSettingsDlg(HWND parent);

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void OnBmp() { m_strFormat = "BMP"; }
  void OnJpeg() { m_strFormat = "JPG"; }

  std::wstring m_strIniPath;
  std::string m_strFormat;  // "BMP" or "JPG"
  std::string m_strFolder;  // the still folder, written back as read
};

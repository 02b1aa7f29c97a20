#pragma once
// The capture window's form view (template 130): the live picture's preview
// area and, on its first update, the product folders and the first-run mark.
#include <windows.h>

#include <string>

#include "base/frame.h"

class CVideoWndView : public base::CFormView {
 public:
  CVideoWndView();
  ~CVideoWndView() override;

  void OnInitialUpdate() override;

  std::wstring m_strProgramPath;
  std::wstring m_strIniPath;
  RECT m_rcPreview{0, 0, 352, 288};
  bool m_bFormatInitialized = false;
  bool m_bPluggedOutReported = false;
  bool m_bPluggedInReported = false;

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  void SetupCapture();
  LRESULT OnCtlColorStatic(WPARAM, LPARAM);
};

// The one capture view while it exists.
extern CVideoWndView* g_pVideoView;
// A linked camera was found and its format read.
extern bool g_bDevicePresent;

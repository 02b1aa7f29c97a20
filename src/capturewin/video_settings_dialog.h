#pragma once
// The Capture Video Setting dialog (template 173): frame rate, countdown,
// timed recording with its duration arrows, sound, and the door to the
// platform's compressor choice, which this dialog pre-sets to the stored
// compressor and quality through its timers 1000 and 2000.
#include <windows.h>

#include <string>

#include "base/dialog.h"
#include "base/handles.h"
#include "capturewin/compressor_choice.h"

class CVideoWndView;

class CVideoSettingsDlg : public base::CDialog {
 public:
  CVideoSettingsDlg(HWND parent, CVideoWndView& view);

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  // Timed recording on: the arrows show their pictures and take presses.
  void ShowTimed(bool on);
  void OnCaptureDuringTime();
  void OnDurationUp() { StepDuration(+1); }
  void OnDurationDown() { StepDuration(-1); }
  void StepDuration(int step);
  void OnSetCompress();
  LRESULT OnTimer(WPARAM, LPARAM);

  CVideoWndView& m_view;
  std::wstring m_strIniPath;
  std::string m_strFolder;  // the clip folder, written back as read
  std::string m_strTimed;   // "TRUE" or "FALSE"
  base::Bitmap m_bmpUp, m_bmpDown;
  capturewin::CompressorChoice m_compressor;
};

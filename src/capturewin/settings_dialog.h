#pragma once
// The Settings dialog of the capture window (template 171): the camera's
// frame size and the size of the live-video window, each applied to the
// live preview as soon as it is chosen, and the doors to the still and clip
// settings and to the camera's own property pages. OK stores the two sizes;
// Cancel puts the stored ones back into effect.
#include <windows.h>

#include <string>

#include "base/dialog.h"
#include "core/capture_format.h"

class CVideoWndView;
class DevGraphBuilder;

class CCaptureSettingsDlg : public base::CDialog {
 public:
  CCaptureSettingsDlg(HWND parent, CVideoWndView& view);

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnCancel() override;

 private:
  // The capture graph while a camera is there; null otherwise.
  DevGraphBuilder* LiveGraph() const;
  // The window sizes up to a frame width, the largest one chosen.
  void FillWindowList(int frameWidth);
  std::string SelectedText(int listId) const;
  void OnDeviceFrameChange();
  void OnWindowChange();
  void OnImageSettings();
  void OnVideoSettings();
  void OnAdvanceSettings();
  void OnOK() override;

  CVideoWndView& m_view;
  std::wstring m_strIniPath;
  // The camera's format when the dialog opened (0 x 0 without one).
  core::FrameSize m_format;
  // The chosen live-video window size.
  core::FrameSize m_window;
};

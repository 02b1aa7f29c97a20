#pragma once
// The countdown before a capture (template 277, "Please Waiting..."): two
// digit pictures show the seconds left; it closes by itself when they run
// out. Cancel closes it early; callers capture either way.
#include <windows.h>

#include "base/dialog.h"
#include "base/handles.h"

class CCountdownDlg : public base::CDialog {
 public:
  static constexpr UINT_PTR kTimerId = 3000;
  static constexpr UINT kTickMs = 100;

  CCountdownDlg(HWND parent, int seconds);

 protected:
  const base::MessageMap* GetMessageMap() const override;
  BOOL OnInitDialog() override;
  void OnCancel() override;

 private:
  void ShowSeconds(long seconds);
  // Milliseconds until the end, negative once it has passed.
  long RemainingMs() const;
  LRESULT OnTimer(WPARAM, LPARAM);

  int m_nSeconds;
  DWORD m_dwEndTick = 0;
  base::Bitmap m_digits[10];
};

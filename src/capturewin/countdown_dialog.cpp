#include "capturewin/countdown_dialog.h"

#include <algorithm>

#include "capturewin/dialog_place.h"
#include "res/resource.h"

CCountdownDlg::CCountdownDlg(HWND parent, int seconds)
    : CDialog(IDD_COUNTDOWN, parent), m_nSeconds(seconds) {}

const base::MessageMap* CCountdownDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CCountdownDlg::OnTimer>(WM_TIMER),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

BOOL CCountdownDlg::OnInitDialog() {
  capturewin::CentreDialog(m_hWnd);
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  for (int d = 0; d < 10; ++d) {
    m_digits[d].Reset(::LoadBitmapW(module, MAKEINTRESOURCEW(IDB_DIGIT_0 + d)));
  }
  m_dwEndTick = ::GetTickCount() + static_cast<DWORD>(std::max(m_nSeconds, 0)) * 1000u;
  ShowSeconds(m_nSeconds);
  ::SetTimer(m_hWnd, kTimerId, kTickMs, nullptr);
  return TRUE;
}

long CCountdownDlg::RemainingMs() const {
  return static_cast<long>(m_dwEndTick - ::GetTickCount());
}

// Whole seconds left, rounded up: "3" for the whole first second.
LRESULT CCountdownDlg::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != kTimerId) return 0;
  const long ms = RemainingMs();
  if (ms <= 0) {
    ::KillTimer(m_hWnd, kTimerId);
    OnCancel();
    return 0;
  }
  ShowSeconds((ms + 999) / 1000);
  return 0;
}

void CCountdownDlg::ShowSeconds(long seconds) {
  const long shown = std::clamp(seconds, 0L, 99L);
  ::SendDlgItemMessageW(m_hWnd, IDC_COUNT_TENS, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(m_digits[shown / 10].Get()));
  ::SendDlgItemMessageW(m_hWnd, IDC_COUNT_UNITS, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(m_digits[shown % 10].Get()));
}

// The pictures leave the controls before the bitmaps are freed.
void CCountdownDlg::OnCancel() {
  ::KillTimer(m_hWnd, kTimerId);
  ::SendDlgItemMessageW(m_hWnd, IDC_COUNT_TENS, STM_SETIMAGE, IMAGE_BITMAP, 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_COUNT_UNITS, STM_SETIMAGE, IMAGE_BITMAP, 0);
  for (base::Bitmap& digit : m_digits) digit.Reset();
  EndDialog(IDCANCEL);
}

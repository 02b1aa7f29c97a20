#include "capturewin/video_wnd_view.h"

#include "app/settings.h"
#include "capture/camera_finder.h"
#include "res/resource.h"

CVideoWndView* g_pVideoView = nullptr;
bool g_bDevicePresent = false;

CVideoWndView::CVideoWndView() : CFormView(IDD_VIDEOWND) {}

const base::MessageMap* CVideoWndView::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CVideoWndView::OnCtlColorStatic>(WM_CTLCOLORSTATIC),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

CVideoWndView::~CVideoWndView() {
  if (g_pVideoView == this) g_pVideoView = nullptr;
  g_bDevicePresent = false;
}

void CVideoWndView::OnInitialUpdate() {
  g_pVideoView = this;
  m_strProgramPath = app::ProgramFolder();
  m_strIniPath = app::SettingsPath();
  ::CreateDirectoryW(app::ProductFolder().c_str(), nullptr);
  ::CreateDirectoryW(app::DefaultAlbumFolder().c_str(), nullptr);

  if (app::ReadIniValue(m_strIniPath, "Setting", "Init", "FALSE") == "FALSE") {
    app::WriteIniValue(m_strIniPath, "Setting", "Init", "TRUE");
    m_bFormatInitialized = false;
  } else {
    m_bFormatInitialized = true;
  }
  m_bPluggedOutReported = false;
  m_bPluggedInReported = true;
  SetupCapture();
}

void CVideoWndView::SetupCapture() {
  ::MoveWindow(GetDlgItem(IDC_PREVIEW), m_rcPreview.left, m_rcPreview.top,
               m_rcPreview.right - m_rcPreview.left, m_rcPreview.bottom - m_rcPreview.top, TRUE);
  if (!capture::FindCamera()) {
    g_bDevicePresent = false;
    m_bPluggedOutReported = true;
  }
}

// Without a live picture the preview area is black.
LRESULT CVideoWndView::OnCtlColorStatic(WPARAM, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(IDC_PREVIEW)) return 0;
  return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}

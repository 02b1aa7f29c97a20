#include "capturewin/video_wnd_view.h"

#include <cstring>

#include "app/settings.h"
#include "base/strings.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "core/capture_format.h"
#include "core/text.h"
#include "res/resource.h"

CVideoWndView* g_pVideoView = nullptr;
bool g_bDevicePresent = false;
int g_nVideoWidth = 0;
int g_nVideoHeight = 0;
HWND g_hPreviewWnd = nullptr;

namespace {

constexpr size_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
// ApplyDeviceFormat does not nest.
bool g_bApplyingFormat = false;

}  // namespace

CVideoWndView::CVideoWndView() : CFormView(IDD_VIDEOWND) {}

const base::MessageMap* CVideoWndView::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CVideoWndView::OnCtlColorStatic>(WM_CTLCOLORSTATIC),
      base::MessageEntry<&CVideoWndView::OnGraphNotify>(WM_DEV_GRAPHNOTIFY),
      base::MessageEntry<&CVideoWndView::OnDestroy>(WM_DESTROY),
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
  HWND preview = GetDlgItem(IDC_PREVIEW);
  ::MoveWindow(preview, m_rcPreview.left, m_rcPreview.top, m_rcPreview.right - m_rcPreview.left,
               m_rcPreview.bottom - m_rcPreview.top, TRUE);
  g_hPreviewWnd = preview;
  if (!m_pDevGraph) {
    m_pDevGraph = std::make_unique<DevGraphBuilder>(this, preview);
    g_pDevGraphBuilder = m_pDevGraph.get();
  }
  const std::string codec =
      app::ReadIniValue(m_strIniPath, "Setting", "CompressorCodec", "NULL Compressor");
  const int quality = core::AtoiC(app::ReadIniValue(m_strIniPath, "Setting", "lQ", "100"));
  m_pDevGraph->SetCompressorByName(codec.c_str());
  m_pDevGraph->SetCompressionQuality(quality);

  if (capture::FindCamera()) {
    m_pDevGraph->InitCaptureFilters();
    m_pDevGraph->SetCaptureParams(false, nullptr, nullptr);
    m_pDevGraph->BuildPreviewGraph();
    ApplyDeviceFormat();
    m_pDevGraph->EnableSnapshot(true);
  } else {
    g_bDevicePresent = false;
    m_bPluggedOutReported = true;
    m_pDevGraph->SetCaptureParams(false, nullptr, nullptr);
  }
}

void CVideoWndView::AllocateFrameBuffers(int width, int height) {
  m_buffer1.assign(m_dwBufferBytes + 100, 0);
  m_buffer2.assign(m_dwBufferBytes + 100, 0);
  BITMAPINFOHEADER header{};
  header.biSize = kHeaderBytes;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = core::Dib24ImageBytes(width, height);
  header.biXPelsPerMeter = header.biYPelsPerMeter = 1;
  std::memcpy(m_buffer1.data(), &header, kHeaderBytes);
  std::memcpy(m_buffer2.data(), &header, kHeaderBytes);
}

bool CVideoWndView::ApplyDeviceFormat() {
  if (g_bApplyingFormat || !m_pDevGraph) return false;
  g_bApplyingFormat = true;
  g_bDevicePresent = true;
  DevGraphBuilder& graph = *m_pDevGraph;
  int width = 352, height = 288;
  unsigned long imageBytes = 0;
  DWORD compression = 0;
  if (!m_bFormatInitialized) {
    graph.GetCurrentFormat(&width, &height, &imageBytes, &compression);
    m_dwFrameBytes = static_cast<unsigned long>(width * height * 3);
    const std::string size = core::FrameSizeText(width, height);
    app::WriteIniValue(m_strIniPath, "Setting", "WindowSize", size);
    app::WriteIniValue(m_strIniPath, "Setting", "DeviceResolution", size);
    m_nFrameRate = 30;
    graph.SetFormat(width, height, m_dwFrameBytes, m_nFrameRate);
    m_bFormatInitialized = true;
  } else if (m_bSkipReread) {
    m_bSkipReread = false;
  } else {
    int fps = core::AtoiC(app::ReadIniValue(m_strIniPath, "Setting", "FrameRate", "30"));
    const core::DeviceResolution resolution = core::ChooseDeviceResolution(
        app::ReadIniValue(m_strIniPath, "Setting", "DeviceResolution", "352x288"),
        capture::g_bQvc5520Family);
    if (resolution.rewriteTo640) {
      app::WriteIniValue(m_strIniPath, "Setting", "DeviceResolution", "640x480");
    }
    g_nVideoWidth = resolution.size.width;
    g_nVideoHeight = resolution.size.height;
    m_dwFrameBytes = static_cast<unsigned long>(g_nVideoWidth * g_nVideoHeight * 3);
    m_nFrameRate = fps == 0 ? 30 : fps;
    graph.SetFormat(g_nVideoWidth, g_nVideoHeight, m_dwFrameBytes, m_nFrameRate);
  }

  m_dwFrameBytes = 304128;
  if (graph.GetCurrentFormat(&g_nVideoWidth, &g_nVideoHeight, &m_dwFrameBytes, &m_dwCompression)) {
    m_dwBufferBytes = static_cast<unsigned long>(g_nVideoWidth * g_nVideoHeight * 3);
    m_bPluggedOutReported = m_bPluggedInReported = false;
  } else {
    g_bDevicePresent = false;
  }
  AllocateFrameBuffers(g_nVideoWidth, g_nVideoHeight);
  const core::FrameSize window =
      core::FrameSizeAt(app::ReadIniValue(m_strIniPath, "Setting", "WindowSize", "352x288"));
  graph.SetVideoWindowSize(window.width, window.height);

  g_bApplyingFormat = false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, m_buffer1.data(), kHeaderBytes);
  graph.SetGrabBuffers(m_buffer1.data() + kHeaderBytes, m_buffer2.data() + kHeaderBytes,
                       header.biSizeImage);
  graph.StartPreview();
  UpdateTitle();
  if (!g_bDevicePresent) ::PostMessageW(m_hWnd, WM_DEVICE_NOTICE, 1, 0);
  return true;
}

// "Video - 352x288" with a camera, plain "Video" without one.
void CVideoWndView::UpdateTitle() {
  base::CMDIChildWnd* frame = GetParentFrame();
  if (!frame) return;
  std::wstring title = base::LoadResString(IDS_VIDEO_TITLE);
  if (g_bDevicePresent) title += base::FormatW(L" - %dx%d", g_nVideoWidth, g_nVideoHeight);
  frame->SetTitle(title.c_str());
}

// Start-up titles the window plain "Video"; with a camera, activation
// (gained or lost) shows the frame size again.
void CVideoWndView::OnActivateView(bool) {
  if (g_bDevicePresent) UpdateTitle();
}

LRESULT CVideoWndView::OnGraphNotify(WPARAM wParam, LPARAM lParam) {
  if (m_pDevGraph) m_pDevGraph->OnGraphEvent(wParam, lParam);
  return 0;
}

// The graph goes before the preview area it draws into.
LRESULT CVideoWndView::OnDestroy(WPARAM, LPARAM) {
  if (g_pDevGraphBuilder == m_pDevGraph.get()) g_pDevGraphBuilder = nullptr;
  m_pDevGraph.reset();
  g_hPreviewWnd = nullptr;
  g_bDevicePresent = false;
  return Default();
}

// Without a live picture the preview area is black.
LRESULT CVideoWndView::OnCtlColorStatic(WPARAM, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(IDC_PREVIEW)) return 0;
  return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}

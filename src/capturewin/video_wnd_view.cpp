#include "capturewin/video_wnd_view.h"

#include <commctrl.h>

#include <cstring>

#include "album/file_list_view.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "capturewin/button_faces.h"
#include "capturewin/countdown_dialog.h"
#include "capturewin/settings_dialog.h"
#include "capturewin/still_file.h"
#include "imaging/dib_bitmap.h"
#include "core/capture_format.h"
#include "core/capture_layout.h"
#include "core/i420.h"
#include "core/startup_rules.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings_file.h"

CVideoWndView* g_pVideoView = nullptr;
bool g_bDevicePresent = false;
int g_nVideoWidth = 0;
int g_nVideoHeight = 0;
HWND g_hPreviewWnd = nullptr;

namespace {

constexpr size_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
// The camera's compression code for planar 4:2:0 frames.
constexpr DWORD kI420 = 0x30323449;
// An enlarged snapshot: 1280 x 960 x 3 bytes, its header and some room.
constexpr size_t kStillBufferBytes = 3686540;
// ApplyDeviceFormat does not nest.
bool g_bApplyingFormat = false;

void Place(HWND control, const core::Rect& r) { ::MoveWindow(control, r.x, r.y, r.cx, r.cy, TRUE); }

}  // namespace

CVideoWndView::CVideoWndView() : CFormView(IDD_VIDEOWND) {}

const base::MessageMap* CVideoWndView::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::CommandEntry<&CVideoWndView::OnImageButton>(IDC_IMAGE_BUTTON),
      base::CommandEntry<&CVideoWndView::OnVideoButton>(IDC_VIDEO_BUTTON),
      base::CommandEntry<&CVideoWndView::OnRecordButton>(IDC_RECORD_BUTTON),
      base::CommandEntry<&CVideoWndView::OnSettingsButton>(IDC_SETTINGS_BUTTON),
      base::MessageEntry<&CVideoWndView::OnRecordingError>(recorder::WM_RECORDING_ERROR),
      base::MessageEntry<&CVideoWndView::OnClipTooLong>(WM_CLIP_TOO_LONG),
      base::MessageEntry<&CVideoWndView::OnDeviceChange>(WM_DEVICECHANGE),
      base::MessageEntry<&CVideoWndView::OnDeviceNotice>(WM_DEVICE_NOTICE),
      base::MessageEntry<&CVideoWndView::OnTimer>(WM_TIMER),
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
  m_strProgramPath = settings::ProgramFolder();
  m_strIniPath = settings::SettingsPath();
  ::CreateDirectoryW(settings::ProductFolder().c_str(), nullptr);
  ::CreateDirectoryW(settings::DefaultAlbumFolder().c_str(), nullptr);
  LoadButtonFaces();

  if (settings::Read(settings::kInit, m_strIniPath) == "FALSE") {
    settings::Write(settings::kInit, "TRUE", m_strIniPath);
    m_bFormatInitialized = false;
  } else {
    m_bFormatInitialized = true;
  }
  m_bPluggedOutReported = false;
  m_bPluggedInReported = true;
  SetupCapture();
  LayOut();
  MovePreviewArea();

  ::ShowWindow(GetDlgItem(IDC_RECORD_BUTTON), SW_HIDE);
  CreateRecordAnimation();
  m_bSnapshotPoll = true;
  CreateToolTips();
}

// The user's language picks the Image and Video faces; the Settings
// button always shows its gear.
void CVideoWndView::LoadButtonFaces() {
  const capturewin::ButtonFaceIds ids = capturewin::ButtonFaceIdsFor(::GetUserDefaultUILanguage());
  m_bmpImageFace = capturewin::LoadButtonFace(ids.image);
  m_bmpVideoFace = capturewin::LoadButtonFace(ids.video);
  m_bmpSettings.Reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(IDB_SETTINGS_BUTTON),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  const std::pair<int, HBITMAP> faces[] = {{IDC_IMAGE_BUTTON, m_bmpImageFace.Get()},
                                           {IDC_VIDEO_BUTTON, m_bmpVideoFace.Get()},
                                           {IDC_SETTINGS_BUTTON, m_bmpSettings.Get()}};
  for (const auto& [id, bitmap] : faces) {
    ::SendDlgItemMessageW(m_hWnd, id, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  }
}

void CVideoWndView::CreateRecordAnimation() {
  HWND record = GetDlgItem(IDC_RECORD_BUTTON);
  RECT rc{};
  ::GetClientRect(record, &rc);
  ::CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_AUTOPLAY, 0, 0,
                    rc.right, rc.bottom, record, reinterpret_cast<HMENU>(IDC_ANIMATE),
                    ::GetModuleHandleW(nullptr), nullptr);
}

void CVideoWndView::CreateToolTips() {
  m_hToolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  if (!m_hToolTip) return;
  const std::pair<int, UINT> tips[] = {{IDC_RECORD_BUTTON, IDS_TIP_STOP_RECORDING},
                                       {IDC_VIDEO_BUTTON, IDS_TIP_CAPTURE_VIDEO},
                                       {IDC_IMAGE_BUTTON, IDS_TIP_CAPTURE_IMAGE},
                                       {IDC_SETTINGS_BUTTON, IDS_TIP_SETTINGS}};
  for (const auto& [id, text] : tips) {
    std::wstring tip = base::LoadResString(text);
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(id));
    info.lpszText = tip.data();
    ::SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// The tool tips see the mouse over the controls; a control under the mouse
// takes the focus.
bool CVideoWndView::PreTranslateMessage(MSG* msg) {
  if (msg->hwnd != m_hWnd && ::GetParent(msg->hwnd) == m_hWnd) {
    if (m_hToolTip && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
      ::SendMessageW(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    }
    if (msg->message == WM_MOUSEMOVE && ::GetFocus() != msg->hwnd && ::IsWindowEnabled(msg->hwnd)) {
      ::SetFocus(msg->hwnd);
    }
  }
  return CFormView::PreTranslateMessage(msg);
}

void CVideoWndView::SetupCapture() {
  HWND preview = GetDlgItem(IDC_PREVIEW);
  MovePreviewArea();
  g_hPreviewWnd = preview;
  if (!m_pDevGraph) {
    m_pDevGraph = std::make_unique<DevGraphBuilder>(this, preview);
    g_pDevGraphBuilder = m_pDevGraph.get();
  }
  m_stillBuffer.assign(kStillBufferBytes, 0);
  const std::string codec = settings::Read(settings::kCompressorCodec, m_strIniPath);
  const int quality = settings::ReadInt(settings::kLQ, m_strIniPath);
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
    StartTimer();
  }
}

// Preview rectangle and controls for "WindowSize"; any other value keeps
// the layout as it is.
void CVideoWndView::LayOut() { LayOutFor(settings::Read(settings::kWindowSize, m_strIniPath)); }

void CVideoWndView::LayOutFor(std::string_view windowSize) {
  const auto layout = core::CaptureLayoutFor(windowSize);
  if (!layout) return;
  m_rcPreview = {layout->previewLeft, layout->previewTop, layout->previewRight, layout->previewBottom};
  Place(GetDlgItem(IDC_IMAGE_BUTTON), layout->image);
  Place(GetDlgItem(IDC_VIDEO_BUTTON), layout->video);
  Place(GetDlgItem(IDC_SETTINGS_BUTTON), layout->settings);
  Place(GetDlgItem(IDC_RECORD_BUTTON), layout->record);
  Place(GetDlgItem(IDC_RECORD_STATUS), layout->status);
}

void CVideoWndView::ApplyWindowLayout(std::string_view windowSize) {
  const auto size = core::CaptureFrameSize(windowSize);
  if (!size) return;
  if (base::CMDIChildWnd* frame = GetParentFrame()) {
    ::MoveWindow(frame->m_hWnd, 0, 0, size->cx, size->cy, TRUE);
  }
  LayOutFor(windowSize);
  MovePreviewArea();
}

void CVideoWndView::MovePreviewArea() {
  ::MoveWindow(GetDlgItem(IDC_PREVIEW), m_rcPreview.left, m_rcPreview.top,
               m_rcPreview.right - m_rcPreview.left, m_rcPreview.bottom - m_rcPreview.top, TRUE);
}

void CVideoWndView::StartTimer() {
  if (m_bTimerRunning) return;
  m_bTimerRunning = ::SetTimer(m_hWnd, kTimerId, kTimerMs, nullptr) != 0;
}

// Both buffers hold the bitmap header and a whole padded picture, which is
// what the grabber and the recorder are told they may copy; a size no
// buffer can be made for leaves them empty.
void CVideoWndView::AllocateFrameBuffers(int width, int height) {
  m_buffer1.clear();
  m_buffer2.clear();
  m_dwBufferBytes = 0;
  if (!core::IsUsableFrameSize(width, height)) return;
  m_dwBufferBytes = core::Dib24ImageBytes(width, height);
  m_buffer1.assign(kHeaderBytes + m_dwBufferBytes, 0);
  m_buffer2.assign(kHeaderBytes + m_dwBufferBytes, 0);
  BITMAPINFOHEADER header = imaging::Dib24Header(width, height);
  header.biXPelsPerMeter = header.biYPelsPerMeter = 1;
  std::memcpy(m_buffer1.data(), &header, kHeaderBytes);
  std::memcpy(m_buffer2.data(), &header, kHeaderBytes);
}

bool CVideoWndView::ApplyDeviceFormat() {
  if (g_bApplyingFormat || !m_pDevGraph) return false;
  g_bApplyingFormat = true;
  // Cleared however this ends, an allocation failure included.
  const base::ScopeExit applying([] { g_bApplyingFormat = false; });
  g_bDevicePresent = true;
  DevGraphBuilder& graph = *m_pDevGraph;
  int width = 352, height = 288;
  unsigned long imageBytes = 0;
  DWORD compression = 0;
  if (!m_bFormatInitialized) {
    // The camera's own format (352x288 when it names none), unless it
    // reports a size no buffer is made for.
    graph.GetCurrentFormat(&width, &height, &imageBytes, &compression);
    if (core::IsUsableFrameSize(width, height)) {
      m_dwFrameBytes = core::Dib24ImageBytes(width, height);
      const std::string size = core::FrameSizeText(width, height);
      settings::Write(settings::kWindowSize, size, m_strIniPath);
      settings::Write(settings::kDeviceResolution, size, m_strIniPath);
      m_nFrameRate = 30;
      graph.SetFormat(width, height, m_dwFrameBytes, m_nFrameRate);
    }
    m_bFormatInitialized = true;
  } else if (m_bSkipReread) {
    m_bSkipReread = false;
  } else {
    int fps = settings::ReadInt(settings::kFrameRate, m_strIniPath);
    const core::DeviceResolution resolution = core::ChooseDeviceResolution(
        settings::Read(settings::kDeviceResolution, m_strIniPath),
        capture::g_bQvc5520Family);
    if (resolution.rewriteTo640) {
      settings::Write(settings::kDeviceResolution, "640x480", m_strIniPath);
    }
    g_nVideoWidth = resolution.size.width;
    g_nVideoHeight = resolution.size.height;
    m_dwFrameBytes = core::Dib24ImageBytes(g_nVideoWidth, g_nVideoHeight);
    m_nFrameRate = fps == 0 ? 30 : fps;
    graph.SetFormat(g_nVideoWidth, g_nVideoHeight, m_dwFrameBytes, m_nFrameRate);
  }

  m_dwFrameBytes = 304128;
  if (graph.GetCurrentFormat(&g_nVideoWidth, &g_nVideoHeight, &m_dwFrameBytes, &m_dwCompression) &&
      core::IsUsableFrameSize(g_nVideoWidth, g_nVideoHeight)) {
    m_bPluggedOutReported = m_bPluggedInReported = false;
  } else {
    g_bDevicePresent = false;
  }
  AllocateFrameBuffers(g_nVideoWidth, g_nVideoHeight);
  const core::FrameSize window =
      core::FrameSizeAt(settings::Read(settings::kWindowSize, m_strIniPath));
  graph.SetVideoWindowSize(window.width, window.height);

  if (m_buffer1.empty()) {
    graph.SetGrabBuffers(nullptr, nullptr, 0);
  } else {
    graph.SetGrabBuffers(m_buffer1.data() + kHeaderBytes, m_buffer2.data() + kHeaderBytes,
                         m_dwBufferBytes);
  }
  graph.StartPreview();
  UpdateTitle();
  if (!g_bDevicePresent) ::PostMessageW(m_hWnd, WM_DEVICE_NOTICE, 1, 0);
  StartTimer();
  return true;
}

bool CVideoWndView::SuspendPreview(bool doIt) {
  if (!doIt) return false;
  if (!g_bDevicePresent) return true;
  ::KillTimer(m_hWnd, kTimerId);
  m_bTimerRunning = false;
  if (m_pDevGraph) m_pDevGraph->StopPreview();
  g_bDevicePresent = false;
  return true;
}

// The Settings dialog applies its choices at once; after Cancel the capture
// window takes the stored window size again.
void CVideoWndView::OnSettingsButton() {
  const HWND self = m_hWnd;
  const INT_PTR result = CCaptureSettingsDlg(::GetAncestor(m_hWnd, GA_ROOT), *this).DoModal();
  if (!::IsWindow(self)) return;
  if (result == IDCANCEL) ApplyWindowLayout(settings::Read(settings::kWindowSize, m_strIniPath));
}

// The still is the frame of the moment of the press; a countdown only
// delays the file, and a cancelled one still writes it.
void CVideoWndView::OnImageButton() {
  if (!g_bDevicePresent || m_buffer1.empty() || !m_pDevGraph) return;
  m_pDevGraph->CopyLatestFrame();
  const int delay = settings::ReadInt(settings::kImageDelayTime, m_strIniPath);
  const HWND self = m_hWnd;
  if (delay != 0) CCountdownDlg(::GetAncestor(m_hWnd, GA_ROOT), delay).DoModal();
  if (!::IsWindow(self)) return;  // closed under the countdown (end of the session)

  const std::string format =
      core::ToUpperAscii(settings::Read(settings::kImageFormat, m_strIniPath));
  if (g_pFileListView) g_pFileListView->ClearSelection();
  if (m_dwCompression == kI420) ConvertI420Frame(m_buffer1);
  if (!g_pFileListView) return;
  const std::wstring path = format == "BMP" ? SaveBmpFile(m_buffer1) : SaveJpegFile(m_buffer1);
  if (!path.empty() && g_pFileListView) g_pFileListView->AddFile(path);
}

// A frame buffer holding an I420 frame of the camera's size; it becomes
// 24-bit rows in place.
void CVideoWndView::ConvertI420Frame(std::vector<unsigned char>& buffer) {
  if (buffer.size() < kHeaderBytes) return;
  BITMAPINFOHEADER header;
  std::memcpy(&header, buffer.data(), kHeaderBytes);
  std::vector<unsigned char> converted(header.biSizeImage + 100);
  const size_t pixels = buffer.size() - kHeaderBytes;
  if (core::ConvertI420ToDib24(buffer.data() + kHeaderBytes, pixels, header.biWidth, header.biHeight,
                               converted.data(), converted.size()) &&
      header.biSizeImage <= pixels) {
    std::memcpy(buffer.data() + kHeaderBytes, converted.data(), header.biSizeImage);
  }
}

std::wstring CVideoWndView::SaveBmpFile(const std::vector<unsigned char>& buffer) {
  if (buffer.empty()) return {};
  return capturewin::WriteBmpStill(buffer.data(), buffer.size(), capturewin::ImageFolder(m_strIniPath));
}

std::wstring CVideoWndView::SaveJpegFile(const std::vector<unsigned char>& buffer) {
  if (buffer.empty()) return {};
  return capturewin::WriteJpegStill(buffer.data(), buffer.size(), capturewin::ImageFolder(m_strIniPath),
                                    m_strProgramPath, m_hWnd);
}

// "Video - 352x288" with a camera, plain "Video" without one.
void CVideoWndView::UpdateTitle() {
  base::CMDIChildWnd* frame = GetParentFrame();
  if (!frame) return;
  std::wstring title = base::LoadResString(IDS_VIDEO_TITLE);
  if (g_bDevicePresent) title += base::FormatW(L" - %dx%d", g_nVideoWidth, g_nVideoHeight);
  wchar_t shown[64] = L"";
  ::GetWindowTextW(frame->m_hWnd, shown, 64);
  if (title != shown) frame->SetTitle(title.c_str());
}

// Start-up titles the window plain "Video"; with a camera, activation
// (gained or lost) shows the frame size again.
void CVideoWndView::OnActivateView(bool) {
  if (g_bDevicePresent) UpdateTitle();
}

// The 33 ms tick: the recording steps and the snapshot button with a
// camera; without one the window says so in its title and the camera is
// looked for.
LRESULT CVideoWndView::OnTimer(WPARAM, LPARAM) {
  if (g_bDevicePresent) {
    RecordingTick();
    if (m_bSnapshotPoll) SnapshotPoll();
  } else {
    RetryPendingClose();
    LookForCamera();
    if (!g_bDevicePresent) UpdateTitle();
  }
  return 0;
}

LRESULT CVideoWndView::OnGraphNotify(WPARAM wParam, LPARAM lParam) {
  if (m_pDevGraph) m_pDevGraph->OnGraphEvent(wParam, lParam);
  return 0;
}

// The graph goes before the preview area it draws into.
LRESULT CVideoWndView::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, kTimerId);
  m_bTimerRunning = false;
  CloseSoundCapture();
  recorder::g_bRecording = false;
  m_aviRecorder.Close();
  // Its owner is the main frame, which outlives this view.
  if (m_hToolTip) ::DestroyWindow(m_hToolTip);
  m_hToolTip = nullptr;
  if (g_pDevGraphBuilder == m_pDevGraph.get()) g_pDevGraphBuilder = nullptr;
  m_pDevGraph.reset();
  g_hPreviewWnd = nullptr;
  g_bDevicePresent = false;
  m_buffer1.clear();
  m_buffer2.clear();
  m_stillBuffer.clear();
  return Default();
}

// Without a live picture the preview area is black.
LRESULT CVideoWndView::OnCtlColorStatic(WPARAM, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(IDC_PREVIEW)) return 0;
  return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}

// The recording side of the capture view: the Video and Record buttons, the
// timer's recording step, the status text, timed recordings, the disk check
// and the recording notices. The clip goes through the view's AVI recorder;
// sound comes from the wave-in thread (recorder/sound_capture.h).
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <cstring>
#include <ctime>

#include "album/file_list_view.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "capture/dev_graph_builder.h"
#include "capturewin/countdown_dialog.h"
#include "capturewin/disk_space.h"
#include "capturewin/video_wnd_view.h"
#include "imaging/dib_bitmap.h"
#include "core/capture_naming.h"
#include "core/sound_format.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr int kMinimumTicks = 4;  // a stop asked for earlier waits for tick 4
constexpr int kLowDiskMegabytes = 300;
constexpr int kAnimationInset = 3;
// The frame-writing step of the timer does not nest.
bool g_bWritingFrame = false;
// The too-long notice shows one box at a time.
bool g_bTooLongShown = false;

WAVEFORMATEX ToWaveFormat(const core::SoundFormat& f) {
  WAVEFORMATEX w{};
  w.wFormatTag = f.formatTag;
  w.nChannels = f.channels;
  w.nSamplesPerSec = f.samplesPerSec;
  w.nAvgBytesPerSec = f.avgBytesPerSec;
  w.nBlockAlign = f.blockAlign;
  w.wBitsPerSample = f.bitsPerSample;
  return w;
}

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void CVideoWndView::OnVideoButton() {
  if (!g_bDevicePresent || !m_pDevGraph) return;
  m_pDevGraph->EnableSnapshot(false);
  m_bStopRequested = false;
  const int delay = settings::ReadInt(settings::kVideoDelayTime, m_strIniPath);
  const HWND self = m_hWnd;
  if (delay != 0) CCountdownDlg(::GetAncestor(m_hWnd, GA_ROOT), delay).DoModal();
  // The end of the session closes the windows, this view included, under
  // the countdown; then nothing of it may be touched.
  if (!::IsWindow(self)) return;
  if (m_bRecording) return;
  // The camera may have gone during the countdown: without it no tick
  // would ever count, so the recording could never be stopped.
  if (!g_bDevicePresent || !m_pDevGraph) {
    if (m_pDevGraph) m_pDevGraph->EnableSnapshot(true);
    return;
  }
  m_nFileIndex = settings::ReadInt(settings::kIndex, m_strIniPath);
  recorder::g_bErrorPosted = false;
  m_bClosePending = false;
  if (!StartRecording()) {
    m_pDevGraph->EnableSnapshot(true);
    base::AppMessageBox(base::LoadResString(IDS_RECORDING_ERROR), MB_OK | MB_TASKMODAL);
    return;
  }
  ++m_nFileIndex;
  m_bRecording = true;
  recorder::g_bRecording = true;
  m_bShowStatus = true;
  UpdateRecordingUI(true);
  ShowRecordAnimation();
}

void CVideoWndView::OnRecordButton() { StopRecording(); }

// False when the clip cannot take frames (no file or no video stream): the
// empty clip it began is closed and removed again.
bool CVideoWndView::StartRecording() {
  const std::string defaultAlbum = base::Narrow(settings::DefaultAlbumFolder());
  m_strVideoFolder = base::Widen(
      settings::Read(settings::kCapturedVideoFilePath.WithDefault(defaultAlbum), m_strIniPath));
  ::CreateDirectoryW(m_strVideoFolder.c_str(), nullptr);
  m_nTickCount = 0;
  m_strClipPath = core::FirstFreeCaptureName(m_strVideoFolder, L".AVI", FileExists);
  m_aviRecorder.SetNoteFolder(settings::RecordingNoteFolder());
  if (m_strClipPath.empty() || m_aviRecorder.Open(m_strClipPath) != recorder::kAviOk) return false;

  const BITMAPINFOHEADER header = imaging::Dib24Header(g_nVideoWidth, g_nVideoHeight);
  // A rate of 0 would leave every frame on position 0; the camera runs at 30 then too.
  int fps =
      settings::ReadInt(settings::kFrameRate.WithCapacity(settings::kPathCapacity), m_strIniPath);
  if (fps <= 0) fps = 30;
  if (m_aviRecorder.CreateVideoStream(header, static_cast<DWORD>(fps), 1) != recorder::kAviOk) {
    m_aviRecorder.Close();
    ::DeleteFileW(m_strClipPath.c_str());
    return false;
  }

  m_soundFormat = ToWaveFormat(
      core::ParseSoundFormat(settings::Read(settings::kAudioSettingProperty, m_strIniPath)));
  if (settings::Read(settings::kCaptureAudio, m_strIniPath) == "TRUE" && OpenSoundCapture()) {
    m_aviRecorder.CreateAudioStream(m_soundFormat);
  }
  m_aviRecorder.Start();
  return true;
}

bool CVideoWndView::OpenSoundCapture() {
  return m_soundCapture.Open(m_soundFormat, &m_aviRecorder, m_hWnd);
}

void CVideoWndView::CloseSoundCapture() { m_soundCapture.Close(); }

void CVideoWndView::StopRecording() {
  if (m_nTickCount < kMinimumTicks) {
    m_bStopRequested = true;
    return;
  }
  m_bStopRequested = false;
  if (m_soundCapture.IsOpen()) CloseSoundCapture();
  if (m_bRecording) {
    m_bRecording = false;
    recorder::g_bRecording = false;
    if (m_aviRecorder.Close() == recorder::kAviCloseBusy) m_bClosePending = true;
    if (!m_strClipPath.empty() && g_pFileListView) {
      g_pFileListView->ClearSelection();
      g_pFileListView->AddFile(m_strClipPath);
    }
    UpdateRecordingUI(false);
    Animate_Close(::GetDlgItem(GetDlgItem(IDC_RECORD_BUTTON), IDC_ANIMATE));
  }
  settings::Write(settings::kIndex, std::to_string(m_nFileIndex), m_strIniPath);
  if (m_pDevGraph) m_pDevGraph->EnableSnapshot(true);
  recorder::g_bErrorPosted = false;
}

void CVideoWndView::UpdateRecordingUI(bool on) {
  HWND status = GetDlgItem(IDC_RECORD_STATUS);
  const int buttonShow = on ? SW_HIDE : SW_SHOW;
  ::ShowWindow(GetDlgItem(IDC_IMAGE_BUTTON), buttonShow);
  ::ShowWindow(GetDlgItem(IDC_VIDEO_BUTTON), buttonShow);
  ::ShowWindow(GetDlgItem(IDC_SETTINGS_BUTTON), buttonShow);
  if (!on) {
    m_bTimeLimit = false;
    ::SetWindowTextW(status, L"");
    ::ShowWindow(status, SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_RECORD_BUTTON), SW_HIDE);
    return;
  }
  const std::string timed = settings::Read(settings::kIfSelectCaptureDuringTime, m_strIniPath);
  ::ShowWindow(status, SW_SHOW);
  m_tStartTime = std::time(nullptr);
  if (timed == "TRUE") {
    m_strTimeLimit = settings::Read(settings::kCaptureDuringTime, m_strIniPath);
    m_bTimeLimit = true;
  }
  ::ShowWindow(GetDlgItem(IDC_RECORD_BUTTON), SW_SHOW);
  LayOut();
}

// The animation control covers the Record button inside its border.
void CVideoWndView::ShowRecordAnimation() {
  HWND record = GetDlgItem(IDC_RECORD_BUTTON);
  HWND animation = ::GetDlgItem(record, IDC_ANIMATE);
  if (!animation) return;
  RECT rc;
  ::GetClientRect(record, &rc);
  ::InflateRect(&rc, -kAnimationInset, -kAnimationInset);
  ::MoveWindow(animation, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
  Animate_OpenEx(animation, ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_RECORDING_ANIMATION));
}

// The timer's recording steps, with the camera present.
void CVideoWndView::RecordingTick() {
  if (m_bRecording) {
    ++m_nTickCount;
    if (m_nTickCount % 10 != 0) CheckDiskSpace();
  }
  if (m_bRecording && !g_bWritingFrame) {
    g_bWritingFrame = true;
    WriteFrame();
    g_bWritingFrame = false;
  }
  if (m_bRecording) {
    const long elapsed = static_cast<long>(std::time(nullptr) - m_tStartTime);
    if (m_bShowStatus) {
      HWND status = GetDlgItem(IDC_RECORD_STATUS);
      if (m_bTimeLimit) {
        const long limit = core::AtoiC(m_strTimeLimit);
        ::SetWindowTextW(status, base::FormatW(base::LoadResString(IDS_TIME_REMAINING).c_str(),
                                               static_cast<int>(limit - elapsed))
                                     .c_str());
        if (elapsed >= limit) StopRecording();
      } else {
        ::SetWindowTextW(status, base::FormatW(base::LoadResString(IDS_TIME_CAPTURED).c_str(),
                                               static_cast<int>(elapsed))
                                     .c_str());
      }
    }
    if (m_bStopRequested) StopRecording();
  } else {
    RetryPendingClose();
  }
}

// A close that found a sound write running is tried again on later ticks,
// with or without the camera.
void CVideoWndView::RetryPendingClose() {
  if (m_bClosePending) m_bClosePending = m_aviRecorder.Close() == recorder::kAviCloseBusy;
}

void CVideoWndView::WriteFrame() {
  if (!m_pDevGraph || m_buffer1.size() < sizeof(BITMAPINFOHEADER)) return;
  m_pDevGraph->CopyLatestFrame();
  BITMAPINFOHEADER header;
  std::memcpy(&header, m_buffer1.data(), sizeof header);
  if (header.biSizeImage > m_buffer1.size() - sizeof header) return;
  const DWORD result = m_aviRecorder.WriteVideoFrame(m_buffer1.data() + sizeof header,
                                                     static_cast<LONG>(header.biSizeImage));
  // A full clip, or a compressor that refuses the frames: the recording
  // stops with the error notice rather than going on without a picture.
  const bool failed =
      result == recorder::kAviSizeLimitReached || result == recorder::kAviWriteFailed;
  if (failed && !recorder::g_bErrorPosted.exchange(true)) {
    ::PostMessageW(m_hWnd, recorder::WM_RECORDING_ERROR, 1, 0);
  }
}

// Under 300 MB on the clip's drive (or no answer) the recording stops at
// once, before the box, so that ticks during the box find it stopped.
void CVideoWndView::CheckDiskSpace() {
  const int megabytes = capturewin::DiskFreeMegabytes(m_strClipPath);
  if (megabytes >= kLowDiskMegabytes) return;
  if (m_nTickCount < kMinimumTicks) m_nTickCount = kMinimumTicks;
  StopRecording();
  base::AppMessageBox(base::FormatW(base::LoadResString(IDS_DISK_SPACE_LOW).c_str(), megabytes),
                      MB_OK | MB_TASKMODAL);
}

// wParam 1: a video or sound write found the clip at its size limit;
// wParam 0: handled as the camera going, except that the frame size stays
// known for the settings dialog.
LRESULT CVideoWndView::OnRecordingError(WPARAM wParam, LPARAM) {
  if (wParam == 0) {
    DeviceGone(false);
    return 0;
  }
  if (wParam != 1) return 0;
  m_nTickCount += 10;
  StopRecording();
  base::AppMessageBox(base::LoadResString(IDS_RECORDING_ERROR), MB_OK | MB_TASKMODAL);
  return 0;
}

LRESULT CVideoWndView::OnClipTooLong(WPARAM, LPARAM) {
  m_bShowStatus = false;
  ::ShowWindow(GetDlgItem(IDC_RECORD_STATUS), SW_HIDE);
  if (!g_bTooLongShown) {
    g_bTooLongShown = true;
    base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_CLIP_TOO_LONG), MB_OK);
    g_bTooLongShown = false;
  }
  StopRecording();
  return 0;
}

#include "capturewin/video_settings_dialog.h"

#include "base/strings.h"
#include "capture/dev_graph_builder.h"
#include "capturewin/compressor_choice.h"
#include "capturewin/dialog_place.h"
#include "capturewin/settings_text.h"
#include "capturewin/video_wnd_view.h"
#include "core/capture_settings.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr int kWidth = 270, kHeight = 230;
constexpr capturewin::ControlPlace kPlaces[] = {
    {IDC_VIDEO_GROUP, 7, 6, 250, 155},
    {IDC_FRAME_RATE_LABEL, 14, 31, 70, 16},
    {IDC_FRAME_RATE, 80, 29, 30, 20},
    {IDC_FRAME_RATE_UNIT, 112, 31, 20, 16},
    {IDC_DELAY_LABEL, 14, 61, 70, 16},
    {IDC_DELAY_TIME, 80, 59, 30, 20},
    {IDC_DELAY_UNIT, 112, 61, 10, 16},
    {IDC_SET_COMPRESS, 160, 60, 90, 24},
    {IDC_CAPTURE_DURING_TIME, 14, 91, 140, 20},
    {IDC_DURATION, 160, 91, 30, 18},
    {IDC_DURATION_UP, 190, 91, 16, 9},
    {IDC_DURATION_DOWN, 190, 100, 16, 9},
    {IDC_DURATION_UNIT, 208, 91, 10, 16},
    {IDC_CAPTURE_AUDIO, 14, 120, 140, 20},
    {IDOK, 150, 165, 50, 24},
    {IDCANCEL, 206, 165, 50, 24},
};
constexpr int kDelayDigits = 2;
constexpr char kDefaultDuration[] = "15";

}  // namespace

CVideoSettingsDlg::CVideoSettingsDlg(HWND parent, CVideoWndView& view)
    : CDialog(IDD_VIDEO_SETTINGS, parent), m_view(view), m_compressor(settings::SettingsPath()) {}

const base::MessageMap* CVideoSettingsDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::CommandEntry<&CVideoSettingsDlg::OnCaptureDuringTime>(IDC_CAPTURE_DURING_TIME),
      base::CommandEntry<&CVideoSettingsDlg::OnDurationUp>(IDC_DURATION_UP),
      base::CommandEntry<&CVideoSettingsDlg::OnDurationDown>(IDC_DURATION_DOWN),
      base::CommandEntry<&CVideoSettingsDlg::OnSetCompress>(IDC_SET_COMPRESS),
      base::MessageEntry<&CVideoSettingsDlg::OnTimer>(WM_TIMER),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

BOOL CVideoSettingsDlg::OnInitDialog() {
  m_strIniPath = settings::SettingsPath();
  capturewin::PlaceDialog(m_hWnd, kWidth, kHeight, kPlaces);
  capturewin::CentreDialog(m_hWnd);
  ::SendDlgItemMessageW(m_hWnd, IDC_DELAY_TIME, EM_LIMITTEXT, kDelayDigits, 0);
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  m_bmpUp.Reset(::LoadBitmapW(module, MAKEINTRESOURCEW(IDB_DURATION_UP)));
  m_bmpDown.Reset(::LoadBitmapW(module, MAKEINTRESOURCEW(IDB_DURATION_DOWN)));

  // Any value but "FALSE" counts as on.
  const bool timed = settings::Read(settings::kIfSelectCaptureDuringTime, m_strIniPath) != "FALSE";
  ShowTimed(timed);
  ::CheckDlgButton(m_hWnd, IDC_CAPTURE_DURING_TIME, timed ? BST_CHECKED : BST_UNCHECKED);
  m_strTimed = timed ? "TRUE" : "FALSE";
  if (timed) {
    capturewin::SetFieldText(m_hWnd, IDC_DURATION,
                             settings::Read(settings::kCaptureDuringTime, m_strIniPath));
  }
  const std::string album = base::Narrow(settings::DefaultAlbumFolder());
  m_strFolder = settings::Read(settings::kCapturedVideoFilePath.WithDefault(album), m_strIniPath);
  capturewin::SetFieldText(m_hWnd, IDC_DELAY_TIME,
                           settings::Read(settings::kVideoDelayTime, m_strIniPath));
  capturewin::SetFieldText(m_hWnd, IDC_FRAME_RATE,
                           settings::Read(settings::kFrameRate, m_strIniPath));
  const bool audio = settings::Read(settings::kCaptureAudio, m_strIniPath) == "TRUE";
  ::CheckDlgButton(m_hWnd, IDC_CAPTURE_AUDIO, audio ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

void CVideoSettingsDlg::ShowTimed(bool on) {
  const std::pair<int, HBITMAP> arrows[] = {{IDC_DURATION_UP, m_bmpUp.Get()},
                                            {IDC_DURATION_DOWN, m_bmpDown.Get()}};
  for (const auto& [id, bitmap] : arrows) {
    ::SendDlgItemMessageW(m_hWnd, id, BM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(on ? bitmap : nullptr));
    ::EnableWindow(GetDlgItem(id), on);
  }
  ::EnableWindow(GetDlgItem(IDC_DURATION), on);
}

void CVideoSettingsDlg::OnCaptureDuringTime() {
  const bool on = ::IsDlgButtonChecked(m_hWnd, IDC_CAPTURE_DURING_TIME) == BST_CHECKED;
  capturewin::SetFieldText(m_hWnd, IDC_DURATION, on ? kDefaultDuration : "");
  ShowTimed(on);
  m_strTimed = on ? "TRUE" : "FALSE";
}

void CVideoSettingsDlg::StepDuration(int step) {
  if (auto next = core::StepDuration(capturewin::FieldText(m_hWnd, IDC_DURATION), step)) {
    capturewin::SetFieldText(m_hWnd, IDC_DURATION, *next);
  }
}

// Only with a camera: the compressor dialog is offered the camera's format.
void CVideoSettingsDlg::OnSetCompress() {
  DevGraphBuilder* graph = m_view.Graph();
  if (!graph || !g_bDevicePresent) return;
  m_compressor.Choose(m_hWnd, *graph);
  ::KillTimer(m_hWnd, capturewin::kPresetListTimer);
  ::KillTimer(m_hWnd, capturewin::kPresetQualityTimer);
}

LRESULT CVideoSettingsDlg::OnTimer(WPARAM wParam, LPARAM) {
  m_compressor.OnTimer(m_hWnd, wParam);
  return 0;
}

// The clip folder is stored even when the delay is refused.
void CVideoSettingsDlg::OnOK() {
  if (!m_strFolder.empty())
    settings::Write(settings::kCapturedVideoFilePath, m_strFolder, m_strIniPath);
  const std::string delay = capturewin::FieldText(m_hWnd, IDC_DELAY_TIME);
  if (!capturewin::AcceptDelay(m_hWnd, delay)) return;
  if (!delay.empty()) settings::Write(settings::kVideoDelayTime, delay, m_strIniPath);
  const std::string rate = capturewin::FieldText(m_hWnd, IDC_FRAME_RATE);
  if (!rate.empty()) settings::Write(settings::kFrameRate, rate, m_strIniPath);
  settings::Write(settings::kIfSelectCaptureDuringTime, m_strTimed, m_strIniPath);
  settings::Write(settings::kCaptureDuringTime,
                  m_strTimed == "TRUE" ? capturewin::FieldText(m_hWnd, IDC_DURATION) : "",
                  m_strIniPath);
  const bool audio = ::IsDlgButtonChecked(m_hWnd, IDC_CAPTURE_AUDIO) == BST_CHECKED;
  settings::Write(settings::kCaptureAudio, audio ? "TRUE" : "FALSE", m_strIniPath);
  EndDialog(IDOK);
}

#include "capturewin/settings_dialog.h"

#include "base/strings.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "capturewin/dialog_place.h"
#include "capturewin/image_settings_dialog.h"
#include "capturewin/video_settings_dialog.h"
#include "capturewin/video_wnd_view.h"
#include "core/capture_settings.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

void AddItem(HWND list, const std::wstring& text) {
  ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Selects the item that reads `text`; false when there is none.
bool SelectItem(HWND list, const std::wstring& text) {
  const LRESULT index = ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR) return false;
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

void ShowDisconnected(HWND list) {
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  AddItem(list, base::LoadResString(IDS_DEVICE_DISCONNECTED));
  ::SendMessageW(list, CB_SETCURSEL, 0, 0);
}

}  // namespace

CCaptureSettingsDlg::CCaptureSettingsDlg(HWND parent, CVideoWndView& view)
    : CDialog(IDD_CAPTURE_SETTINGS, parent), m_view(view) {}

const base::MessageMap* CCaptureSettingsDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::CommandEntry<&CCaptureSettingsDlg::OnImageSettings>(IDC_IMAGE_SETTINGS),
      base::CommandEntry<&CCaptureSettingsDlg::OnVideoSettings>(IDC_VIDEO_SETTINGS),
      base::CommandEntry<&CCaptureSettingsDlg::OnAdvanceSettings>(IDC_ADVANCE_SETTINGS),
      base::CommandEntry<&CCaptureSettingsDlg::OnOK>(IDC_SETTINGS_OK),
      base::CommandEntry<&CCaptureSettingsDlg::OnCancel>(IDC_SETTINGS_CANCEL),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

DevGraphBuilder* CCaptureSettingsDlg::LiveGraph() const {
  return g_bDevicePresent ? m_view.Graph() : nullptr;
}

BOOL CCaptureSettingsDlg::OnInitDialog() {
  m_strIniPath = settings::SettingsPath();
  capturewin::CentreDialog(m_hWnd);
  HWND frames = GetDlgItem(IDC_DEVICE_FRAME_LIST);
  DevGraphBuilder* graph = LiveGraph();
  if (!graph) {
    ShowDisconnected(frames);
    ShowDisconnected(GetDlgItem(IDC_WINDOW_LIST));
    return TRUE;
  }
  unsigned long imageBytes = 0;
  DWORD compression = 0;
  if (!graph->GetCurrentFormat(&m_format.width, &m_format.height, &imageBytes, &compression)) {
    m_format = {g_nVideoWidth, g_nVideoHeight};
  }
  const bool offers800 = capture::g_bQvc5520Family;
  for (const std::string& item : core::DeviceFrameItems(offers800))
    AddItem(frames, base::Widen(item));
  SelectItem(frames, base::Widen(core::FrameSizeText(m_format.width, m_format.height)));

  FillWindowList(m_format.width);
  // The stored window size when the list has it, else the first item.
  const std::string stored = settings::Read(
      settings::kWindowSize.WithDefault(core::FrameSizeText(m_format.width, m_format.height)),
      m_strIniPath);
  HWND windows = GetDlgItem(IDC_WINDOW_LIST);
  if (SelectItem(windows, base::Widen(stored))) {
    m_window = core::FrameSizeAt(stored);
  } else {
    ::SendMessageW(windows, CB_SETCURSEL, 0, 0);
    m_window = {160, 120};
  }
  return TRUE;
}

void CCaptureSettingsDlg::FillWindowList(int frameWidth) {
  HWND windows = GetDlgItem(IDC_WINDOW_LIST);
  ::SendMessageW(windows, CB_RESETCONTENT, 0, 0);
  const auto items = core::WindowItemsUpTo(frameWidth, capture::g_bQvc5520Family);
  for (const std::string& item : items) AddItem(windows, base::Widen(item));
  if (items.empty()) return;
  ::SendMessageW(windows, CB_SETCURSEL, items.size() - 1, 0);
  m_window = core::FrameSizeAt(items.back());
}

std::string CCaptureSettingsDlg::SelectedText(int listId) const {
  HWND list = GetDlgItem(listId);
  const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  return base::Narrow(base::ComboItemText(list, index));
}

// The lists change the preview as soon as another item is chosen.
bool CCaptureSettingsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (id == IDC_DEVICE_FRAME_LIST || id == IDC_WINDOW_LIST) {
    if (HIWORD(wParam) == CBN_SELCHANGE) {
      if (id == IDC_DEVICE_FRAME_LIST)
        OnDeviceFrameChange();
      else
        OnWindowChange();
    }
    return true;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// The camera takes the new frame size at once; the capture window follows
// it and the video window fills the largest window size the frame allows.
void CCaptureSettingsDlg::OnDeviceFrameChange() {
  DevGraphBuilder* graph = LiveGraph();
  if (!graph) return;
  const std::string frame = SelectedText(IDC_DEVICE_FRAME_LIST);
  const core::FrameSize size = core::FrameSizeAt(frame);
  if (!core::IsUsableFrameSize(size.width, size.height)) return;
  const int fps = settings::ReadInt(settings::kFrameRate, m_strIniPath);

  m_view.m_bSkipReread = true;
  m_view.SuspendPreview(true);
  graph->SetFormat(size.width, size.height, core::Dib24ImageBytes(size.width, size.height), fps);
  FillWindowList(size.width);
  m_view.ApplyWindowLayout(core::LayoutSizeFor(frame));
  m_view.ApplyDeviceFormat();
  // The view's graph may have been replaced if the camera went meanwhile.
  if (DevGraphBuilder* now = m_view.Graph())
    now->SetVideoWindowSize(m_window.width, m_window.height);
}

void CCaptureSettingsDlg::OnWindowChange() {
  const std::string window = SelectedText(IDC_WINDOW_LIST);
  m_window = core::FrameSizeAt(window);
  m_view.ApplyWindowLayout(window);
  if (DevGraphBuilder* graph = m_view.Graph())
    graph->SetVideoWindowSize(m_window.width, m_window.height);
}

void CCaptureSettingsDlg::OnImageSettings() { CImageSettingsDlg(m_hWnd).DoModal(); }

void CCaptureSettingsDlg::OnVideoSettings() { CVideoSettingsDlg(m_hWnd, m_view).DoModal(); }

void CCaptureSettingsDlg::OnAdvanceSettings() {
  if (DevGraphBuilder* graph = LiveGraph()) graph->ShowDevicePropertyPages(m_hWnd);
}

// Only real sizes are stored: nothing without a camera.
void CCaptureSettingsDlg::OnOK() {
  if (LiveGraph()) {
    const std::string disconnected = base::Narrow(base::LoadResString(IDS_DEVICE_DISCONNECTED));
    const std::string window = SelectedText(IDC_WINDOW_LIST);
    const std::string frame = SelectedText(IDC_DEVICE_FRAME_LIST);
    if (!window.empty() && window != disconnected) {
      settings::Write(settings::kWindowSize, window, m_strIniPath);
    }
    if (!frame.empty() && frame != disconnected) {
      settings::Write(settings::kDeviceResolution, frame, m_strIniPath);
    }
  }
  EndDialog(IDOK);
}

// The stored sizes come back into effect: the view reads the frame size and
// rate from the settings file again when it applies the format.
void CCaptureSettingsDlg::OnCancel() {
  m_view.m_bSkipReread = false;
  if (LiveGraph()) {
    const std::string window = settings::Read(settings::kWindowSize, m_strIniPath);
    const core::FrameSize stored = core::FrameSizeAt(window);
    if (m_format.width != 0 || m_window.width != stored.width) {
      m_view.SuspendPreview(true);
      m_view.ApplyWindowLayout(window);
      m_view.ApplyDeviceFormat();
      if (DevGraphBuilder* graph = m_view.Graph())
        graph->SetVideoWindowSize(stored.width, stored.height);
    }
  }
  EndDialog(IDCANCEL);
}

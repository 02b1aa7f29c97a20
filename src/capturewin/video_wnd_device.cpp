// The capture view and the camera's presence: removal notices from the
// system, the one-time "plugged out" / "plugged in" boxes, the timer's look
// for a camera that came back, and stills taken with the camera's snapshot
// button (cleared in the driver's and the still-image service's registry
// values on every tick, enlarged when the driver asks for a bigger still).
#include <windows.h>
// Needs the types of windows.h.
#include <dbt.h>

#include <cstddef>
#include <cstring>

#include "album/file_list_view.h"
#include "base/handles.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "capturewin/video_wnd_view.h"
#include "core/still_enlarge.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

// KSCATEGORY_CAPTURE: the class of capture devices.
constexpr GUID kCaptureClass = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr DWORD kDriverKeyAccess = 0x2001F;
// Ticks to wait after a removal before the camera is looked for again:
// the first look comes on tick 32, about a second later.
constexpr int kWaitTicks = 30;
constexpr size_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
constexpr DWORD kI420 = 0x30323449;
constexpr char kServiceValue[] = "{E5BAEA70-7F2C-49F3-BEC5-BAEDEA26DFB4}";
// The snapshot poll does not nest (saving may show a box).
bool g_bPollingSnapshot = false;

bool IsCaptureInterfaceRemoval(WPARAM event, LPARAM lParam) {
  if (event != DBT_DEVICEREMOVECOMPLETE || lParam == 0) return false;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
      header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name)) {
    return false;
  }
  const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam);
  return ::IsEqualGUID(device->dbcc_classguid, kCaptureClass) != FALSE;
}

// Sets a 32-bit value to 0 below HKEY_LOCAL_MACHINE; failures are ignored.
void ClearRegistryValue(const char* keyPath, const char* name) {
  base::RegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, kDriverKeyAccess, key.Put()) !=
      ERROR_SUCCESS) {
    return;
  }
  const DWORD zero = 0;
  ::RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                   sizeof zero);
}

const char* StillServiceKey() {
  if (capture::g_bQvc5520Family) return "SYSTEM\\CurrentControlSet\\Services\\Snapvisor\\QVC5520";
  if (capture::g_bQvc318Family) return "SYSTEM\\CurrentControlSet\\Services\\Snapvisor\\QVC318";
  return "SYSTEM\\CurrentControlSet\\Services\\unknown service";
}

}  // namespace

// Only the completed removal of a capture-class device interface counts;
// arrivals are left to the timer, which finds the camera itself.
LRESULT CVideoWndView::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
  if (IsCaptureInterfaceRemoval(wParam, lParam)) DeviceGone(true);
  return TRUE;
}

// The camera went: a recording is closed at once, the timer waits a second
// before it looks for the camera, and the user is told once.
void CVideoWndView::DeviceGone(bool forgetFrameSize) {
  m_bDeviceWait = true;
  m_nWaitCount = 0;
  if (m_bRecording) {
    m_nTickCount += 10;
    StopRecording();
  }
  g_bDevicePresent = false;
  if (forgetFrameSize) g_nVideoWidth = g_nVideoHeight = 0;
  ::PostMessageW(m_hWnd, WM_DEVICE_NOTICE, 1, 0);
  UpdateTitle();
}

// The timer without a camera: after the wait that follows a removal, the
// preview is rebuilt as soon as the camera is linked again.
void CVideoWndView::LookForCamera() {
  if (m_bDeviceWait) {
    if (m_nWaitCount <= kWaitTicks) {
      ++m_nWaitCount;
      return;
    }
    m_bDeviceWait = false;
    m_nWaitCount = 0;
  }
  if (!m_pDevGraph || !g_hPreviewWnd || !capture::FindCamera()) return;
  m_pDevGraph->InitCaptureFilters();
  m_pDevGraph->BuildPreviewGraph();
  ApplyDeviceFormat();
  if (g_bDevicePresent) ::PostMessageW(m_hWnd, WM_DEVICE_NOTICE, 0, 0);
}

// wParam != 0: plugged out (the preview area turns black); 0: plugged in.
// Each is shown once until the camera's format is read again.
LRESULT CVideoWndView::OnDeviceNotice(WPARAM wParam, LPARAM) {
  if (wParam != 0) {
    if (m_bPluggedOutReported) return 0;
    ::InvalidateRect(GetDlgItem(IDC_PREVIEW), nullptr, TRUE);
    m_bPluggedOutReported = true;
    base::AppMessageBox(base::LoadResString(IDS_DEVICE_PLUGGED_OUT), MB_OK | MB_TASKMODAL);
  } else {
    if (m_bPluggedInReported) return 0;
    m_bPluggedInReported = true;
    base::AppMessageBox(base::LoadResString(IDS_DEVICE_PLUGGED_IN), MB_OK | MB_TASKMODAL);
  }
  return 0;
}

// Every tick with the camera: the driver's and the still-image service's
// snapshot values go back to 0, and a waiting snapshot frame is saved.
void CVideoWndView::SnapshotPoll() {
  if (g_bPollingSnapshot || !m_pDevGraph) return;
  g_bPollingSnapshot = true;
  ClearRegistryValue(capture::g_strDriverRegistryPath.c_str(), "usb_snapshot_status");
  ClearRegistryValue(StillServiceKey(), kServiceValue);
  if (m_pDevGraph->GetSnapshot()) SaveSnapshot();
  g_bPollingSnapshot = false;
}

// Buffer 2 holds the snapshot frame; it is saved like an Image press, at the
// still size the driver asks for when it is a 640x480 frame.
void CVideoWndView::SaveSnapshot() {
  if (m_buffer2.size() < kHeaderBytes) return;
  BITMAPINFOHEADER header;
  std::memcpy(&header, m_buffer2.data(), kHeaderBytes);
  const int code = header.biWidth == 640 && header.biHeight == 480 && capture::g_bQvc5520Family
                       ? m_pDevGraph->QueryStillImageSize()
                       : 0;
  const std::string format =
      core::ToUpperAscii(settings::Read(settings::kImageFormat, m_strIniPath));
  if (g_pFileListView) g_pFileListView->ClearSelection();
  // Enlarging works on 24-bit rows, so an I420 frame is converted first.
  if (m_dwCompression == kI420) ConvertI420Frame(m_buffer2);
  const std::vector<unsigned char>& picture = EnlargeSnapshot(code);
  if (!g_pFileListView) return;
  const std::wstring path = format == "BMP" ? SaveBmpFile(picture) : SaveJpegFile(picture);
  if (!path.empty() && g_pFileListView) g_pFileListView->AddFile(path);
}

// The still buffer holding buffer 2 enlarged to the size of `code`; buffer 2
// itself for any other code or when it cannot be enlarged.
const std::vector<unsigned char>& CVideoWndView::EnlargeSnapshot(int code) {
  const auto size = core::StillSizeForCode(code);
  if (!size || m_stillBuffer.size() < kHeaderBytes) return m_buffer2;
  BITMAPINFOHEADER header;
  std::memcpy(&header, m_buffer2.data(), kHeaderBytes);
  const int width = header.biWidth, height = header.biHeight;
  if (!core::EnlargeNearest(m_buffer2.data() + kHeaderBytes, m_buffer2.size() - kHeaderBytes, width,
                            height, m_stillBuffer.data() + kHeaderBytes,
                            m_stillBuffer.size() - kHeaderBytes, size->width, size->height)) {
    return m_buffer2;
  }
  header.biWidth = size->width;
  header.biHeight = size->height;
  header.biSizeImage = static_cast<DWORD>(size->width * size->height * 3);
  header.biCompression = BI_RGB;
  header.biBitCount = 24;
  std::memcpy(m_stillBuffer.data(), &header, kHeaderBytes);
  return m_stillBuffer;
}

#include "graph_fixture.h"

#include <dbt.h>

namespace testing_win {
namespace {

const GUID kCaptureClass = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
int g_removalNotices = 0;

LRESULT CALLBACK PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE && wParam == DBT_DEVICEREMOVECOMPLETE && lParam) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
    const bool child = (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
    if (child && header->dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        header->dbcc_classguid == kCaptureClass) {
      ++g_removalNotices;
    }
    return TRUE;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

int RunSimcamctl(const std::wstring& arguments) {
  std::wstring command = L"\"" + BinFolder() + L"simcamctl.exe\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

SimulatedCamera::SimulatedCamera(const wchar_t* family) {
  m_bInstalled = RunSimcamctl(std::wstring(L"install ") + family) == 0;
}

SimulatedCamera::~SimulatedCamera() { RunSimcamctl(L"uninstall"); }

PreviewHost::PreviewHost() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &PreviewProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumoraTestPreview";
    return ::RegisterClassW(&wc);
  }();
  (void)atom;
  m_frame =
      ::CreateWindowExW(0, L"LumoraTestPreview", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                        0, 400, 340, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  m_preview =
      ::CreateWindowExW(0, L"LumoraTestPreview", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        352, 288, m_frame, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  g_removalNotices = 0;
}

PreviewHost::~PreviewHost() {
  if (m_frame) ::DestroyWindow(m_frame);
}

int PreviewHost::RemovalNotices() const { return g_removalNotices; }

void Pump(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

}  // namespace testing_win

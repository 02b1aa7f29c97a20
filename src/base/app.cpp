#include "base/app.h"

#include "base/frame.h"

namespace base {
namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Get() { return g_app; }

HWND AppMainWindow() {
  const CWinApp* app = CWinApp::Get();
  return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

int CWinApp::Main(HINSTANCE instance, int showCommand) {
  m_hInstance = instance;
  m_nCmdShow = showCommand;
  // A refused start ends here: exit undoes only what a full start did.
  if (!InitInstance()) return 0;
  m_exitCode = Run();
  return Exit();
}

int CWinApp::Exit() {
  if (!m_bExited) {
    m_bExited = true;
    m_exitResult = ExitInstance();
  }
  return m_exitResult;
}

void CWinApp::SetRegistryKey(const wchar_t* company) { m_registryKey = company; }

std::wstring CWinApp::ProfileKeyPath() const {
  if (m_registryKey.empty()) return {};
  return L"Software\\" + m_registryKey + L"\\" + m_appName;
}

// Walks from the message's window up to the top, letting each window of ours
// translate it first (accelerators, dialog navigation).
bool CWinApp::PreTranslate(MSG& msg) {
  for (HWND hwnd = msg.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    if (CWnd* wnd = CWnd::FromHandle(hwnd); wnd && wnd->PreTranslateMessage(&msg)) return true;
  }
  return false;
}

// Paint requests, timer ticks (the capture view's comes 30 times a second
// and changes no command's state) and mouse moves come by themselves;
// anything else may change what a command's button shows.
bool CWinApp::IsIdleMessage(const MSG& msg) {
  return msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != 0x0118 &&
         msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE;
}

// The message loop; once the queue runs empty after a message that may
// have changed something, the main frame updates its toolbar states.
int CWinApp::Run() {
  MSG msg{};
  bool idleDue = true;
  for (;;) {
    if (idleDue && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      idleDue = false;
      if (auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd)) frame->OnIdleUpdate();
    }
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    if (IsIdleMessage(msg)) idleDue = true;
    if (PreTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace base

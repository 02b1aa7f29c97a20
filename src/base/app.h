#pragma once
// The application object: one per process, created before the entry point.
#include <windows.h>

#include <string>

#include "base/wnd.h"

namespace base {

class CWinApp {
 public:
  explicit CWinApp(const wchar_t* appName);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  static CWinApp* Get();

  // The framework's entry: initialise, run the message loop, exit.
  int Main(HINSTANCE instance, int showCommand);

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return m_exitCode; }
  // Runs ExitInstance once and gives its result: after the message loop, or
  // earlier when the session ends; the later call only gives the result.
  int Exit();
  // Commands nobody else took.
  virtual bool OnCmdMsg(UINT) { return false; }

  const std::wstring& AppName() const { return m_appName; }
  HINSTANCE Instance() const { return m_hInstance; }
  int ShowCommand() const { return m_nCmdShow; }

  // The per-user application key becomes
  // HKEY_CURRENT_USER\Software\<company>\<application name>.
  void SetRegistryKey(const wchar_t* company);
  // That key's path below HKEY_CURRENT_USER; empty until a key is set.
  std::wstring ProfileKeyPath() const;

  CWnd* m_pMainWnd = nullptr;

 protected:
  int Run();

 private:
  bool PreTranslate(MSG& msg);
  static bool IsIdleMessage(const MSG& msg);

  std::wstring m_appName;
  std::wstring m_registryKey;
  HINSTANCE m_hInstance = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  int m_exitCode = 0;
  bool m_bExited = false;
  int m_exitResult = 0;
};

// The application's main window; null before it exists (and in tests
// without an application object).
HWND AppMainWindow();

}  // namespace base

#include "base/message_box.h"

#include "base/app.h"
#include "base/strings.h"
#include "base/trace.h"

namespace base {

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  Trace("message box: [%s] %s", Narrow(caption).c_str(), Narrow(text).c_str());
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int ShowMessageBox(HWND owner, const std::wstring& text, UINT type) {
  Trace("message box: [] %s", Narrow(text).c_str());
  return ::MessageBoxW(owner, text.c_str(), nullptr, type);
}

int AppMessageBox(const std::wstring& text, UINT type) {
  const CWinApp* app = CWinApp::Get();
  return ShowMessageBox(AppMainWindow(), text, app ? app->AppName() : std::wstring(), type);
}

}  // namespace base

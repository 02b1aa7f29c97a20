#include "app/startup_checks.h"

#include "base/message_box.h"
#include "base/strings.h"
#include "res/resource.h"

namespace app {
namespace {

int PrimaryScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }

core::PlatformVersion QueryPlatformVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return {};
  return {info.dwPlatformId, info.dwMajorVersion, info.dwBuildNumber};
}

int OwnerlessMessageBox(const std::wstring& text, const std::wstring& caption, UINT type) {
  return base::ShowMessageBox(nullptr, text, caption, type);
}

}  // namespace

StartupEnvironment PlatformStartupEnvironment() {
  return {&PrimaryScreenWidth, &QueryPlatformVersion, &OwnerlessMessageBox};
}

bool PassStartupChecks(const StartupEnvironment& env) {
  const std::wstring caption = base::LoadResString(IDS_WARNING_CAPTION);
  if (env.screenWidth() < core::kMinimumScreenWidth &&
      env.messageBox(base::LoadResString(IDS_LOW_RESOLUTION), caption,
                     MB_YESNO | MB_ICONINFORMATION) == IDNO) {
    return false;
  }
  if (core::IsWindows98FirstEdition(env.platformVersion())) {
    env.messageBox(base::LoadResString(IDS_WIN98_FIRST_EDITION), caption,
                   MB_OK | MB_ICONINFORMATION);
    return false;
  }
  return true;
}

}  // namespace app

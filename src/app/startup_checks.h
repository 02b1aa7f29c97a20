#pragma once
// The checks start-up makes before anything else: the screen width question
// and the refusal of Windows 98 first edition. What they look at and how
// they ask comes in from outside, so that tests can replace it.
#include <windows.h>

#include <string>

#include "core/startup_rules.h"

namespace app {

struct StartupEnvironment {
  int (*screenWidth)();
  core::PlatformVersion (*platformVersion)();
  int (*messageBox)(const std::wstring& text, const std::wstring& caption, UINT type);
};

// The real screen, version query and message boxes.
StartupEnvironment PlatformStartupEnvironment();

// False when the program must end: the user declined to run on a narrow
// screen, or the platform is Windows 98 first edition.
bool PassStartupChecks(const StartupEnvironment& env);

}  // namespace app

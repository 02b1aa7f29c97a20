#pragma once
// Starting another program without waiting for it.
#include <windows.h>

#include <string>

namespace base {

// Starts `application` (a full path, so no search picks another program of
// that name) with `commandLine`, its window shown as `showCommand`, and
// lets it run; false when it could not be started.
bool StartProgram(const std::wstring& application, const std::wstring& commandLine,
                  WORD showCommand, DWORD creationFlags = 0);

}  // namespace base

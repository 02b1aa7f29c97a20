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

// `name` in a platform folder (GetSystemDirectoryW, GetWindowsDirectoryW):
// the full path that names a system program so that no search finds a
// program of that name in the program's or the current folder instead.
// Empty when the folder cannot be given.
using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);
std::wstring ProgramIn(FolderQuery folder, const wchar_t* name);

}  // namespace base

#pragma once
// Every message box of the program goes through here: a real MessageBox,
// traced so that a test can tell which box was asked for.
#include <windows.h>

#include <string>

namespace base {

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// A box with the system's default caption.
int ShowMessageBox(HWND owner, const std::wstring& text, UINT type = MB_OK);

// The application's standard box: the application name as caption, the
// main window as owner.
int AppMessageBox(const std::wstring& text, UINT type = MB_OK);

}  // namespace base

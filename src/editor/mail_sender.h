#pragma once
// Hands files to the platform's mail service ("MAPI32.DLL", loaded by name
// for each message) as the attachments of a new message that the user
// completes in the mail program.
#include <windows.h>

#include <string>

namespace editor {

// `list` holds file paths separated by ";" or ",". True when the mail
// service was reached (also when the user cancelled in the mail program);
// false when it is missing or failed. `mainWindow` is brought to the top
// afterwards.
bool SendMailWithFiles(const std::wstring& list, HWND mainWindow);

}  // namespace editor

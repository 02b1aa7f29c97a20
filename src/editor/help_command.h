#pragma once
// The Help command: opens the help file of the user's language, which lies
// in the program folder, in the platform's HTML help viewer.
#include <windows.h>

#include <functional>
#include <string>

namespace editor {

// Starts `application` (a full path) with `commandLine` in a normal window
// and does not wait for it; false when it could not be started.
using ProcessStarter =
    std::function<bool(const std::wstring& application, const std::wstring& commandLine)>;

// The platform's starter for ShowHelp.
bool StartProcess(const std::wstring& application, const std::wstring& commandLine);

// The help file for a user interface language: one for simplified Chinese,
// one for traditional Chinese, the English one for every other language.
const wchar_t* HelpFileName(LANGID language);

// Looks for the help file of `language` in `programFolder` (which ends in a
// backslash). A missing file is reported in the application's message box;
// otherwise the Windows folder's hh.exe is started with the command line
// "Hh.exe <help file>". False when nothing was started.
bool ShowHelp(const std::wstring& programFolder, LANGID language, const ProcessStarter& start);

}  // namespace editor

// The command interpreter that camclean's system() starts in the tests (set
// through COMSPEC): it records each command, then runs it. Windows 9x's
// interpreter took a program path glued to its first switch
// ("C:\x.exe/switch") as the program and the rest as its arguments; this
// one does the same and hands every other command to cmd.exe, which would
// not run the glued form. When LUMORA_WATCH_FILE names a file, each record
// notes whether that file exists at that moment.
#include <windows.h>

#include <string>

#include "base/handles.h"
#include "call_log.h"

namespace {

const char* WatchedFileNote() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LUMORA_WATCH_FILE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return ::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES ? "absent" : "present";
}

DWORD Run(std::wstring line) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    return 9009;  // what cmd.exe answers for a command it cannot find
  }
  base::KernelHandle process(pi.hProcess);
  base::KernelHandle thread(pi.hThread);
  DWORD code = 1;
  if (::WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 1);
  }
  ::GetExitCodeProcess(process.Get(), &code);
  return code;
}

}  // namespace

int wmain() {
  const std::wstring arguments = removal::ArgumentText();
  if (arguments.size() < 3 ||
      (arguments.compare(0, 3, L"/c ") && arguments.compare(0, 3, L"/C "))) {
    return 1;
  }
  const std::wstring command = arguments.substr(3);
  removal::AppendCallLog("shell", command, WatchedFileNote());

  const std::size_t end = command.find_first_of(L" \t/");
  if (end != std::wstring::npos && end > 0 && command[end] == L'/') {
    return static_cast<int>(Run(command.substr(0, end) + L" " + command.substr(end)));
  }
  return static_cast<int>(Run(L"cmd.exe /c " + command));
}

#include "base/process.h"

#include "base/handles.h"

namespace base {

bool StartProgram(const std::wstring& application, const std::wstring& commandLine,
                  WORD showCommand, DWORD creationFlags) {
  std::wstring line = commandLine;  // CreateProcessW may write into it
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = showCommand;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, creationFlags,
                        nullptr, nullptr, &si, &pi)) {
    return false;
  }
  const KernelHandle thread(pi.hThread);
  const KernelHandle process(pi.hProcess);
  return true;
}

std::wstring ProgramIn(FolderQuery folder, const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT length = folder(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(path, length) + L"\\" + name;
}

}  // namespace base

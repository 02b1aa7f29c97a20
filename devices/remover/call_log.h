#pragma once
// What the stand-ins around camclean tell the tests: one line per call,
// appended to the file that the environment variable LUMORA_CALL_LOG names
// (nothing is written when it is unset):
//   <who> TAB <milliseconds since start-up> TAB <text> [TAB <note>] CR LF
#include <windows.h>

#include <cwchar>
#include <string>

#include "base/handles.h"
#include "base/strings.h"

namespace removal {

inline constexpr wchar_t kCallLogVariable[] = L"LUMORA_CALL_LOG";

inline void AppendCallLog(const char* who, const std::wstring& text, const char* note = nullptr) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(kCallLogVariable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  base::FileHandle log(::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) return;
  std::string line =
      std::string(who) + "\t" + std::to_string(::GetTickCount()) + "\t" + base::Narrow(text);
  if (note) line += std::string("\t") + note;
  line += "\r\n";
  DWORD written = 0;
  ::WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// This process's command line after the program's name and the blanks that
// follow it, exactly as it was given.
inline std::wstring ArgumentText() {
  const wchar_t* p = ::GetCommandLineW();
  if (*p == L'"') {
    p += 1 + std::wcscspn(p + 1, L"\"");
    if (*p) ++p;
  } else {
    p += std::wcscspn(p, L" \t");
  }
  p += std::wcsspn(p, L" \t");
  return p;
}

}  // namespace removal

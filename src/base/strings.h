#pragma once
// Text between the program's wide strings, the 8-bit interfaces (system code
// page) and the string tables.
#include <windows.h>

#include <string>
#include <string_view>

namespace base {

// Conversions in the system ANSI code page unless another one is given.
std::wstring Widen(std::string_view ansi, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view wide, UINT codePage = CP_ACP);

// A string-table entry of the module's resources in the thread's language;
// the empty text when it is missing.
std::wstring LoadResString(UINT id, HINSTANCE module = nullptr);
// A string-table entry with its first "%s" replaced by `arg` as it is (a name may hold
// a percent sign of its own, so it never passes through a format).
std::wstring FormatResString(UINT id, std::wstring_view arg);

// printf-style formatting into a wide string.
std::wstring FormatW(const wchar_t* format, ...);
std::string FormatA(const char* format, ...);

// The part of a path after its last backslash.
std::wstring FileNameOf(std::wstring_view path);

}  // namespace base

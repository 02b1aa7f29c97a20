#include "base/strings.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace base {

std::wstring Widen(std::string_view ansi, UINT codePage) {
  if (ansi.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring LoadResString(UINT id, HINSTANCE module) {
  const wchar_t* text = nullptr;
  const int n = ::LoadStringW(module ? module : ::GetModuleHandleW(nullptr), id,
                              reinterpret_cast<LPWSTR>(&text), 0);
  if (n <= 0 || !text) return {};
  return std::wstring(text, static_cast<size_t>(n));
}

std::wstring FormatResString(UINT id, std::wstring_view arg) {
  std::wstring text = LoadResString(id);
  if (const std::size_t at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, arg);
  return text;
}

std::wstring FormatW(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vswprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::wstring out;
  if (n > 0) {
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    std::vswprintf(buf.data(), buf.size(), format, args);
    out.assign(buf.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

std::string FormatA(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

std::wstring FileNameOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

}  // namespace base

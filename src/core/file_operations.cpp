#include "core/file_operations.h"

namespace core {

std::wstring_view ExtensionOf(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::wstring RenameTarget(std::wstring_view folder, std::wstring_view name,
                          std::wstring_view extension, int k) {
  std::wstring path(folder);
  path += L'\\';
  path += name;
  if (k > 0) path += L"-" + std::to_wstring(k);
  path += extension;
  return path;
}

std::wstring PastedFileName(std::wstring_view name, int copies) {
  std::wstring pasted;
  for (int i = 0; i < copies; ++i) pasted += L"Copy of";
  return pasted + std::wstring(name);
}

std::wstring FileTypeText(std::wstring_view path, std::wstring_view image, std::wstring_view video) {
  std::wstring letters(path.substr(path.size() < 3 ? 0 : path.size() - 3));
  for (wchar_t& c : letters) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
  }
  return letters + std::wstring(letters == L"AVI" ? video : image);
}

std::wstring SizeText(std::uint64_t bytes) {
  return std::to_wstring(bytes / 1024) + L" KB(" + std::to_wstring(bytes) + L" bytes)";
}

std::wstring DateTimeText(int year, int month, int day, int hour, int minute, int second) {
  return DateText(year, month, day) + L"," + std::to_wstring(hour) + L":" + std::to_wstring(minute) +
         L":" + std::to_wstring(second);
}

std::wstring DateText(int year, int month, int day) {
  return std::to_wstring(year) + L"-" + std::to_wstring(month) + L"-" + std::to_wstring(day);
}

}  // namespace core

#include "base/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace base {
namespace {

// "a|b||" becomes "a\0b\0\0".
std::wstring NullSeparated(const std::wstring& filter) {
  std::wstring out = filter;
  for (wchar_t& c : out) {
    if (c == L'|') c = L'\0';
  }
  out.push_back(L'\0');
  return out;
}

std::optional<std::wstring> Ask(HWND owner, const FileDialogSpec& spec, DWORD flags, bool save) {
  const std::wstring filter = NullSeparated(spec.filter);
  std::vector<wchar_t> name(32768, L'\0');  // room for long paths
  spec.initialName.copy(name.data(), std::min(spec.initialName.size(), name.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = spec.title.c_str();
  ofn.lpstrDefExt = spec.defaultExtension.empty() ? nullptr : spec.defaultExtension.c_str();
  ofn.lpstrInitialDir = spec.initialFolder.empty() ? nullptr : spec.initialFolder.c_str();
  ofn.Flags = flags | OFN_EXPLORER;
  const BOOL ok = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
  if (!ok || name[0] == L'\0') return std::nullopt;
  return std::wstring(name.data());
}

}  // namespace

std::optional<std::wstring> AskOpenFileName(HWND owner, const FileDialogSpec& spec) {
  return Ask(owner, spec, OFN_HIDEREADONLY, false);
}

std::optional<std::wstring> AskSaveFileName(HWND owner, const FileDialogSpec& spec) {
  return Ask(owner, spec, spec.confirmOverwrite ? OFN_OVERWRITEPROMPT : 0, true);
}

}  // namespace base

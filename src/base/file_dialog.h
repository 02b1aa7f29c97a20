#pragma once
// The system's file-open and file-save dialogs.
#include <windows.h>

#include <optional>
#include <string>

namespace base {

struct FileDialogSpec {
  std::wstring title;
  // Pairs of a description and its patterns, each followed by "|", the last
  // pair by "||", as in "Bitmaps (*.bmp)|*.bmp||".
  std::wstring filter;
  std::wstring defaultExtension;  // without the dot
  std::wstring initialFolder;     // empty: the system's choice
  std::wstring initialName = {};  // the name offered first
  bool confirmOverwrite = false;  // saving over an existing file is asked first
};

// The path the user confirmed; nothing on Cancel or an empty name.
std::optional<std::wstring> AskOpenFileName(HWND owner, const FileDialogSpec& spec);
// The same for saving. An existing file is confirmed only with
// confirmOverwrite.
std::optional<std::wstring> AskSaveFileName(HWND owner, const FileDialogSpec& spec);

}  // namespace base

#include "album/recycle_bin.h"

#include <shellapi.h>

namespace album {

bool SendToRecycleBin(HWND owner, const std::vector<std::wstring>& paths) {
  if (paths.empty()) return true;
  // The shell takes the names one after the other, each ended by a null
  // character, and the whole list ended by one more.
  std::wstring names;
  for (const std::wstring& path : paths) {
    names += path;
    names += L'\0';
  }
  names += L'\0';
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = FO_DELETE;
  op.pFrom = names.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_WANTNUKEWARNING;
  return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace album

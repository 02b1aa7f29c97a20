#pragma once
// Deleting the user's files: they go to the Recycle Bin, never away for good
// without a question.
#include <windows.h>

#include <string>
#include <vector>

namespace album {

// Sends the files and folders (full paths) to the Recycle Bin in one shell
// operation, without the shell's confirmation and progress windows. Where
// the Recycle Bin cannot take an item, the shell asks the user (owned by
// `owner`) before it deletes that item for good. True when every item went;
// false when the user kept something or the operation failed.
bool SendToRecycleBin(HWND owner, const std::vector<std::wstring>& paths);

}  // namespace album

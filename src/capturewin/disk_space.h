#pragma once
// Free space on the drive or share that holds a path.
#include <string>

namespace capturewin {

// Megabytes free to the caller on the root of `path`; -1 when the query
// fails (which callers count as too little space).
int DiskFreeMegabytes(const std::wstring& path);

}  // namespace capturewin

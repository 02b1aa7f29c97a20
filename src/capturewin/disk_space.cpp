#include "capturewin/disk_space.h"

#include <windows.h>

#include <climits>
#include <vector>

#include "base/proc_address.h"
#include "core/path_root.h"

namespace capturewin {
namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::vector<wchar_t> full(needed + 1);
  const DWORD got = ::GetFullPathNameW(path.c_str(), needed + 1, full.data(), nullptr);
  return got == 0 || got > needed ? path : std::wstring(full.data(), got);
}

int ClampMegabytes(unsigned long long megabytes) {
  return megabytes > INT_MAX ? INT_MAX : static_cast<int>(megabytes);
}

}  // namespace

// The extended query is looked up by name: platforms of the first 32-bit
// consumer edition lack it and report at most 2 GB through the old one.
int DiskFreeMegabytes(const std::wstring& path) {
  const std::wstring root = core::PathRoot(FullPath(path));
  using ExFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  const auto ex = base::ProcAddress<ExFn>(::GetModuleHandleW(L"kernel32.dll"), "GetDiskFreeSpaceExW");
  if (ex) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!ex(root.c_str(), &available, &total, &free)) return -1;
    return ClampMegabytes(available.QuadPart >> 20);
  }
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    return -1;
  }
  const unsigned long long bytes =
      static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return ClampMegabytes((bytes + (1u << 19)) >> 20);
}

}  // namespace capturewin

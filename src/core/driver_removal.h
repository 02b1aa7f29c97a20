#pragma once
// What camclean removes and runs: the Windows version classes it knows, the
// driver's files per family, where the installed INFs lie, and the command
// texts for the still-image service and the device-removal program.
#include <array>
#include <cstddef>
#include <string>

namespace core {

// Version classes; 0 is every platform camclean does not support.
enum WindowsClass : int {
  kUnsupportedWindows = 0,
  kWindows98 = 1,
  kWindowsMe = 2,
  kWindows2000 = 3,
  kWindowsXp = 4,
};

// Platform identifiers as GetVersionEx reports them.
inline constexpr unsigned long kPlatformWindows9x = 1;
inline constexpr unsigned long kPlatformNt = 2;

int WindowsVersionClass(unsigned long platform, unsigned long major, unsigned long minor);

// Windows 98 and Me, as opposed to 2000 and XP.
inline bool IsNineFiveFamily(int versionClass) {
  return versionClass == kWindows98 || versionClass == kWindowsMe;
}

// The driver, filter, still-image and TWAIN files and the vendor tools, as
// suffixes of the Windows folder, in the order they are deleted.
inline constexpr std::size_t kDriverFileCount = 11;
using DriverFileTable = std::array<const char*, kDriverFileCount>;
const DriverFileTable& DriverFiles(int versionClass);

// The still-image driver: the NT family deletes it only while the
// still-image service is stopped.
inline constexpr std::size_t kStillImageDriver = 4;

// Installed copies of the driver's INF: folder (a suffix of the Windows
// folder, ending in a backslash) and search pattern.
struct InfSearch {
  const char* folder;
  const char* pattern;
};
InfSearch InstalledInfSearch(int versionClass);

// The device-removal program and the two hardware ids it is run for, each
// with the key that belongs to it.
inline constexpr char kRemovalProgram[] = "camclean.dll";
// The 9x family runs a copy of it in the Windows folder under this name.
inline constexpr char kRemovalProgramCopy[] = "\\camclnr.exe";
struct RemovalTarget {
  const char* hardwareId;
  const char* key;
};
inline constexpr std::array<RemovalTarget, 2> kRemovalTargets{{
    {"USB\\Vid_0d7c&Pid_41a0", "2718093541"},
    {"USB\\Vid_0d7c&Pid_41af", "1845502976"},
}};
// /HardwareID:"<id>" /Key:<key>
std::string RemovalArguments(const RemovalTarget& target);
// The 9x family runs the second id again after this pause.
inline constexpr unsigned kNineFiveRepeatPauseMs = 1750;

// The still-image service: Windows 2000 stops it and starts it again around
// the still-image driver's deletion; XP stops the vendor's service for good.
inline constexpr char kStopStillImage2000[] = "net stop \"Still Image Service\"";
inline constexpr char kStartStillImage2000[] = "net start \"Still Image Service\"";
inline constexpr char kStopStillImageXp[] = "net stop \"Snapvisor\"";

}  // namespace core

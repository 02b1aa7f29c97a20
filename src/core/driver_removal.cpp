#include "core/driver_removal.h"

namespace core {
namespace {

constexpr DriverFileTable kNineFiveFiles{
    "\\system32\\drivers\\QV818UCM.sys",
    "\\system\\SQ5520.ax",
    "\\twain_32\\QV5520\\TWD5520.ds",
    "\\twain_32\\QV5520\\TWAIN.ini",
    "\\system\\Q5520USD.dll",
    "\\Norvex\\Qvc5520\\Vuecap.exe",
    "\\Norvex\\Norvex\\QVC5520\\Snapgrab.exe",
    "\\Norvex\\QVC5520\\QVSnap.exe",
    "\\Norvex\\Qvc5520\\Camctl.bat",
    "\\system32\\QVStiSvc.exe",
    "\\Norvex\\Qvc5520\\QVStiSvc.exe",
};

constexpr DriverFileTable kNtFiles{
    "\\system32\\drivers\\QV818UCM.sys",
    "\\system32\\SQ5520.ax",
    "\\twain_32\\QV5520\\TWD5520.ds",
    "\\twain_32\\QV5520\\TWAIN.ini",
    "\\system32\\Q5520USD.dll",
    "\\Norvex\\Qvc5520\\Vuecap.exe",
    "\\Norvex\\Norvex\\QVC5520\\Snapgrab.exe",
    "\\Norvex\\QVC5520\\QVSnap.exe",
    "\\Norvex\\Qvc5520\\Camctl.bat",
    "\\system32\\QVStiSvc.exe",
    "\\Norvex\\Qvc5520\\QVStiSvc.exe",
};

}  // namespace

int WindowsVersionClass(unsigned long platform, unsigned long major, unsigned long minor) {
  if (platform == kPlatformWindows9x && major == 4) {
    if (minor == 10) return kWindows98;
    if (minor == 90) return kWindowsMe;
  }
  if (platform == kPlatformNt && major == 5) {
    if (minor == 0) return kWindows2000;
    if (minor == 1) return kWindowsXp;
  }
  return kUnsupportedWindows;
}

const DriverFileTable& DriverFiles(int versionClass) {
  return IsNineFiveFamily(versionClass) ? kNineFiveFiles : kNtFiles;
}

InfSearch InstalledInfSearch(int versionClass) {
  if (IsNineFiveFamily(versionClass)) return {"\\inf\\other\\", "*Qv818ucm.inf"};
  return {"\\inf\\", "oem*.inf"};
}

std::string RemovalArguments(const RemovalTarget& target) {
  return std::string("/HardwareID:\"") + target.hardwareId + "\" /Key:" + target.key;
}

}  // namespace core

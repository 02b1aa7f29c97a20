// camclean: undoes the camera driver's installation. It deletes the installed
// copies of the driver's INF with the driver, filter, still-image and TWAIN
// files and the vendor tools, stops (and on Windows 2000 restarts) the
// still-image service, and runs the device-removal program for the camera's
// two hardware ids. It prints nothing, shows a box only on failure and
// always exits with 0.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "base/handles.h"
#include "core/driver_removal.h"
#include "core/inf_match.h"

namespace {

// The extended version record: its size field says 156 bytes, and so the
// record handed to GetVersionExA must have room for all 156.
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "the version record GetVersionExA is given");

void ShowBox(const char* text) { ::MessageBoxA(nullptr, text, nullptr, MB_OK); }
void ShowFailure() { ShowBox("There is something error!"); }

int VersionClass() {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return core::kUnsupportedWindows;
  return core::WindowsVersionClass(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

std::optional<std::string> WindowsFolder() {
  char folder[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(folder, length);
}

bool InfNamesCamera(const std::string& path) {
  std::ifstream file(path);
  return file && core::InfNamesCamera(file);
}

// A read-only or hidden file is deleted as well; a failure is not reported.
void ForceDelete(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

// Through the command interpreter, waiting for it; its result is ignored.
void RunCommand(const std::string& command) { static_cast<void>(std::system(command.c_str())); }

using DriverPaths = std::array<std::string, core::kDriverFileCount>;

// The driver's files for this version class, each with attributes cleared.
DriverPaths PrepareDriverFiles(const std::string& windows, int versionClass) {
  DriverPaths paths;
  const core::DriverFileTable& files = core::DriverFiles(versionClass);
  for (std::size_t i = 0; i < files.size(); ++i) {
    paths[i] = windows + files[i];
    ::SetFileAttributesA(paths[i].c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  return paths;
}

// Calls `visit` with the full path of every file the search finds; false
// when it finds nothing.
template <class Visit>
bool ForEachInstalledInf(const std::string& windows, int versionClass, Visit visit) {
  const core::InfSearch search = core::InstalledInfSearch(versionClass);
  const std::string folder = windows + search.folder;
  WIN32_FIND_DATAA found;
  base::FindHandle find(::FindFirstFileA((folder + search.pattern).c_str(), &found));
  if (!find) return false;
  do {
    visit(folder + found.cFileName);
  } while (::FindNextFileA(find.Get(), &found));
  return true;
}

// Windows 98 and Me: every candidate INF is checked, and the driver's files
// are deleted for each; then a copy of the removal program runs from the
// Windows folder, the second id twice with a pause between.
void RemoveOnNineFive(int versionClass) {
  const std::optional<std::string> windows = WindowsFolder();
  if (!windows) return ShowFailure();
  const bool found = ForEachInstalledInf(*windows, versionClass, [&](const std::string& inf) {
    if (InfNamesCamera(inf)) ForceDelete(inf);
    for (const std::string& path : PrepareDriverFiles(*windows, versionClass)) {
      ::DeleteFileA(path.c_str());
    }
  });
  if (!found) return;

  const std::string copy = *windows + core::kRemovalProgramCopy;
  if (!::CopyFileA(core::kRemovalProgram, copy.c_str(), FALSE)) return ShowFailure();
  const auto& [first, second] = core::kRemovalTargets;
  RunCommand(copy + core::RemovalArguments(first));
  RunCommand(copy + core::RemovalArguments(second));
  ::Sleep(core::kNineFiveRepeatPauseMs);
  RunCommand(copy + core::RemovalArguments(second));
  ::DeleteFileA(copy.c_str());
  ::DeleteFileA((*windows + core::DriverFiles(versionClass)[core::kStillImageDriver]).c_str());
}

// Windows 2000 and XP, for one INF that names the camera: the INF and its
// precompiled copy, the driver's files, and the still-image driver while the
// still-image service is stopped.
void RemoveNtInstallation(const std::string& windows, const std::string& inf, int versionClass) {
  ForceDelete(inf);
  const std::string pnf = core::PrecompiledInfPath(inf);
  if (!pnf.empty()) ForceDelete(pnf);
  const DriverPaths paths = PrepareDriverFiles(windows, versionClass);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i != core::kStillImageDriver) ::DeleteFileA(paths[i].c_str());
  }
  const char* stillImageDriver = paths[core::kStillImageDriver].c_str();
  if (versionClass == core::kWindows2000) {
    RunCommand(core::kStopStillImage2000);
    ::DeleteFileA(stillImageDriver);
    RunCommand(core::kStartStillImage2000);
  } else {
    RunCommand(core::kStopStillImageXp);
    ::DeleteFileA(stillImageDriver);
  }
}

bool RemovalProgramInCurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string program = std::string(folder, length) + "\\" + core::kRemovalProgram;
  const DWORD attributes = ::GetFileAttributesA(program.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows 2000 and XP: the removal program runs from the current folder,
// once per id, whenever there was any candidate INF.
void RemoveOnNt(int versionClass) {
  if (!RemovalProgramInCurrentFolder()) {
    ShowBox("Can't find camclean.dll in this directory");
    return ShowFailure();
  }
  const std::optional<std::string> windows = WindowsFolder();
  if (!windows) return ShowFailure();
  const bool found = ForEachInstalledInf(*windows, versionClass, [&](const std::string& inf) {
    if (InfNamesCamera(inf)) RemoveNtInstallation(*windows, inf, versionClass);
  });
  if (!found) return;
  for (const core::RemovalTarget& target : core::kRemovalTargets) {
    RunCommand(std::string(core::kRemovalProgram) + " " + core::RemovalArguments(target));
  }
}

}  // namespace

int main() {
  try {
    const int versionClass = VersionClass();
    if (versionClass == core::kUnsupportedWindows) {
      ShowFailure();
    } else if (core::IsNineFiveFamily(versionClass)) {
      RemoveOnNineFive(versionClass);
    } else {
      RemoveOnNt(versionClass);
    }
  } catch (...) {
    // Out of memory: what was deleted stays deleted, and the exit code is
    // the same as for every other run.
  }
  return 0;
}

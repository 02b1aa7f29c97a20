#pragma once
// One run of camclean.exe as a chosen Windows version reports itself, on a
// Windows folder laid out afresh for each test: the driver's files of both
// families and candidate INFs. The run's message boxes are read and
// answered with OK; the command interpreter stand-in and the device-removal
// program record every command line that reaches them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "temp_folder.h"

namespace remover_test {

struct Call {
  std::string who;  // "shell" (the interpreter) or "removal"
  unsigned long tick = 0;
  std::string text;
  std::string note;  // the interpreter's note on the watched file
};

struct Outcome {
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::wstring> boxes;  // message box texts, in order
  bool okButtonOnly = true;         // every box offered OK and nothing else
  std::vector<Call> calls;

  std::vector<std::string> Texts(std::string_view who) const;
};

// The driver's files: those both families delete, and those of one family.
inline constexpr const char* kCommonFiles[] = {
    "\\system32\\drivers\\QV818UCM.sys",       "\\twain_32\\QV5520\\TWD5520.ds",
    "\\twain_32\\QV5520\\TWAIN.ini",           "\\Norvex\\Qvc5520\\Vuecap.exe",
    "\\Norvex\\Norvex\\QVC5520\\Snapgrab.exe", "\\Norvex\\QVC5520\\QVSnap.exe",
    "\\Norvex\\Qvc5520\\Camctl.bat",           "\\system32\\QVStiSvc.exe",
    "\\Norvex\\Qvc5520\\QVStiSvc.exe",
};
inline constexpr const char* kNineFiveFiles[] = {"\\system\\SQ5520.ax", "\\system\\Q5520USD.dll"};
inline constexpr const char* kNtFiles[] = {"\\system32\\SQ5520.ax", "\\system32\\Q5520USD.dll"};
// The NT family's still-image driver, deleted while the service is stopped.
inline constexpr char kNtStillImageDriver[] = "\\system32\\Q5520USD.dll";
// Beside the driver's files, and no business of camclean.
inline constexpr char kBystander[] = "\\Norvex\\Qvc5520\\readme.txt";

// An INF whose third word names the driver and whose first "VID" word names
// the camera; and one that names the driver but no VID at all.
extern const char kCameraInf[];
extern const char kInfWithoutVid[];

class CamcleanTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Removes every trace a run may have left in the Windows folder and the
  // registry, and the simulated camera.
  static void Reset();

  static std::filesystem::path WindowsFolder();
  static std::filesystem::path InWindows(std::string_view suffix);
  // Files are laid out read-only: camclean deletes them all the same.
  static void Lay(std::string_view suffix, const std::string& text = "x");
  static bool Exists(std::string_view suffix);
  // The files of both families' tables, so that each family's run shows that
  // it leaves the other family's files alone.
  static void LayDriverFiles();
  void PutRemovalProgramInCurrentFolder() const;

  // `version` as in Wine's AppDefaults ("win98", "winxp", ...). With
  // `recordShell` the commands go through the recording interpreter,
  // otherwise through the platform's own.
  Outcome Run(const wchar_t* version, bool recordShell = true);

  testing_win::TempFolder m_current;  // camclean's current folder
};

}  // namespace remover_test

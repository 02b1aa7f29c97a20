#pragma once
// Drives one run of Lumora.exe for an end-to-end test: a fresh Documents
// folder, the process, its windows and its message boxes. Every wait has a
// time limit; whatever the test leaves running is ended on destruction.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
};

// Polls `done` until it gives true or `limit` passes.
template <class Pred>
bool WaitFor(Pred done, std::chrono::milliseconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    ::Sleep(20);
  }
}

// The bytes of a file; empty when it cannot be read.
std::vector<unsigned char> ReadAll(const std::filesystem::path& path);

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
// The folder of the running test program (where Lumora.exe is built too),
// with a trailing backslash.
std::wstring BinFolder();
// Runs a command line (the program's path quoted where it has blanks) to
// its end; its exit code, or -1.
int RunProgram(std::wstring commandLine, std::chrono::milliseconds limit = 30s);
// Runs a program of the bin folder to its end; its exit code, or -1.
int RunTool(const std::wstring& commandLine, std::chrono::milliseconds limit = 30s);
// The simulated camera driver's "StatusReport", or nothing when absent.
std::optional<DWORD> DriverStatusReport();
// The ids of the running processes whose program file has this name.
std::set<DWORD> ProcessIds(const wchar_t* exeName);
// A process of that name that is not among `before`, or nothing.
std::optional<DWORD> NewProcess(const wchar_t* exeName, const std::set<DWORD>& before);
// Ends a process that the program started (a viewer, say) and waits for it.
void EndProcess(DWORD id);

class LumoraSession {
 public:
  // A fresh, empty Documents folder for this test; the user shell folder
  // "Personal" points at it until the session ends.
  LumoraSession();
  ~LumoraSession();
  LumoraSession(const LumoraSession&) = delete;
  LumoraSession& operator=(const LumoraSession&) = delete;

  const std::filesystem::path& Documents() const { return m_documents; }
  std::filesystem::path SettingsFile() const;
  // A value of the settings file, or nothing when absent.
  std::optional<std::string> Setting(const char* section, const char* key) const;
  // Writes a settings file before the program starts.
  void WriteSettings(const std::string& text) const;

  // Starts Lumora.exe (optionally on another desktop of the window station).
  void Start(const wchar_t* desktop = nullptr);
  // Runs Lumora.exe from this folder instead of the bin folder (a copy of
  // the program folder that a test changes).
  void SetProgramFolder(const std::filesystem::path& folder) { m_programFolder = folder; }
  DWORD ProcessId() const { return m_pi.dwProcessId; }
  bool WaitForExit(std::chrono::milliseconds limit = 30s);
  DWORD ExitCode() const;

  // The visible main window "Lumora" of this process, or null.
  HWND WaitForMainWindow(std::chrono::milliseconds limit = 15s) const;
  // The MDI child of the main window with this title, or null.
  HWND FindChild(HWND mainWindow, const std::wstring& title) const;
  // A message box (or any dialog) of this process, found on its desktop.
  std::optional<MessageBoxInfo> WaitForDialog(std::chrono::milliseconds limit = 10s) const;
  // A message box of this process that says `text` (other dialogs, such as
  // a countdown, may be open beside it).
  std::optional<MessageBoxInfo> WaitForMessage(const std::wstring& text,
                                               std::chrono::milliseconds limit = 10s) const;
  // A visible dialog of this process with this title, or null.
  HWND WaitForDialogTitled(const std::wstring& title, std::chrono::milliseconds limit = 10s) const;
  // Presses a dialog's button and waits for the dialog to go.
  static bool Answer(const MessageBoxInfo& box, int buttonId);
  // Closes the main window the way the user does and waits for the end.
  bool Close();

 private:
  std::vector<HWND> TopLevelWindows() const;

  std::filesystem::path m_root;
  std::filesystem::path m_documents;
  std::optional<std::wstring> m_oldPersonal;
  std::wstring m_desktop;
  std::filesystem::path m_programFolder;
  PROCESS_INFORMATION m_pi{};
};

}  // namespace e2e

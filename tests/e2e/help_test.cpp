// The Help command as the user meets it: the help file of the user's
// language opens in the Windows folder's help viewer; without it the
// program says so and starts nothing.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "lumora_session.h"
#include "resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// The ids of the running processes named hh.exe.
std::set<DWORD> ViewerProcesses() {
  std::set<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, L"hh.exe") == 0) ids.insert(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return ids;
}

// A viewer that was not running before, or nothing.
std::optional<DWORD> NewViewer(const std::set<DWORD>& before) {
  for (DWORD id : ViewerProcesses()) {
    if (!before.count(id)) return id;
  }
  return std::nullopt;
}

void EndProcess(DWORD id) {
  if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

// A copy of the program folder with the given help files and a planted
// hh.exe that leaves a mark when it runs.
class Help : public ::testing::Test {
 protected:
  Help() : m_program(m_lumora.Documents().parent_path() / L"program") {
    fs::create_directories(m_program);
    fs::copy_file(BinFolder() + L"Lumora.exe", m_program / L"Lumora.exe");
    fs::copy_file(BinFolder() + L"planted_net.exe", m_program / L"hh.exe");
    m_lumora.SetProgramFolder(m_program);
  }
  void PlaceHelpFile(const wchar_t* name) { std::ofstream(m_program / name) << "ITSF"; }
  bool PlantedViewerRan() const { return fs::exists(m_program / L"net-ran.txt"); }

  LumoraSession m_lumora;
  fs::path m_program;
};

// The program starts in the default language here (Wine takes the language
// of a started program from the test run, not from the starter), so the
// English file is the one; the choice by language is tested on its own.
TEST_F(Help, HelpFileOpensInTheViewerOfTheWindowsFolder) {
  PlaceHelpFile(L"LumoraHelp.chm");
  m_lumora.Start();
  HWND main = m_lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);

  const std::set<DWORD> before = ViewerProcesses();
  ::PostMessageW(main, WM_COMMAND, ID_HELP_HELP, 0);
  std::optional<DWORD> viewer;
  EXPECT_TRUE(WaitFor([&] { return (viewer = NewViewer(before)).has_value(); }));
  if (viewer) EndProcess(*viewer);
  EXPECT_FALSE(m_lumora.WaitForDialog(500ms).has_value());
  EXPECT_FALSE(PlantedViewerRan());
  ASSERT_TRUE(m_lumora.Close());
}

// F1 reaches the command through the accelerator table. Only the file of the
// user's language counts.
TEST_F(Help, MissingHelpFileIsReportedAndNothingStarts) {
  PlaceHelpFile(L"LumoraHelpTC.chm");
  PlaceHelpFile(L"LumoraHelpSC.chm");
  m_lumora.Start();
  HWND main = m_lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);

  const std::set<DWORD> before = ViewerProcesses();
  ::PostMessageW(main, WM_KEYDOWN, VK_F1, 0);
  const auto box = m_lumora.WaitForDialog();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"Help file not find.Please reinstall Lumora.");
  EXPECT_EQ(box->caption, L"Lumora");
  ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
  EXPECT_FALSE(WaitFor([&] { return NewViewer(before).has_value(); }, 1s));
  EXPECT_FALSE(PlantedViewerRan());
  ASSERT_TRUE(m_lumora.Close());
}

}  // namespace
}  // namespace e2e

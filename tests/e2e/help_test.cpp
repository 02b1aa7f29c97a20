// The Help command as the user meets it: the help file of the user's
// language opens in the Windows folder's help viewer; without it the
// program says so and starts nothing.
#include <windows.h>

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

// The help viewer's processes.
std::set<DWORD> ViewerProcesses() { return ProcessIds(L"hh.exe"); }
std::optional<DWORD> NewViewer(const std::set<DWORD>& before) {
  return NewProcess(L"hh.exe", before);
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

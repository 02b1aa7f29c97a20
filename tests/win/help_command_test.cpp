// The Help command: the help file of each language, the message for a
// missing file, and the exact program and command line it starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "editor/help_command.h"
#include "temp_folder.h"

namespace {

using testing_win::BoxAnswerer;
using testing_win::TempFolder;

constexpr wchar_t kMissing[] = L"Help file not find.Please reinstall Lumora.";

struct Started {
  std::wstring application;
  std::wstring commandLine;
};

class HelpCommand : public ::testing::Test {
 protected:
  // The program folder as the program keeps it: with a trailing backslash.
  std::wstring Folder() const { return m_folder.Path().wstring() + L"\\"; }
  void Place(const wchar_t* name) { std::ofstream(m_folder.Path() / name) << "ITSF"; }
  bool Show(LANGID language) {
    return editor::ShowHelp(Folder(), language, [this](const std::wstring& a, const std::wstring& c) {
      m_started.push_back({a, c});
      return true;
    });
  }
  static std::wstring Viewer() {
    wchar_t windows[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, n) + L"\\hh.exe";
  }

  TempFolder m_folder;
  std::vector<Started> m_started;
};

TEST(HelpFileName, ChineseLanguagesHaveTheirOwnFilesAndAllOthersTheEnglishOne) {
  EXPECT_STREQ(editor::HelpFileName(2052), L"LumoraHelpSC.chm");
  EXPECT_STREQ(editor::HelpFileName(1028), L"LumoraHelpTC.chm");
  EXPECT_STREQ(editor::HelpFileName(1033), L"LumoraHelp.chm");
  EXPECT_STREQ(editor::HelpFileName(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG)),
               L"LumoraHelp.chm");
  EXPECT_STREQ(editor::HelpFileName(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE)),
               L"LumoraHelp.chm");
  EXPECT_STREQ(editor::HelpFileName(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), L"LumoraHelp.chm");
}

// The Windows folder's viewer by full path, never one found by name.
TEST_F(HelpCommand, PresentFileStartsTheWindowsFoldersViewer) {
  Place(L"LumoraHelp.chm");
  Place(L"LumoraHelpTC.chm");
  Place(L"LumoraHelpSC.chm");
  for (LANGID language : {LANGID{1033}, LANGID{1028}, LANGID{2052}}) {
    m_started.clear();
    EXPECT_TRUE(Show(language));
    ASSERT_EQ(m_started.size(), 1u);
    EXPECT_EQ(m_started[0].application, Viewer());
    EXPECT_EQ(m_started[0].commandLine, L"Hh.exe " + Folder() + editor::HelpFileName(language));
  }
}

TEST_F(HelpCommand, FolderWithABlankStaysUnquoted) {
  const auto spaced = m_folder.Path() / L"Program Files";
  std::filesystem::create_directories(spaced);
  std::ofstream(spaced / L"LumoraHelp.chm") << "ITSF";
  const std::wstring folder = spaced.wstring() + L"\\";
  std::wstring line;
  EXPECT_TRUE(editor::ShowHelp(folder, 1033, [&](const std::wstring&, const std::wstring& c) {
    line = c;
    return true;
  }));
  EXPECT_EQ(line, L"Hh.exe " + folder + L"LumoraHelp.chm");
}

// Only the file of the user's language counts: the English file does not
// stand in for a missing Chinese one.
TEST_F(HelpCommand, MissingFileIsReportedAndNothingStarts) {
  Place(L"LumoraHelp.chm");
  BoxAnswerer boxes;
  EXPECT_FALSE(Show(2052));
  EXPECT_FALSE(Show(1028));
  std::filesystem::remove(m_folder.Path() / L"LumoraHelp.chm");
  EXPECT_FALSE(Show(1033));
  EXPECT_TRUE(m_started.empty());
  EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>(3, kMissing));
}

TEST(HelpStart, UnstartableProgramGivesFalse) {
  EXPECT_FALSE(editor::StartProcess(L"C:\\no such folder\\hh.exe", L"Hh.exe x.chm"));
}

}  // namespace

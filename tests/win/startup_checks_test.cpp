// The checks before start-up with a replaced screen, version query and
// message box: which question is asked, and what the answer does.
#include <gtest/gtest.h>

#include <vector>

#include "app/startup_checks.h"
#include "editor/menus.h"
#include "res/resource.h"

namespace {

struct Asked {
  std::wstring text;
  std::wstring caption;
  UINT type;
};

int g_width = 1024;
core::PlatformVersion g_version{2, 6, 7601};
int g_answer = IDYES;
std::vector<Asked> g_asked;

app::StartupEnvironment FakeEnvironment() {
  g_asked.clear();
  return {[] { return g_width; }, [] { return g_version; },
          [](const std::wstring& text, const std::wstring& caption, UINT type) {
            g_asked.push_back({text, caption, type});
            return g_answer;
          }};
}

const wchar_t kLowResolution[] =
    L"The Lumora cannot run properly at the resolution below 800x600. \nIgnore and continue?";

TEST(StartupChecks, WideScreenAndCurrentPlatformAskNothing) {
  g_width = 800;
  g_version = {2, 6, 7601};
  EXPECT_TRUE(app::PassStartupChecks(FakeEnvironment()));
  EXPECT_TRUE(g_asked.empty());
}

TEST(StartupChecks, NarrowScreenAsksAndFollowsTheAnswer) {
  g_width = 799;
  g_version = {2, 6, 7601};
  g_answer = IDNO;
  EXPECT_FALSE(app::PassStartupChecks(FakeEnvironment()));
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].text, kLowResolution);
  EXPECT_EQ(g_asked[0].caption, L"Warning!");
  EXPECT_EQ(g_asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));

  g_answer = IDYES;
  EXPECT_TRUE(app::PassStartupChecks(FakeEnvironment()));
  EXPECT_EQ(g_asked.size(), 1u);
}

TEST(StartupChecks, Windows98FirstEditionIsRefused) {
  g_width = 1024;
  g_version = {1, 4, 0x040A07CE};
  EXPECT_FALSE(app::PassStartupChecks(FakeEnvironment()));
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].text, L"The Lumora cannot run in Windows98 first edition!");
  EXPECT_EQ(g_asked[0].caption, L"Warning!");
  EXPECT_EQ(g_asked[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

  g_version = {1, 4, 0x040A08AE};  // second edition runs
  EXPECT_TRUE(app::PassStartupChecks(FakeEnvironment()));
}

TEST(StartupChecks, BothChecksOnANarrowFirstEdition) {
  g_width = 640;
  g_version = {1, 4, 0x040A07CE};
  g_answer = IDYES;
  EXPECT_FALSE(app::PassStartupChecks(FakeEnvironment()));
  EXPECT_EQ(g_asked.size(), 2u);
}

TEST(StandardMenu, FileWithExitAndHelpWithHelpAndAbout) {
  HMENU menu = LoadStandardMenu(::GetModuleHandleW(nullptr));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 2);
  HMENU file = ::GetSubMenu(menu, 0);
  HMENU help = ::GetSubMenu(menu, 1);
  ASSERT_EQ(::GetMenuItemCount(file), 1);
  EXPECT_EQ(::GetMenuItemID(file, 0), 32844u);
  ASSERT_EQ(::GetMenuItemCount(help), 2);
  EXPECT_EQ(::GetMenuItemID(help, 0), 32956u);
  EXPECT_EQ(::GetMenuItemID(help, 1), 32957u);
  wchar_t text[64];
  ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&File");
  ::GetMenuStringW(file, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"E&xit");
  ::DestroyMenu(menu);
}

// The video mode's menu: Open, Save As and Exit; Toolbar; Help.
TEST(VideoMenu, OpenSaveAsExitToolbarAndHelp) {
  HMENU menu = LoadVideoMenu(::GetModuleHandleW(nullptr));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 3);
  HMENU file = ::GetSubMenu(menu, 0);
  ASSERT_EQ(::GetMenuItemCount(file), 3);
  EXPECT_EQ(::GetMenuItemID(file, 0), static_cast<UINT>(ID_FILE_OPEN));
  EXPECT_EQ(::GetMenuItemID(file, 1), static_cast<UINT>(ID_FILE_SAVE_AS));
  EXPECT_EQ(::GetMenuItemID(file, 2), static_cast<UINT>(ID_APP_EXIT));
  HMENU view = ::GetSubMenu(menu, 1);
  ASSERT_EQ(::GetMenuItemCount(view), 1);
  EXPECT_EQ(::GetMenuItemID(view, 0), static_cast<UINT>(ID_VIEW_TOOLBAR));
  wchar_t text[64];
  ::GetMenuStringW(menu, 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Help");
  ::DestroyMenu(menu);
}

}  // namespace

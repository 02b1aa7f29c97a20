// One running copy: a second start wakes the first copy's window and ends.
#include <gtest/gtest.h>

#include "lumora_session.h"

namespace e2e {
namespace {

TEST(SingleInstance, SecondCopyEndsAndTheFirstComesBack) {
  LumoraSession first;
  first.Start();
  HWND main = first.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ::ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main) != FALSE; }));

  LumoraSession second;
  second.Start();
  ASSERT_TRUE(second.WaitForExit());
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main) && ::IsWindowVisible(main); }));
  // The second copy never wrote a settings file of its own.
  EXPECT_FALSE(std::filesystem::exists(second.SettingsFile()));
  EXPECT_TRUE(first.Close());
}

}  // namespace
}  // namespace e2e

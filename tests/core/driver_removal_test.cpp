#include "core/driver_removal.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(WindowsVersionClass, OnlyFourPlatformsAreSupported) {
  EXPECT_EQ(WindowsVersionClass(kPlatformWindows9x, 4, 10), kWindows98);
  EXPECT_EQ(WindowsVersionClass(kPlatformWindows9x, 4, 90), kWindowsMe);
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 5, 0), kWindows2000);
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 5, 1), kWindowsXp);

  EXPECT_EQ(WindowsVersionClass(kPlatformWindows9x, 4, 0), kUnsupportedWindows);  // 95
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 4, 0), kUnsupportedWindows);
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 4, 10), kUnsupportedWindows);
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 5, 2), kUnsupportedWindows);
  EXPECT_EQ(WindowsVersionClass(kPlatformNt, 6, 1), kUnsupportedWindows);
  EXPECT_EQ(WindowsVersionClass(kPlatformWindows9x, 5, 0), kUnsupportedWindows);
  EXPECT_EQ(WindowsVersionClass(0, 4, 10), kUnsupportedWindows);  // Win32s
}

}  // namespace
}  // namespace core

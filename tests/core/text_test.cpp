#include "core/text.h"

#include <climits>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(AtoiC, FollowsTheCRule) {
  EXPECT_EQ(AtoiC("30"), 30);
  EXPECT_EQ(AtoiC("  -12abc"), -12);
  EXPECT_EQ(AtoiC("+7"), 7);
  EXPECT_EQ(AtoiC(""), 0);
  EXPECT_EQ(AtoiC("x1"), 0);
  EXPECT_EQ(AtoiC("99999999999999999999"), INT_MAX);
  EXPECT_EQ(AtoiC("-99999999999999999999"), INT_MIN);
}

TEST(TextCase, OnlyAsciiLettersChange) {
  EXPECT_EQ(ToUpperAscii("bmp\xe9x"), "BMP\xe9X");
  EXPECT_EQ(ToLowerAscii("640X480"), "640x480");
  EXPECT_TRUE(EqualsNoCase("Setting", "SETTING"));
  EXPECT_FALSE(EqualsNoCase("Setting", "Settings"));
}

}  // namespace
}  // namespace core

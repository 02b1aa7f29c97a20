// The list and field rules of the capture settings dialogs.
#include "core/capture_settings.h"

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::string>;

TEST(CaptureSettingsLists, DeviceFramesWith800x600OnlyWhenOffered) {
  EXPECT_EQ(core::DeviceFrameItems(false),
            (Items{"160x120", "176x144", "320x240", "352x288", "640x480"}));
  EXPECT_EQ(core::DeviceFrameItems(true),
            (Items{"160x120", "176x144", "320x240", "352x288", "640x480", "800x600"}));
}

TEST(CaptureSettingsLists, WindowSizesGrowWithTheFrameWidth) {
  EXPECT_EQ(core::WindowItemsUpTo(160, true), (Items{"160x120"}));
  EXPECT_EQ(core::WindowItemsUpTo(176, false), (Items{"160x120", "176x144"}));
  EXPECT_EQ(core::WindowItemsUpTo(320, false), (Items{"160x120", "176x144", "320x240"}));
  EXPECT_EQ(core::WindowItemsUpTo(352, false), (Items{"160x120", "176x144", "320x240", "352x288"}));
  const Items all{"160x120", "176x144", "320x240", "352x288", "640x480"};
  EXPECT_EQ(core::WindowItemsUpTo(640, false), all);
  // 800 wide ends at 640x480, and only on a camera that has that mode.
  EXPECT_EQ(core::WindowItemsUpTo(800, true), all);
  EXPECT_TRUE(core::WindowItemsUpTo(800, false).empty());
  EXPECT_TRUE(core::WindowItemsUpTo(0, true).empty());
  EXPECT_TRUE(core::WindowItemsUpTo(161, true).empty());
}

TEST(CaptureSettingsFields, DelayUpToOneMinute) {
  EXPECT_FALSE(core::IsDelayTooLong(""));
  EXPECT_FALSE(core::IsDelayTooLong("0"));
  EXPECT_FALSE(core::IsDelayTooLong("60"));
  EXPECT_TRUE(core::IsDelayTooLong("61"));
  EXPECT_TRUE(core::IsDelayTooLong("99"));
  // Read as atoi reads it: no leading number counts as 0.
  EXPECT_FALSE(core::IsDelayTooLong("x9"));
  EXPECT_FALSE(core::IsDelayTooLong("7a0"));
}

TEST(CaptureSettingsFields, DurationArrows) {
  EXPECT_EQ(core::StepDuration("15", +1), "16");
  EXPECT_EQ(core::StepDuration("0", -1), "-1");
  EXPECT_EQ(core::StepDuration("-1", +1), "0");
  EXPECT_EQ(core::StepDuration("-5", +1), std::nullopt);
  EXPECT_EQ(core::StepDuration("", +1), "1");
}

}  // namespace

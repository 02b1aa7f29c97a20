#include "core/startup_rules.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(CaptureFrameSize, FiveWindowSizesAndNothingElse) {
  EXPECT_EQ(CaptureFrameSize("160x120"), (Size{352, 225}));
  EXPECT_EQ(CaptureFrameSize("176x144"), (Size{352, 250}));
  EXPECT_EQ(CaptureFrameSize("320x240"), (Size{352, 340}));
  EXPECT_EQ(CaptureFrameSize("352x288"), (Size{352, 390}));
  EXPECT_EQ(CaptureFrameSize("640x480"), (Size{640, 580}));
  EXPECT_EQ(CaptureFrameSize("800x600"), std::nullopt);
  EXPECT_EQ(CaptureFrameSize("352X288"), std::nullopt);
  EXPECT_EQ(CaptureFrameSize(""), std::nullopt);
}

TEST(MainFrameSize, LargeOnlyFor640x480InAnyCase) {
  EXPECT_EQ(MainFrameSize("640x480"), (Size{960, 680}));
  EXPECT_EQ(MainFrameSize("640X480"), (Size{960, 680}));
  EXPECT_EQ(MainFrameSize("352x288"), (Size{800, 600}));
  EXPECT_EQ(MainFrameSize("rubbish"), (Size{800, 600}));
}

TEST(MainFrameSize, MaximisedWhenTheScreenIsNoWider) {
  EXPECT_TRUE(ShowMainFrameMaximised(800, {800, 600}));
  EXPECT_FALSE(ShowMainFrameMaximised(801, {800, 600}));
  EXPECT_TRUE(ShowMainFrameMaximised(960, {960, 680}));
  EXPECT_FALSE(ShowMainFrameMaximised(1024, {960, 680}));
}

TEST(AlbumFramePlace, FillsTheFreeWidthBesideTheCaptureWindow) {
  // An 800 x 600 frame's client beside a 352 x 390 capture frame.
  EXPECT_EQ(AlbumFramePlace(792, 346, 540), (Rect{352, 0, 434, 477}));
}

TEST(Windows98FirstEdition, OnlyBuild1998OfThe9xFamily) {
  EXPECT_TRUE(IsWindows98FirstEdition({1, 4, 0x040A07CE}));
  EXPECT_FALSE(IsWindows98FirstEdition({1, 4, 0x040A08AE}));  // second edition, 2222
  EXPECT_FALSE(IsWindows98FirstEdition({2, 4, 0x040A07CE}));  // NT family
  EXPECT_FALSE(IsWindows98FirstEdition({1, 5, 0x040A07CE}));
  EXPECT_FALSE(IsWindows98FirstEdition({2, 6, 7601}));
}

TEST(DriverMark, ExitMaskClearsTheMarkAndTheHighBits) {
  const unsigned long installed = 0xF0000001;
  const unsigned long running = installed | kDriverInUseBit;
  EXPECT_EQ(running, 0xF0000101ul);
  EXPECT_EQ(running & kDriverExitMask, 0x00000001ul);
}

}  // namespace
}  // namespace core

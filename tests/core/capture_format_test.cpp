#include "core/capture_format.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(CaptureFormat, SizeTextIsReadAndWrittenByPosition) {
  EXPECT_EQ(FrameSizeAt("352x288"), (FrameSize{352, 288}));
  EXPECT_EQ(FrameSizeAt("640x480 extra"), (FrameSize{640, 480}));
  EXPECT_EQ(FrameSizeAt("64"), (FrameSize{64, 0}));
  EXPECT_EQ(FrameSizeAt(""), (FrameSize{0, 0}));
  EXPECT_EQ(FrameSizeText(352, 288), "352x288");
  EXPECT_EQ(FrameSizeText(80, 60), " 80x 60");
}

TEST(CaptureFormat, DeviceResolutionFollowsTheCameraFamily) {
  EXPECT_EQ(ChooseDeviceResolution("160X120", false).size, (FrameSize{160, 120}));
  EXPECT_EQ(ChooseDeviceResolution("640x480", false).size, (FrameSize{640, 480}));
  EXPECT_EQ(ChooseDeviceResolution("garbage", true).size, (FrameSize{352, 288}));
  EXPECT_EQ(ChooseDeviceResolution("", true).size, (FrameSize{352, 288}));

  const DeviceResolution big = ChooseDeviceResolution("800x600", true);
  EXPECT_EQ(big.size, (FrameSize{800, 600}));
  EXPECT_FALSE(big.rewriteTo640);
  const DeviceResolution refused = ChooseDeviceResolution("800x600", false);
  EXPECT_EQ(refused.size, (FrameSize{640, 480}));
  EXPECT_TRUE(refused.rewriteTo640);
}

TEST(CaptureFormat, DibRowsArePaddedToFourBytes) {
  EXPECT_EQ(Dib24ImageBytes(352, 288), 304128u);
  EXPECT_EQ(Dib24ImageBytes(1, 2), 8u);
  EXPECT_EQ(Dib24ImageBytes(0, 10), 0u);
  EXPECT_EQ(Dib24ImageBytes(854, 480), 2564u * 480);  // not 854 * 480 * 3
}

TEST(CaptureFormat, OnlySidesFromOneTo4096GetBuffers) {
  EXPECT_TRUE(IsUsableFrameSize(854, 480));
  EXPECT_TRUE(IsUsableFrameSize(4096, 4096));
  EXPECT_FALSE(IsUsableFrameSize(0, 480));
  EXPECT_FALSE(IsUsableFrameSize(640, -480));
  EXPECT_FALSE(IsUsableFrameSize(4097, 1));
  EXPECT_FALSE(IsUsableFrameSize(0x7FFFFFFF, 0x7FFFFFFF));
}

}  // namespace
}  // namespace core

// Snapshot enlargement: the size codes and the nearest-neighbour copy of a
// 640x480 frame to each still size, checked pixel by pixel.
#include "core/still_enlarge.h"

#include <gtest/gtest.h>

#include <vector>

namespace core {
namespace {

TEST(StillEnlarge, SizeCodesOneToThreeNameTheStillSizes) {
  EXPECT_EQ(StillSizeForCode(1), (FrameSize{800, 600}));
  EXPECT_EQ(StillSizeForCode(2), (FrameSize{1024, 768}));
  EXPECT_EQ(StillSizeForCode(3), (FrameSize{1280, 960}));
  EXPECT_FALSE(StillSizeForCode(0));
  EXPECT_FALSE(StillSizeForCode(4));
  EXPECT_FALSE(StillSizeForCode(-1));
}

// A source whose every byte tells its pixel and channel apart.
std::vector<std::uint8_t> Source(int width, int height) {
  std::vector<std::uint8_t> src(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &src[(std::size_t(y) * width + x) * 3];
      p[0] = std::uint8_t(x);
      p[1] = std::uint8_t(y);
      p[2] = std::uint8_t(x / 256 * 16 + y / 256);
    }
  return src;
}

TEST(StillEnlarge, EachStillPixelIsTheNearestSourcePixel) {
  const std::vector<std::uint8_t> src = Source(640, 480);
  for (int code = 1; code <= 3; ++code) {
    const FrameSize size = *StillSizeForCode(code);
    std::vector<std::uint8_t> dst(std::size_t(size.width) * size.height * 3);
    ASSERT_TRUE(EnlargeNearest(src.data(), src.size(), 640, 480, dst.data(), dst.size(), size.width,
                               size.height));
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) {
        const int sx = x * 640 / size.width, sy = y * 480 / size.height;
        const std::uint8_t* want = &src[(std::size_t(sy) * 640 + sx) * 3];
        const std::uint8_t* got = &dst[(std::size_t(y) * size.width + x) * 3];
        ASSERT_TRUE(want[0] == got[0] && want[1] == got[1] && want[2] == got[2])
            << size.width << "x" << size.height << " at " << x << "," << y;
      }
  }
}

TEST(StillEnlarge, ShortBuffersAndEmptySizesLeaveTheStillUntouched) {
  const std::vector<std::uint8_t> src = Source(640, 480);
  std::vector<std::uint8_t> dst(800 * 600 * 3, 0xAB);
  EXPECT_FALSE(
      EnlargeNearest(src.data(), src.size() - 1, 640, 480, dst.data(), dst.size(), 800, 600));
  EXPECT_FALSE(
      EnlargeNearest(src.data(), src.size(), 640, 480, dst.data(), dst.size() - 1, 800, 600));
  EXPECT_FALSE(EnlargeNearest(src.data(), src.size(), 0, 480, dst.data(), dst.size(), 800, 600));
  EXPECT_FALSE(EnlargeNearest(src.data(), src.size(), 640, 480, dst.data(), dst.size(), 800, -600));
  for (std::uint8_t b : dst) ASSERT_EQ(b, 0xAB);
}

}  // namespace
}  // namespace core

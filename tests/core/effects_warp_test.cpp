#include <gtest/gtest.h>

#include "core/effects/warp.h"
#include "effects_test_image.h"

namespace core::effects {
namespace {

using test::Bgr;
using test::TestImage;

Bgr From(int x, int y) { return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200}; }

// Every pixel gets its own colour, so a fetched pixel tells where it came from.
TestImage Numbered(int width, int height) {
  TestImage image(width, height);
  for (int i = 0; i < width * height; ++i)
    image.set(i % width, i / width, From(i % width, i / width));
  return image;
}

TEST(Warp, RadiusLimitIsHalfTheDiagonal) {
  EXPECT_EQ(WarpRadiusLimit(100, 100), 70);
  EXPECT_EQ(WarpRadiusLimit(800, 600), 500);
  EXPECT_EQ(WarpRadiusLimit(1, 1), 0);
}

TEST(Warp, PositiveMagnifiesNegativeShrinksCuttingTowardZero) {
  const TestImage source = Numbered(20, 20);  // centre (10, 10)
  TestImage out(20, 20);
  Warp(source.data(), out.data(), source.geometry, 8);
  EXPECT_EQ(out.at(14, 10), From(12, 10));  // k = 0.6686
  EXPECT_EQ(out.at(10, 16), From(10, 15));  // k = 0.8391
  EXPECT_EQ(out.at(13, 13), From(12, 12));  // k = 0.6910
  EXPECT_EQ(out.at(11, 10), From(10, 10));  // k = 0.3076

  Warp(source.data(), out.data(), source.geometry, -14);
  EXPECT_EQ(out.at(0, 10), (Bgr{0, 0, 0}));  // fetch at x = -1.90: black
  EXPECT_EQ(out.at(1, 10), (Bgr{0, 0, 0}));  // -1.36
  EXPECT_EQ(out.at(2, 10), From(0, 10));     // -0.79, cut to 0
  EXPECT_EQ(out.at(19, 19), From(19, 19));   // 19.36
}

TEST(Warp, CentreAndPixelsOutsideTheCircleStayForAnySize) {
  for (const auto& [w, h] :
       {std::pair{1, 1}, {1, 9}, {9, 1}, {2, 2}, {7, 5}, {100, 100}, {33, 18}}) {
    const TestImage source(w, h, static_cast<unsigned>(w * 100 + h));
    const int limit = WarpRadiusLimit(w, h);
    for (int radius : {0, limit / 2, -limit / 2, limit, -limit}) {
      TestImage out(w, h, 99);
      const TestImage before = out;
      Warp(source.data(), out.data(), source.geometry, radius);
      for (std::size_t i = 0; i < out.bytes.size(); ++i) {
        const int x = static_cast<int>(i % source.geometry.stride / 3);
        const int y = static_cast<int>(i / source.geometry.stride);
        const int r2 = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2);
        if (x >= w) {
          ASSERT_EQ(out.bytes[i], before.bytes[i]);  // row padding
        } else if (r2 >= radius * radius || r2 == 0) {
          ASSERT_EQ(out.bytes[i], source.bytes[i]) << w << "x" << h << " R " << radius;
        }
      }
    }
  }
}

}  // namespace
}  // namespace core::effects

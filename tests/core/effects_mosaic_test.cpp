#include <gtest/gtest.h>

#include "core/effects/mosaic.h"
#include "effects_test_image.h"

namespace core::effects {
namespace {

using test::Bgr;
using test::TestImage;

TEST(Mosaic, TilesStartAtTheBottomLeftAndAreCutAtTopAndRight) {
  TestImage source(10, 10);
  for (int i = 0; i < 100; ++i) {
    source.set(i % 10, i / 10,
               {static_cast<std::uint8_t>(i % 10), static_cast<std::uint8_t>(i / 10), 9});
  }
  TestImage working(10, 10, 5);
  const std::uint8_t padding = working.bytes[30];
  Mosaic(source.data(), working.data(), source.geometry, 4);
  // Tiles over columns and rows 0-3, 4-7 and 8-9; means rounded down.
  EXPECT_EQ(working.at(0, 0), (Bgr{1, 1, 9}));
  EXPECT_EQ(working.at(3, 3), (Bgr{1, 1, 9}));
  EXPECT_EQ(working.at(4, 0), (Bgr{5, 1, 9}));
  EXPECT_EQ(working.at(9, 0), (Bgr{8, 1, 9}));  // 2 x 4 at the right
  EXPECT_EQ(working.at(5, 9), (Bgr{5, 8, 9}));  // 4 x 2 in the top rows
  EXPECT_EQ(working.at(8, 8), (Bgr{8, 8, 9}));  // the 2 x 2 corner
  EXPECT_EQ(working.bytes[30], padding);
}

TEST(Mosaic, MeansRoundDownAndTheWorkingImageDoesNotMatter) {
  TestImage source(2, 1);
  source.set(0, 0, {1, 0, 255});
  source.set(1, 0, {2, 1, 254});
  TestImage working = source;
  Mosaic(source.data(), working.data(), source.geometry, 2);
  EXPECT_EQ(working.at(1, 0), (Bgr{1, 0, 254}));

  const TestImage random(13, 7, 5);
  for (int tile : {1, 3, 64}) {
    TestImage a(13, 7, 6), b(13, 7, 9);
    Mosaic(random.data(), a.data(), random.geometry, tile);
    Mosaic(random.data(), b.data(), random.geometry, tile);
    for (int i = 0; i < 13 * 7; ++i) ASSERT_EQ(a.at(i % 13, i / 13), b.at(i % 13, i / 13));
    if (tile == 1) {
      EXPECT_EQ(a.at(12, 6), random.at(12, 6));
    }
  }
}

}  // namespace
}  // namespace core::effects

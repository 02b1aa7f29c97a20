#include <gtest/gtest.h>

#include <array>

#include "core/effects/image_layout.h"
#include "core/effects/preview_rect.h"

namespace core::effects {
namespace {

TEST(PackedLayout, PaddedRowsAndAZeroImageSizeFilledIn) {
  const auto layout = LayoutOf(40, 3, 2, 0);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->geometry.stride, 12u);
  EXPECT_EQ(layout->imageSize, 24u);
  EXPECT_EQ(layout->byteCount, 64u);
  EXPECT_EQ(LayoutOf(124, 4, 1, 100)->byteCount, 224u);  // a larger stated size is kept
  EXPECT_EQ(LayoutOf(40, 0, 0, 0)->byteCount, 40u);
}

TEST(PackedLayout, RefusesFieldsThatWouldReadPastTheImage) {
  EXPECT_FALSE(LayoutOf(40, 3, 2, 23));  // the rows need 24 bytes
  EXPECT_FALSE(LayoutOf(39, 3, 2, 0));
  EXPECT_FALSE(LayoutOf(40, -3, 2, 0));
  EXPECT_FALSE(LayoutOf(40, 3, -2, 0));  // top-down rows
  EXPECT_FALSE(LayoutOf(40, 0x7FFFFFFF, 2, 0));
  EXPECT_FALSE(LayoutOf(40, 1, 1, 0xFFFFFFF0));  // header and pixels beyond 32 bits
}

std::array<int, 4> Place(int width, int height) {
  const PreviewRect r = PlacePreview(width, height);
  return {r.left, r.top, r.right, r.bottom};
}

TEST(PreviewPlacement, KeepsTheProportionsAndCentres) {
  EXPECT_EQ(Place(360, 135), (std::array{7, 41, 187, 108}));  // 180 x 67
  EXPECT_EQ(Place(135, 135), (std::array{29, 7, 164, 142}));
  EXPECT_EQ(Place(800, 600), (std::array{7, 7, 187, 142}));
  EXPECT_EQ(Place(1, 1000), (std::array{97, 7, 97, 142}));
  EXPECT_EQ(Place(0, 0), (std::array{7, 7, 7, 7}));
}

}  // namespace
}  // namespace core::effects

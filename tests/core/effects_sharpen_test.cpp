#include <gtest/gtest.h>

#include <limits>

#include "core/effects/sharpen.h"
#include "effects_test_image.h"

namespace core::effects {
namespace {

using test::Bgr;
using test::TestImage;

TEST(Sharpen, DefaultKernelKeepsFlatAreasAndStrengthensEdges) {
  TestImage base(6, 3);
  for (int i = 0; i < 18; ++i) {
    const std::uint8_t v = i % 6 < 3 ? 10 : 50;
    base.set(i % 6, i / 6, {v, v, v});
  }
  TestImage working = base;
  Sharpen(base.data(), working.data(), base.geometry, Channel::Rgb, kDefaultKernel);
  EXPECT_EQ(working.at(1, 1), (Bgr{10, 10, 10}));  // flat: 5 - 4 = 1 times the value
  EXPECT_EQ(working.at(2, 1), (Bgr{0, 0, 0}));     // 50 - 80 held to 0
  EXPECT_EQ(working.at(3, 1), (Bgr{90, 90, 90}));  // 250 - 160
  EXPECT_EQ(working.at(4, 1), (Bgr{50, 50, 50}));
}

TEST(Sharpen, IdentityCopiesTheInnerPixelsOfTheChosenChannelOnly) {
  const Kernel identity{0, 0, 0, 0, 1, 0, 0, 0, 0};
  const TestImage base(7, 5, 1);
  for (Channel channel : {Channel::Rgb, Channel::Green}) {
    TestImage working(7, 5, 2);
    const TestImage before = working;
    Sharpen(base.data(), working.data(), base.geometry, channel, identity);
    const auto bytes = BytesOf(channel);
    for (std::size_t i = 0; i < working.bytes.size(); ++i) {
      const std::size_t x = i % base.geometry.stride / 3, y = i / base.geometry.stride;
      const bool inner = x > 0 && x < 6 && y > 0 && y < 4 && bytes[i % base.geometry.stride % 3];
      ASSERT_EQ(working.bytes[i], inner ? base.bytes[i] : before.bytes[i]) << i;
    }
  }
  for (int size : {1, 2}) {  // too narrow or too low: nothing to do
    const TestImage thin(size, 5, 3), flat(5, size, 3);
    TestImage a = thin, b = flat;
    Sharpen(thin.data(), a.data(), thin.geometry, Channel::Rgb, Kernel{});
    Sharpen(flat.data(), b.data(), flat.geometry, Channel::Rgb, Kernel{});
    EXPECT_EQ(a.bytes, thin.bytes);
    EXPECT_EQ(b.bytes, flat.bytes);
  }
}

TEST(Sharpen, KernelOrderFollowsTheStoredRows) {
  TestImage base(3, 3);
  for (int i = 0; i < 9; ++i)
    base.set(i % 3, i / 3, {static_cast<std::uint8_t>(10 * (i / 3) + i % 3), 0, 0});
  const std::uint8_t expected[] = {0, 1, 2, 10, 11, 12, 20, 21, 22};  // c0 takes (x-1, y-1)
  for (std::size_t k = 0; k < 9; ++k) {
    Kernel kernel{};
    kernel[k] = 1;
    TestImage working = base;
    Sharpen(base.data(), working.data(), base.geometry, Channel::Blue, kernel);
    EXPECT_EQ(working.at(1, 1).b, expected[k]) << "c" << k;
  }
}

TEST(Sharpen, HugeCoefficientsWrapLike32BitRegisters) {
  TestImage base(3, 3);
  for (std::uint8_t& b : base.bytes) b = 1;
  TestImage working = base;
  Kernel huge;
  huge.fill(std::numeric_limits<std::int32_t>::max());
  Sharpen(base.data(), working.data(), base.geometry, Channel::Rgb, huge);
  EXPECT_EQ(working.at(1, 1), (Bgr{255, 255, 255}));  // 9 x (2^31 - 1) wraps to 2^31 - 9
  huge[4] = 7;                                        // 8 x (2^31 - 1) + 7 wraps to -1
  Sharpen(base.data(), working.data(), base.geometry, Channel::Rgb, huge);
  EXPECT_EQ(working.at(1, 1), (Bgr{0, 0, 0}));
}

}  // namespace
}  // namespace core::effects

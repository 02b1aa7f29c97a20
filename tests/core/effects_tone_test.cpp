#include <gtest/gtest.h>

#include "core/effects/channel.h"
#include "core/effects/tone_maps.h"
#include "effects_test_image.h"

namespace core::effects {
namespace {

using test::Bgr;
using test::TestImage;

TEST(MeanLevel, AllBytesOrOneChannelOverThreeTimesThePixels) {
  TestImage image(3, 2, 1);  // random padding must not count
  for (int i = 0; i < 6; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    image.set(i % 3, i / 3,
              {static_cast<std::uint8_t>(10 + v), static_cast<std::uint8_t>(20 + v),
               static_cast<std::uint8_t>(90 + v)});
  }
  // (75 + 135 + 555) / 18 = 42.5
  EXPECT_EQ(MeanLevel(image.data(), image.geometry, Channel::Rgb), 42u);
  EXPECT_EQ(MeanLevel(image.data(), image.geometry, Channel::Blue), 75u / 18);
  EXPECT_EQ(MeanLevel(image.data(), image.geometry, Channel::Red), 555u / 18);
  EXPECT_EQ(MeanLevel(image.data(), TestImage(0, 5).geometry, Channel::Rgb), 0u);
}

TEST(Brightness, FactorIsAThirtyTwoBitFloat) {
  const ByteMap map = BrightnessMap(255, 100);  // 2.55f lies just below 2.55
  EXPECT_EQ(map[100], 254);
  EXPECT_EQ(map[50], 127);
  EXPECT_EQ(map[200], 255);
  EXPECT_EQ(BrightnessMap(200, 77)[77], 199);  // 200 / 77 rounded down as a float
  for (unsigned level = 1; level < 256; ++level) {
    const ByteMap same = BrightnessMap(static_cast<int>(level), level);
    for (int b = 0; b < 256; ++b) ASSERT_EQ(same[b], b) << "level " << level;
  }
}

// A black picture has a level of 0; a map made for it anyway (the dialog
// itself applies nothing then) keeps black black, by defined arithmetic
// (0 x infinity is no number; the fuzz target's seed "level_zero" holds it).
TEST(Brightness, ALevelOfZeroKeepsBlackBlack) {
  for (int position : {0, 7, 255}) {
    const ByteMap map = BrightnessMap(position, 0);
    EXPECT_EQ(map[0], 0) << position;
  }
}

TEST(Brightness, OneChannelWithALevelOfAThirdOfItsMean) {
  TestImage image(2, 2, 3);
  const std::uint8_t reds[] = {60, 80, 100, 120};  // mean 90
  for (int i = 0; i < 4; ++i) image.set(i % 2, i / 2, {7, 8, reds[i]});
  const unsigned level = MeanLevel(image.data(), image.geometry, Channel::Red);
  ASSERT_EQ(level, 30u);
  TestImage working(2, 2, 4);
  const TestImage before = working;
  ApplyByteMap(image.data(), working.data(), image.geometry, Channel::Red,
               BrightnessMap(60, level));
  for (int i = 0; i < 4; ++i) {
    const Bgr old = before.at(i % 2, i / 2);
    EXPECT_EQ(working.at(i % 2, i / 2),
              (Bgr{old.b, old.g, static_cast<std::uint8_t>(2 * reds[i])}));
  }
  EXPECT_EQ(working.bytes[6], before.bytes[6]);  // row padding
}

TEST(Contrast, FortyFiveIsNoChangeZeroIsFlatNinetySaturates) {
  for (unsigned level = 1; level < 255; ++level) {
    const ByteMap same = ContrastMap(45, level), flat = ContrastMap(0, level),
                  steep = ContrastMap(90, level);
    for (unsigned b = 0; b < 256; ++b) {
      ASSERT_EQ(same[b], b) << level;
      ASSERT_EQ(flat[b], level) << level;
      if (b != level) {
        ASSERT_EQ(steep[b], b > level ? 255 : 0) << level << " " << b;
      }
    }
  }
}

TEST(Contrast, SlopeAndOffsetAreRoundedToFloats) {
  // s = 1.7320507764816284f, o = -73.205078125f: 100 lands just below 100.
  const ByteMap steep = ContrastMap(60, 100);
  EXPECT_EQ(steep[50], 13);
  EXPECT_EQ(steep[100], 99);
  EXPECT_EQ(steep[101], 101);
  EXPECT_EQ(steep[150], 186);
  // s = 0.5773502588272095f, o = 42.26497268676758f.
  const ByteMap gentle = ContrastMap(30, 100);
  EXPECT_EQ(gentle[0], 42);
  EXPECT_EQ(gentle[150], 128);
  EXPECT_EQ(gentle[255], 189);
  EXPECT_EQ(ContrastMap(89, 100)[99], 42);
}

}  // namespace
}  // namespace core::effects

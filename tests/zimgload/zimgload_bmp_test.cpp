// ZImgLoad.dll with bitmap files: what format 0 writes, byte for byte, for
// each kind of bitmap it reads, and the files it refuses.
#include <gtest/gtest.h>

#include "zimg_support.h"

namespace {

using zimg_test::BmpSpec;
using zimg_test::Bytes;
using zimg_test::Library;

class ZImgBmpTest : public ::testing::Test {
 protected:
  // Format 0 output of a bitmap file with these bytes; empty when the
  // library refuses the input or the save fails.
  Bytes Convert(const Bytes& input) {
    const auto in = m_folder.Path() / L"in.bmp";
    const auto out = m_folder.Path() / L"out.bmp";
    zimg_test::WriteBytes(in, input);
    void* picture = Library::Load(in);
    if (!picture || !Library::Save(picture, out, kZImgBmp)) return {};
    return zimg_test::ReadBytes(out);
  }

  testing_win::TempFolder m_folder;
};

TEST_F(ZImgBmpTest, WritesTheFileAndInformationHeadersFieldByField) {
  BmpSpec spec{3, 2, 24, 0, 0, {}, {}};
  for (std::uint8_t i = 0; i < 24; ++i) spec.rows.push_back(i < 9 || (i >= 12 && i < 21) ? i + 1 : 0);
  const Bytes expected = {
      'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,  // size, width, height, planes, bits
      0, 0, 0, 0, 24, 0, 0, 0,                           // uncompressed, image bytes
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    // resolution, colours
      1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,                // bottom row, padded
      13, 14, 15, 16, 17, 18, 19, 20, 21, 0, 0, 0,       // top row, padded
  };
  EXPECT_EQ(Convert(zimg_test::BuildBmp(spec)), expected);
}

TEST_F(ZImgBmpTest, KeepsEveryPixelAndZeroesThePaddingForEachRowLength) {
  for (int width : {1, 2, 3, 4, 5, 7, 33}) {
    SCOPED_TRACE(width);
    const Bytes clean = zimg_test::BuildBmp(zimg_test::PatternBmp(width, 5));
    Bytes expected = clean;
    expected[38] = expected[39] = expected[42] = expected[43] = 0;  // resolution is not kept
    EXPECT_EQ(Convert(zimg_test::BuildBmp(zimg_test::PatternBmp(width, 5, 0xEE))), expected);
  }
}

TEST_F(ZImgBmpTest, OtherKindsOfBitmapBecomeTheSame24BitBottomUpFile) {
  // A 3 x 2 picture: top row blue, green, red; bottom row white, black, grey.
  const Bytes bottomUp24 = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0,
                            255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  const Bytes expected = Convert(zimg_test::BuildBmp({3, 2, 24, 0, 0, {}, bottomUp24}));
  ASSERT_FALSE(expected.empty());

  const Bytes topDown24 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,
                           255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0};
  EXPECT_EQ(Convert(zimg_test::BuildBmp({3, -2, 24, 0, 0, {}, topDown24})), expected) << "top-down 24-bit";

  const Bytes rows32 = {255, 255, 255, 9, 0, 0, 0, 9, 128, 128, 128, 9,
                        255, 0, 0, 9, 0, 255, 0, 9, 0, 0, 255, 9};
  EXPECT_EQ(Convert(zimg_test::BuildBmp({3, 2, 32, 0, 0, {}, rows32})), expected) << "32-bit";
  Bytes masks;
  zimg_test::PutU32(masks, 0xFF0000);
  zimg_test::PutU32(masks, 0xFF00);
  zimg_test::PutU32(masks, 0xFF);
  EXPECT_EQ(Convert(zimg_test::BuildBmp({3, 2, 32, 3, 0, masks, rows32})), expected)
      << "32-bit with bit fields";

  // Colour table: 0 blue, 1 green, 2 red, 3 white, 4 black, 5 grey.
  const Bytes palette = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0,
                         255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0};
  EXPECT_EQ(Convert(zimg_test::BuildBmp({3, 2, 8, 0, 6, palette, {3, 4, 5, 0, 0, 1, 2, 0}})),
            expected)
      << "8-bit";
  Bytes palette16 = palette;
  palette16.resize(16 * 4, 0);
  EXPECT_EQ(Convert(zimg_test::BuildBmp({3, 2, 4, 0, 0, palette16, {0x34, 0x50, 0, 0, 0x01, 0x20, 0, 0}})),
            expected)
      << "4-bit";
}

TEST_F(ZImgBmpTest, RefusesFilesThatDoNotHoldWhatTheirHeadersSay) {
  const Bytes good = zimg_test::BuildBmp(zimg_test::PatternBmp(5, 4));
  auto with = [&](std::size_t at, std::uint32_t value) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
  };
  auto with16 = [&](std::size_t at, std::uint16_t value) {
    Bytes b = good;
    b[at] = static_cast<std::uint8_t>(value);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
    return b;
  };
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"signature only", {'B', 'M'}},
      {"header cut short", Bytes(good.begin(), good.begin() + 40)},
      {"last pixel byte missing", Bytes(good.begin(), good.end() - 1)},
      {"pixel offset past the end", with(10, 100000)},
      {"pixel offset inside the header", with(10, 20)},
      {"header size 12", with(14, 12)},
      {"header size past the end", with(14, 4000)},
      {"width 0", with(18, 0)},
      {"negative width", with(18, 0xFFFFFFFB)},
      {"height 0", with(22, 0)},
      {"lowest height", with(22, 0x80000000)},
      {"width times height overflows", with(22, 0x7FFFFFFF)},
      {"absurd width", with(18, 0x7FFFFFFF)},
      {"run-length compression", with(30, 1)},
      {"16 bits per pixel", with16(28, 16)},
      {"0 bits per pixel", with16(28, 0)},
  };
  for (const auto& [name, bytes] : cases) EXPECT_TRUE(Convert(bytes).empty()) << name;

  const Bytes eightBit = zimg_test::BuildBmp({2, 1, 8, 0, 300, Bytes(1200, 0), {0, 0, 0, 0}});
  EXPECT_TRUE(Convert(eightBit).empty()) << "colour table beyond 256 entries";
  Bytes masks;
  zimg_test::PutU32(masks, 0xF800);
  zimg_test::PutU32(masks, 0x7E0);
  zimg_test::PutU32(masks, 0x1F);
  EXPECT_TRUE(Convert(zimg_test::BuildBmp({1, 1, 32, 3, 0, masks, {1, 2, 3, 4}})).empty())
      << "32-bit with other bit fields";
}

TEST_F(ZImgBmpTest, EveryTruncationOfAFileIsRefused) {
  const Bytes good = zimg_test::BuildBmp(zimg_test::PatternBmp(7, 3));
  for (std::size_t size = 0; size < good.size(); ++size)
    EXPECT_TRUE(Convert(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))).empty())
        << size;
}

TEST_F(ZImgBmpTest, PaletteIndicesBeyondTheTableReadAsBlack) {
  // Two colours in the table, index 7 used.
  const Bytes palette = {10, 20, 30, 0, 40, 50, 60, 0};
  const Bytes out = Convert(zimg_test::BuildBmp({2, 1, 8, 0, 2, palette, {1, 7, 0, 0}}));
  ASSERT_EQ(out.size(), 62u);
  EXPECT_EQ(Bytes(out.begin() + 54, out.end()), (Bytes{40, 50, 60, 0, 0, 0, 0, 0}));
}

}  // namespace

#include "core/dib_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace core {
namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An info header with the given fields, followed by `tail` bytes.
std::vector<std::uint8_t> Dib(std::int32_t w, std::int32_t h, int bits, std::uint32_t used,
                              std::size_t tail, std::uint32_t compression = 0) {
  std::vector<std::uint8_t> b(40 + tail, 0);
  Put32(b, 0, 40);
  Put32(b, 4, static_cast<std::uint32_t>(w));
  Put32(b, 8, static_cast<std::uint32_t>(h));
  b[12] = 1;
  b[14] = static_cast<std::uint8_t>(bits);
  Put32(b, 16, compression);
  Put32(b, 32, used);
  return b;
}

TEST(DibCheck, AcceptsWholeBitmaps) {
  auto b = Dib(3, 2, 24, 0, 2 * 12);  // rows of 9 bytes padded to 12
  auto l = CheckDib(b.data(), b.size());
  ASSERT_TRUE(l);
  EXPECT_EQ(l->pixelOffset, 40u);
  EXPECT_EQ(l->pixelBytes, 24u);
  auto p = Dib(8, -4, 8, 16, 16 * 4 + 4 * 8);  // top-down, 16 colours
  l = CheckDib(p.data(), p.size());
  ASSERT_TRUE(l);
  EXPECT_EQ(l->height, 4);
  EXPECT_EQ(l->colours, 16u);
  EXPECT_EQ(l->pixelOffset, 40u + 64u);
  auto m = Dib(1, 1, 1, 0, 8 + 4);
  ASSERT_TRUE(CheckDib(m.data(), m.size()));
  auto f = Dib(2, 2, 32, 0, 12 + 16, 3);  // bit-field masks after the header
  l = CheckDib(f.data(), f.size());
  ASSERT_TRUE(l);
  EXPECT_EQ(l->pixelOffset, 52u);
}

TEST(DibCheck, RefusesTruncatedAndMalformedBitmaps) {
  auto b = Dib(3, 2, 24, 0, 2 * 12 - 1);
  EXPECT_FALSE(CheckDib(b.data(), b.size()));  // one byte short
  EXPECT_FALSE(CheckDib(b.data(), 39));        // no whole header
  EXPECT_FALSE(CheckDib(nullptr, 100));
  auto w = Dib(0, 2, 24, 0, 100);
  EXPECT_FALSE(CheckDib(w.data(), w.size()));  // no width
  auto huge = Dib(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 100);
  EXPECT_FALSE(CheckDib(huge.data(), huge.size()));  // sizes that overflow
  auto odd = Dib(2, 2, 7, 0, 100);
  EXPECT_FALSE(CheckDib(odd.data(), odd.size()));  // no such depth
  auto many = Dib(2, 2, 8, 300, 2000);
  EXPECT_FALSE(CheckDib(many.data(), many.size()));  // more colours than 8 bits hold
  auto rle = Dib(2, 2, 8, 0, 2000, 1);
  EXPECT_FALSE(CheckDib(rle.data(), rle.size()));  // compressed rows are not drawn
  auto big = Dib(2, 2, 24, 0, 100);
  Put32(big, 0, 4000);
  EXPECT_FALSE(CheckDib(big.data(), big.size()));  // header larger than the data
}

TEST(DibCheck, ClipThumbnailSkipsFillerFrames) {
  const std::uint8_t filler[] = {0x00, 0xFF, 0x00, 0xFF, 0x12};
  const std::uint8_t real[] = {0x00, 0xFF, 0x00, 0xFE};
  EXPECT_TRUE(IsFillerFrame(filler, sizeof filler));
  EXPECT_FALSE(IsFillerFrame(real, sizeof real));
  EXPECT_FALSE(IsFillerFrame(filler, 3));
  EXPECT_EQ(ThumbnailFrame([](int i) { return i < 7; }), 7);
  EXPECT_EQ(ThumbnailFrame([](int) { return true; }), 90);
  EXPECT_EQ(ThumbnailFrame([](int) { return false; }), 0);
}

}  // namespace
}  // namespace core

#include "core/jpeg_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {

using core::JpegDeclaredSize;
using core::PictureSize;
using Bytes = std::vector<std::uint8_t>;

// A segment: marker and big-endian length (which counts itself) and body.
Bytes Segment(std::uint8_t marker, const Bytes& body) {
  const std::size_t length = body.size() + 2;
  Bytes out(4 + body.size());
  out[0] = 0xFF;
  out[1] = marker;
  out[2] = static_cast<std::uint8_t>(length >> 8);
  out[3] = static_cast<std::uint8_t>(length);
  std::copy(body.begin(), body.end(), out.begin() + 4);
  return out;
}

// A frame header's body: 8-bit precision, height, width, one component.
Bytes Frame(int width, int height) {
  return {8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
          static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 1, 1, 0x11, 0};
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out(2);
  out[0] = 0xFF;
  out[1] = 0xD8;
  for (const Bytes& p : parts) std::copy(p.begin(), p.end(), std::back_inserter(out));
  return out;
}

std::optional<PictureSize> SizeOf(const Bytes& b) { return JpegDeclaredSize(b.data(), b.size()); }

TEST(JpegHeader, TheFrameHeaderBehindOtherSegmentsGivesTheSize) {
  const Bytes app0 = Segment(0xE0, Bytes(14, 'J'));
  const Bytes table = Segment(0xDB, Bytes(65, 1));
  const Bytes huffman = Segment(0xC4, Bytes(20, 2));  // in the SOF range, yet no frame header
  EXPECT_EQ(SizeOf(Join({app0, table, huffman, Segment(0xC0, Frame(20000, 20000))})), (PictureSize{20000, 20000}));
  EXPECT_EQ(SizeOf(Join({app0, Segment(0xC2, Frame(640, 480))})), (PictureSize{640, 480}));  // progressive
  // Fill bytes before a marker, and markers without a length.
  Bytes padded = Join({app0, {0xFF, 0xD0, 0xFF}, Segment(0xC1, Frame(3, 2))});
  EXPECT_EQ(SizeOf(padded), (PictureSize{3, 2}));
}

TEST(JpegHeader, BytesWithoutAWholeFrameHeaderGiveNothing) {
  const Bytes whole = Join({Segment(0xE0, Bytes(14, 'J')), Segment(0xC0, Frame(16, 16))});
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(JpegDeclaredSize(whole.data(), cut).has_value()) << cut;
  }
  EXPECT_FALSE(JpegDeclaredSize(nullptr, 0).has_value());
  EXPECT_FALSE(SizeOf({'B', 'M', 0, 0, 0, 0}).has_value());
  EXPECT_FALSE(SizeOf(Join({Segment(0xDA, Bytes(10, 0)), Segment(0xC0, Frame(8, 8))})).has_value());
  EXPECT_FALSE(SizeOf(Join({{0xFF, 0xD9}, Segment(0xC0, Frame(8, 8))})).has_value());
  EXPECT_FALSE(SizeOf(Join({{0xFF, 0xE0, 0x00, 0x01}, Segment(0xC0, Frame(8, 8))})).has_value());  // length 1
  EXPECT_FALSE(SizeOf(Join({{0x00}, Segment(0xC0, Frame(8, 8))})).has_value());  // no marker
  EXPECT_FALSE(SizeOf(Join({Segment(0xC0, {8, 0, 8})})).has_value());            // too short a frame
}

TEST(JpegHeader, LoadableSizesKeepTheImageLibrarysLimits) {
  EXPECT_TRUE(core::IsLoadablePictureSize({1, 1}));
  EXPECT_TRUE(core::IsLoadablePictureSize({9458, 9458}));
  EXPECT_FALSE(core::IsLoadablePictureSize({9459, 9459}));  // 256 MB and a few bytes of rows
  EXPECT_TRUE(core::IsLoadablePictureSize({65535, 1365}));
  EXPECT_FALSE(core::IsLoadablePictureSize({65535, 1366}));
  EXPECT_FALSE(core::IsLoadablePictureSize({20000, 20000}));
  EXPECT_FALSE(core::IsLoadablePictureSize({0, 480}));
  EXPECT_FALSE(core::IsLoadablePictureSize({640, 0}));
  EXPECT_FALSE(core::IsLoadablePictureSize({65536, 1}));
}

}  // namespace

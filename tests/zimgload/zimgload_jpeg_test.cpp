// ZImgLoad.dll with JPEG files: what format 1 writes, files made by another
// encoder, and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "zimg_support.h"

namespace {

using zimg_test::Bytes;
using zimg_test::Library;

// The quantisation tables of a JPEG file by table id, in file order.
std::vector<Bytes> QuantisationTables(const Bytes& jpeg) {
  std::vector<Bytes> tables(4);
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
    const std::size_t length = jpeg[at + 2] << 8 | jpeg[at + 3];
    if (jpeg[at + 1] == 0xDB) {
      for (std::size_t t = at + 4; t + 65 <= at + 2 + length; t += 65) {
        if ((jpeg[t] >> 4) == 0) tables[jpeg[t] & 3].assign(jpeg.begin() + t + 1, jpeg.begin() + t + 65);
      }
    }
    at += 2 + length;
  }
  return tables;
}

class ZImgJpegTest : public ::testing::Test {
 protected:
  std::filesystem::path File(const wchar_t* name) const { return m_folder.Path() / name; }

  // The JPEG that format 1 writes for a bitmap file.
  Bytes EncodeBmp(const Bytes& bmp) {
    zimg_test::WriteBytes(File(L"source.bmp"), bmp);
    void* picture = Library::Load(File(L"source.bmp"));
    if (!picture || !Library::Save(picture, File(L"out.jpg"), kZImgJpeg)) return {};
    return zimg_test::ReadBytes(File(L"out.jpg"));
  }

  // The format 0 file of a JPEG file; empty when refused.
  Bytes DecodeFile(const std::filesystem::path& jpeg) {
    void* picture = Library::Load(jpeg);
    if (!picture || !Library::Save(picture, File(L"decoded.bmp"), kZImgBmp)) return {};
    return zimg_test::ReadBytes(File(L"decoded.bmp"));
  }
  Bytes Decode(const Bytes& jpeg) {
    zimg_test::WriteBytes(File(L"in.jpg"), jpeg);
    return DecodeFile(File(L"in.jpg"));
  }

  testing_win::TempFolder m_folder;
};

TEST_F(ZImgJpegTest, WrittenFileReadsBackCloseToTheOriginal) {
  for (auto [width, height] : {std::pair{64, 48}, std::pair{61, 37}}) {
    SCOPED_TRACE(width);
    const Bytes bmp = zimg_test::BuildBmp(zimg_test::PatternBmp(width, height));
    const Bytes jpeg = EncodeBmp(bmp);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const Bytes back = Decode(jpeg);
    ASSERT_EQ(back.size(), bmp.size());
    long total = 0;
    int worst = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
          const int d = std::abs(zimg_test::PixelOf(back, x, y)[c] - zimg_test::PixelOf(bmp, x, y)[c]);
          total += d;
          worst = std::max(worst, d);
        }
      }
    }
    EXPECT_LE(total / (width * height * 3), 2);
    EXPECT_LE(worst, 24);
  }
}

TEST_F(ZImgJpegTest, WritesAtQuality90) {
  const Bytes jpeg = EncodeBmp(zimg_test::BuildBmp(zimg_test::PatternBmp(16, 16)));
  const std::vector<Bytes> tables = QuantisationTables(jpeg);
  ASSERT_EQ(tables[0].size(), 64u);
  ASSERT_EQ(tables[1].size(), 64u);
  // The standard tables scaled to quality 90 (a fifth): luminance 16 and 121
  // become 3 and 24, chrominance 17 and 99 become 3 and 20; quality 75 would
  // give 8 and 61, 9 and 50.
  EXPECT_EQ(tables[0][0], 3);
  EXPECT_EQ(*std::max_element(tables[0].begin(), tables[0].end()), 24);
  EXPECT_EQ(tables[1][0], 3);
  EXPECT_EQ(*std::max_element(tables[1].begin(), tables[1].end()), 20);
}

TEST_F(ZImgJpegTest, ReadsFilesOfAnotherEncoder) {
  // 48 x 32 files written by ImageMagick: red, green, blue and white
  // quadrants; the greyscale one holds their luma, the CMYK one (with Adobe's
  // inverted inks) their colours again.
  struct Case {
    const wchar_t* file;
    std::uint8_t quadrants[4][3];  // blue, green, red at the centre of each
  };
  const Case cases[] = {
      {L"quadrants.jpg", {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}}},
      {L"quadrants_progressive.jpg", {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}}},
      {L"quadrants_grey.jpg", {{54, 54, 54}, {182, 182, 182}, {18, 18, 18}, {255, 255, 255}}},
      {L"quadrants_cmyk.jpg", {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}}},
  };
  const int centres[4][2] = {{12, 8}, {36, 8}, {12, 24}, {36, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
    const Bytes bmp = DecodeFile(zimg_test::DataFile(c.file));
    ASSERT_EQ(bmp.size(), 54u + 144u * 32u);
    for (int q = 0; q < 4; ++q) {
      const std::uint8_t* pixel = zimg_test::PixelOf(bmp, centres[q][0], centres[q][1]);
      for (int ch = 0; ch < 3; ++ch) EXPECT_NEAR(pixel[ch], c.quadrants[q][ch], 4) << q << ' ' << ch;
    }
  }
}

TEST_F(ZImgJpegTest, RefusesDamagedFiles) {
  const Bytes good = EncodeBmp(zimg_test::BuildBmp(zimg_test::PatternBmp(40, 30)));
  ASSERT_FALSE(good.empty());
  ASSERT_FALSE(Decode(good).empty());

  // Cut anywhere, the file no longer reads.
  for (std::size_t size = 0; size < good.size(); size += 7)
    EXPECT_TRUE(Decode(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))).empty()) << size;

  // The frame header (FF C0) with other sizes.
  const std::uint8_t frameMarker[] = {0xFF, 0xC0};
  const auto sof = std::search(good.begin(), good.end(), std::begin(frameMarker), std::end(frameMarker));
  ASSERT_NE(sof, good.end());
  const std::size_t size = static_cast<std::size_t>(sof - good.begin()) + 5;
  auto sized = [&](unsigned width, unsigned height) {
    Bytes b = good;
    b[size] = static_cast<std::uint8_t>(height >> 8);
    b[size + 1] = static_cast<std::uint8_t>(height);
    b[size + 2] = static_cast<std::uint8_t>(width >> 8);
    b[size + 3] = static_cast<std::uint8_t>(width);
    return b;
  };
  EXPECT_TRUE(Decode(sized(0, 30)).empty()) << "width 0";
  EXPECT_TRUE(Decode(sized(65000, 65000)).empty()) << "a picture of 12 GB";

  EXPECT_TRUE(Decode({0xFF, 0xD8, 'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'}).empty());
}

}  // namespace

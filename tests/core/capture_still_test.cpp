// Captured stills: file names, the I420 conversion, the window layouts and
// the root the free-space check measures.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "core/capture_layout.h"
#include "core/capture_naming.h"
#include "core/i420.h"
#include "core/path_root.h"

namespace core {
namespace {

TEST(CaptureNaming, TakesTheFirstFreeNumber) {
  std::set<std::wstring> files;
  auto exists = [&](const std::wstring& name) { return files.count(name) != 0; };
  EXPECT_EQ(FirstFreeCaptureName(L"C:\\album", L".BMP", exists), L"C:\\album\\P0000001.BMP");

  files = {L"C:\\album\\P0000001.JPG", L"C:\\album\\P0000003.JPG"};
  EXPECT_EQ(FirstFreeCaptureName(L"C:\\album", L".JPG", exists), L"C:\\album\\P0000002.JPG");
  // Another extension does not take the number.
  EXPECT_EQ(FirstFreeCaptureName(L"C:\\album", L".AVI", exists), L"C:\\album\\P0000001.AVI");
}

TEST(CaptureNaming, GivesUpWhenEveryNumberIsTaken) {
  std::vector<std::wstring> asked;
  auto allTaken = [&](const std::wstring& name) { return asked.push_back(name), true; };
  EXPECT_EQ(FirstFreeCaptureName(L"D:\\x", L".BMP", allTaken, 12), L"");
  ASSERT_EQ(asked.size(), 12u);
  EXPECT_EQ(asked.back(), L"D:\\x\\P0000012.BMP");
}

// A frame of width x height with every Y, U and V sample given.
struct I420Frame {
  int width, height;
  std::vector<std::uint8_t> bytes;
  I420Frame(int w, int h, std::uint8_t y, std::uint8_t u, std::uint8_t v)
      : width(w), height(h) {
    const std::size_t chroma = static_cast<std::size_t>(w / 2) * (h / 2);
    bytes.assign(static_cast<std::size_t>(w) * h, y);
    bytes.insert(bytes.end(), chroma, u);
    bytes.insert(bytes.end(), chroma, v);
    EXPECT_EQ(bytes.size(), I420FrameBytes(w, h));
  }
  std::uint8_t* Y(int x, int y) { return &bytes[static_cast<std::size_t>(y) * width + x]; }
  std::uint8_t* U(int cx, int cy) { return &bytes[static_cast<std::size_t>(width) * height + cy * (width / 2) + cx]; }
  std::uint8_t* V(int cx, int cy) {
    return U(cx, cy) + static_cast<std::size_t>(width / 2) * (height / 2);
  }
  // Blue, green, red of pixel (x, y) counted from the top, after conversion.
  std::vector<std::uint8_t> Convert() const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(((width * 24 + 31) / 32) * 4) * height, 0xEE);
    EXPECT_TRUE(ConvertI420ToDib24(bytes.data(), bytes.size(), width, height, out.data(), out.size()));
    return out;
  }
};

std::vector<int> PixelAt(const std::vector<std::uint8_t>& dib, int width, int height, int x, int y) {
  const std::size_t stride = static_cast<std::size_t>(((width * 24 + 31) / 32) * 4);
  const std::uint8_t* p = &dib[(height - 1 - y) * stride + x * 3];
  return {p[0], p[1], p[2]};
}

TEST(I420Conversion, ColoursFollowTheFormulaTruncatedAndClamped) {
  // Neutral chroma leaves grey.
  EXPECT_EQ(PixelAt(I420Frame(2, 2, 128, 128, 128).Convert(), 2, 2, 0, 0), (std::vector<int>{128, 128, 128}));
  // u = 72, v = -78: blue 100 + 127.44, green 100 - 24.768 + 55.692,
  // red 100 - 109.434 (below 0).
  EXPECT_EQ(PixelAt(I420Frame(2, 2, 100, 200, 50).Convert(), 2, 2, 1, 1), (std::vector<int>{227, 130, 0}));
  // u = -128, v = 127: blue below 0, green 200 + 44.032 - 90.678, red above 255.
  EXPECT_EQ(PixelAt(I420Frame(2, 2, 200, 0, 255).Convert(), 2, 2, 0, 1), (std::vector<int>{0, 153, 255}));
}

TEST(I420Conversion, RowsAreFlippedAndChromaIsSharedByTwoByTwo) {
  I420Frame frame(4, 4, 0, 128, 128);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) *frame.Y(x, y) = static_cast<std::uint8_t>(10 * y + x);
  }
  *frame.V(1, 0) = 228;  // red + 140.3 for x 2..3, y 0..1
  const auto dib = frame.Convert();
  EXPECT_EQ(PixelAt(dib, 4, 4, 1, 3), (std::vector<int>{31, 31, 31}));
  EXPECT_EQ(PixelAt(dib, 4, 4, 1, 1), (std::vector<int>{11, 11, 11}));
  EXPECT_EQ(PixelAt(dib, 4, 4, 3, 1)[2], 13 + 140);
  EXPECT_EQ(PixelAt(dib, 4, 4, 2, 0)[2], 2 + 140);
  EXPECT_EQ(PixelAt(dib, 4, 4, 2, 2)[2], 22);
  // Row padding (4 x 3 = 12 bytes) needs none; the 12th byte is pixel data.
  EXPECT_EQ(dib.size(), 48u);
}

TEST(I420Conversion, OddSizesStayInsideTheirPlanes) {
  // 3 x 3: one chroma sample serves every pixel; 5 x 1 and 1 x 1 have none.
  I420Frame odd(3, 3, 50, 128, 200);
  const auto dib = odd.Convert();
  EXPECT_EQ(PixelAt(dib, 3, 3, 2, 2), PixelAt(dib, 3, 3, 0, 0));
  EXPECT_EQ(PixelAt(dib, 3, 3, 2, 2)[2], 50 + 101);
  EXPECT_EQ(PixelAt(I420Frame(5, 1, 70, 0, 0).Convert(), 5, 1, 4, 0), (std::vector<int>{70, 70, 70}));
  EXPECT_EQ(PixelAt(I420Frame(1, 1, 90, 0, 0).Convert(), 1, 1, 0, 0), (std::vector<int>{90, 90, 90}));
}

TEST(I420Conversion, RefusesBuffersThatAreTooSmall) {
  I420Frame frame(4, 2, 1, 2, 3);
  std::vector<std::uint8_t> out(24, 0xEE);
  EXPECT_FALSE(ConvertI420ToDib24(frame.bytes.data(), frame.bytes.size() - 1, 4, 2, out.data(), out.size()));
  EXPECT_FALSE(ConvertI420ToDib24(frame.bytes.data(), frame.bytes.size(), 4, 2, out.data(), out.size() - 1));
  EXPECT_FALSE(ConvertI420ToDib24(frame.bytes.data(), frame.bytes.size(), 0, 2, out.data(), out.size()));
  EXPECT_EQ(out, std::vector<std::uint8_t>(24, 0xEE));
}

TEST(CaptureLayout, FiveWindowSizes) {
  const auto small = CaptureLayoutFor("160x120");
  ASSERT_TRUE(small);
  EXPECT_EQ(small->previewLeft, 90);
  EXPECT_EQ(small->previewRight, 250);
  EXPECT_EQ(small->image, (Rect{0, 125, 150, 50}));
  EXPECT_EQ(small->settings, (Rect{305, 125, 30, 30}));
  EXPECT_EQ(small->status, (Rect{10, 141, 140, 16}));

  const auto cif = CaptureLayoutFor("352x288");
  ASSERT_TRUE(cif);
  EXPECT_EQ(cif->video, (Rect{155, 293, 150, 50}));
  EXPECT_EQ(cif->settings, (Rect{306, 293, 30, 30}));

  const auto vga = CaptureLayoutFor("640x480");
  ASSERT_TRUE(vga);
  EXPECT_EQ(vga->previewBottom, 480);
  EXPECT_EQ(vga->image, (Rect{152, 485, 150, 50}));
  EXPECT_EQ(vga->record, (Rect{307, 485, 150, 50}));
  EXPECT_EQ(vga->status, (Rect{150, 503, 140, 16}));

  EXPECT_EQ(CaptureLayoutFor("176x144")->status.y, 167);
  EXPECT_EQ(CaptureLayoutFor("320x240")->previewLeft, 7);
  EXPECT_FALSE(CaptureLayoutFor("800x600"));
  EXPECT_FALSE(CaptureLayoutFor("352X288"));
}

TEST(PathRoot, DriveAndShareRoots) {
  EXPECT_EQ(PathRoot(L"C:\\Users\\me\\P0000001.AVI"), L"C:\\");
  EXPECT_EQ(PathRoot(L"\\\\server\\share\\clips\\a.avi"), L"\\\\server\\share\\");
  EXPECT_EQ(PathRoot(L"\\\\server\\share"), L"\\\\server\\share\\");
  EXPECT_EQ(PathRoot(L"D:"), L"D:\\");
}

}  // namespace
}  // namespace core

// The picture editor's platform-free rules: where the picture is drawn, how
// zoom steps go, quarter turns, the size limit and the folder's picture list.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "core/dib_rotate.h"
#include "core/picture_files.h"
#include "core/picture_view.h"

namespace core {
namespace {

void ExpectPlaced(const Placement& p, int x, int y, int w, int h) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.width, w);
  EXPECT_EQ(p.height, h);
}

TEST(PictureLayout, FittingPicturesAreCentredLargerOnesShrunkWithTheirProportions) {
  const PictureRect client{0, 0, 780, 600};  // room 760 x 500
  ExpectPlaced(LayOutEditorPicture(client, {320, 240}, ViewMode::kNormal), 220, 180, 320, 240);
  // Centred a little lower when zoomed.
  ExpectPlaced(LayOutEditorPicture(client, {320, 240}, ViewMode::kZoom), 220, 182, 320, 240);
  // Exactly the room: the last rule places it inside the side margin.
  ExpectPlaced(LayOutEditorPicture(client, {760, 500}, ViewMode::kNormal), 10, 50, 760, 500);
  // Too high: full height, centred across.
  ExpectPlaced(LayOutEditorPicture(client, {300, 1000}, ViewMode::kNormal), 315, 50, 150, 500);
  // Too wide: full width, centred down.
  ExpectPlaced(LayOutEditorPicture(client, {1520, 400}, ViewMode::kNormal), 10, 200, 760, 200);
  // Both too large: the tighter side decides.
  ExpectPlaced(LayOutEditorPicture(client, {1600, 800}, ViewMode::kNormal), 10, 110, 760, 380);
  ExpectPlaced(LayOutEditorPicture(client, {1000, 2000}, ViewMode::kNormal), 255, 50, 250, 500);
  // No room (a minimised window) or no picture: nothing is drawn.
  ExpectPlaced(LayOutEditorPicture({0, 0, 15, 90}, {10, 10}, ViewMode::kNormal), 0, 0, 0, 0);
  ExpectPlaced(LayOutEditorPicture(client, {0, 10}, ViewMode::kNormal), 0, 0, 0, 0);
}

TEST(PictureLayout, FullScreenKeepsATwoPixelBorder) {
  const PictureRect screen{0, 0, 1024, 768};  // room 1020 x 764
  ExpectPlaced(LayOutFullScreenPicture(screen, {640, 480}), 190, 144, 640, 480);
  ExpectPlaced(LayOutFullScreenPicture(screen, {2040, 764}), 2, 193, 1020, 382);
  ExpectPlaced(LayOutFullScreenPicture(screen, {764, 1528}), 321, 2, 382, 764);
  ExpectPlaced(LayOutFullScreenPicture(screen, {1530, 3056}), 319, 2, 382, 764);
}

TEST(PictureZoom, StepsStopAtTheRoomAndAtAHundredPixels) {
  ZoomState zoom;
  zoom.image = {200, 150};
  ASSERT_TRUE(ZoomOutStep(zoom));
  EXPECT_EQ(zoom.view.height, 135);
  ASSERT_TRUE(ZoomOutStep(zoom));
  ASSERT_TRUE(ZoomOutStep(zoom));
  EXPECT_FALSE(ZoomOutStep(zoom));  // 0.6561 x 150 = 98.4
  EXPECT_EQ(zoom.zoomOut, 3);
  // Going back in is always allowed while the factor is below 1.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(ZoomInStep(zoom, {10, 10}));
  EXPECT_EQ(zoom.view.width, 200);
  EXPECT_EQ(zoom.view.height, 150);

  ZoomState big;
  big.image = {400, 300};
  const PictureSize room{500, 500};
  ASSERT_TRUE(ZoomInStep(big, room));   // 400 fits: 440
  ASSERT_TRUE(ZoomInStep(big, room));   // 440 fits: 484
  ASSERT_TRUE(ZoomInStep(big, room));   // 484 fits: 532
  EXPECT_FALSE(ZoomInStep(big, room));  // 532 does not
  EXPECT_EQ(big.zoomIn, 3);
  EXPECT_EQ(big.view.width, 532);
  EXPECT_TRUE(ZoomOutStep(big));
  EXPECT_EQ(big.view.width, 484);
}

TEST(PictureZoom, FitTakesTheRoomsHeightAndCountsTheStepsThatStillFit) {
  ZoomState zoom;
  zoom.image = {100, 100};
  zoom.zoomOut = 2;
  FitInArea(zoom, {100, 100}, EditorArea({0, 0, 520, 600}));
  EXPECT_EQ(zoom.view.width, 500);
  EXPECT_EQ(zoom.view.height, 500);
  EXPECT_EQ(zoom.zoomIn, 17);  // 1.1^17 = 5.05
  EXPECT_EQ(zoom.zoomOut, 0);
  EXPECT_DOUBLE_EQ(ZoomFactor(3, 3), 1.0);
}

std::vector<std::uint8_t> Numbered(int width, int height) {
  std::vector<std::uint8_t> pixels(Dib24Stride(width) * static_cast<std::size_t>(height));
  std::iota(pixels.begin(), pixels.end(), std::uint8_t{1});
  for (int y = 0; y < height; ++y) {  // padding stays zero, as in a file
    for (std::size_t b = static_cast<std::size_t>(width) * 3; b < Dib24Stride(width); ++b) {
      pixels[static_cast<std::size_t>(y) * Dib24Stride(width) + b] = 0;
    }
  }
  return pixels;
}

TEST(PictureRotation, QuarterTurnsMovePixelsTheRightWayAndFourGiveTheOriginal) {
  // One row, A (bytes 1..3) left of B (bytes 4..6).
  const std::vector<std::uint8_t> row = Numbered(2, 1);
  const auto cw = RotateDib24(row.data(), 2, 1, true);
  ASSERT_EQ(cw.size(), 8u);  // 1 wide, 2 high, rows of 4 bytes
  EXPECT_EQ(cw[4], 1);       // stored last = top: A
  EXPECT_EQ(cw[0], 4);
  const auto ccw = RotateDib24(row.data(), 2, 1, false);
  EXPECT_EQ(ccw[4], 4);  // B on top
  EXPECT_EQ(ccw[0], 1);

  const std::vector<std::uint8_t> picture = Numbered(641, 479);
  auto turned = RotateDib24(picture.data(), 641, 479, true);
  EXPECT_EQ(turned.size(), Dib24Stride(479) * 641);
  turned = RotateDib24(turned.data(), 479, 641, true);
  turned = RotateDib24(turned.data(), 641, 479, true);
  turned = RotateDib24(turned.data(), 479, 641, true);
  EXPECT_EQ(turned, picture);
  const auto back = RotateDib24(RotateDib24(picture.data(), 641, 479, false).data(), 479, 641, true);
  EXPECT_EQ(back, picture);
}

TEST(PictureFiles, TypesAndTheSizeLimit) {
  EXPECT_EQ(PictureTypeOf(L"C:\\a\\x.Bmp"), PictureType::kBmp);
  EXPECT_EQ(PictureTypeOf(L"X.JPG"), PictureType::kJpg);
  EXPECT_EQ(PictureTypeOf(L"x.jpeg"), PictureType::kOther);
  EXPECT_EQ(PictureTypeOf(L"pg"), PictureType::kOther);
  EXPECT_TRUE(IsEditableArea(800, 600));
  EXPECT_FALSE(IsEditableArea(801, 600));
  EXPECT_TRUE(IsEditableArea(1200, 400));
  EXPECT_FALSE(IsEditableArea(1000, -1000));  // top-down
  EXPECT_FALSE(IsEditableArea(70000, 70000));  // no overflow into a pass
}

std::vector<std::wstring> Names(int count) {
  std::vector<std::wstring> names{L"d\\.", L"d\\..", L"d\\notes.txt", L"d\\x.jpeg"};
  for (int i = 0; i < count; ++i) names.push_back(L"d\\p" + std::to_wstring(i) + (i % 2 ? L".jpg" : L".BMP"));
  return names;
}

TEST(PictureFiles, FolderListHoldsAtMost500AroundTheEditedFile) {
  const auto small = ListFolderPictures(Names(3), [](const std::wstring& p) { return p == L"d\\p1.jpg"; });
  ASSERT_EQ(small.paths.size(), 3u);
  EXPECT_EQ(small.paths[0], L"d\\p0.BMP");
  EXPECT_EQ(small.current, 1);

  const auto names = Names(1200);
  const auto early = ListFolderPictures(names, [](const std::wstring& p) { return p == L"d\\p10.BMP"; });
  EXPECT_EQ(early.paths.size(), 500u);
  EXPECT_EQ(early.paths[static_cast<std::size_t>(early.current)], L"d\\p10.BMP");
  const auto middle = ListFolderPictures(names, [](const std::wstring& p) { return p == L"d\\p700.BMP"; });
  EXPECT_EQ(middle.paths.front(), L"d\\p450.BMP");
  EXPECT_EQ(middle.current, 250);
  const auto last = ListFolderPictures(names, [](const std::wstring& p) { return p == L"d\\p1199.jpg"; });
  EXPECT_EQ(last.paths.back(), L"d\\p1199.jpg");
  EXPECT_EQ(last.current, 499);
  const auto missing = ListFolderPictures(names, [](const std::wstring&) { return false; });
  EXPECT_EQ(missing.paths.size(), 500u);
  EXPECT_EQ(missing.current, -1);
}

}  // namespace
}  // namespace core

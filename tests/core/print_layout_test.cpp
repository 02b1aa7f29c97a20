// The printing rules: the preview's size with its single-precision
// rounding, the preview dialog's layout, and the printed picture's size.
#include "core/print_layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace core {
namespace {

void ExpectSize(PictureSize s, int width, int height) {
  EXPECT_EQ(s.width, width);
  EXPECT_EQ(s.height, height);
}

std::tuple<int, int, int, int> Tie(const Placement& r) { return {r.x, r.y, r.width, r.height}; }

TEST(PrintPreview, SizeKeepsSmallPicturesAndShrinksLargeOnesWithSinglePrecisionFactors) {
  ExpectSize(PrintPreviewSize({640, 480}), 640, 480);
  ExpectSize(PrintPreviewSize({100, 50}), 100, 50);
  // The factors' rounding takes the last pixel off a picture of 4:3.
  ExpectSize(PrintPreviewSize({2048, 1536}), 639, 479);
  // The height's factor is the larger one.
  ExpectSize(PrintPreviewSize({600, 1000}), 287, 479);
  // Only one side over its limit.
  ExpectSize(PrintPreviewSize({641, 100}), 640, 99);
  ExpectSize(PrintPreviewSize({1280, 480}), 640, 240);
}

TEST(PrintPreview, DialogLayoutSharesTheWidthWhenNarrowAndRightAlignsTheButtonsOtherwise) {
  // A wide preview: buttons at their own width, right-aligned, 14 apart.
  PreviewLayout wide = LayOutPrintPreview({{639, 479}, {75, 23}, {3, 3}, 19});
  ExpectSize(wide.dialog, 639 + 6 + 14, 479 + 23 + 6 + 19 + 21);
  EXPECT_EQ(Tie(wide.frame), std::make_tuple(6, 6, 641, 481));
  EXPECT_EQ(Tie(wide.print), std::make_tuple(639 - 150 - 7, 493, 75, 23));
  EXPECT_EQ(Tie(wide.cancel), std::make_tuple(639 - 75 + 7, 493, 75, 23));
  EXPECT_EQ(wide.cancel.x - (wide.print.x + wide.print.width), 14);

  // A narrow preview: each button takes half of the width.
  PreviewLayout narrow = LayOutPrintPreview({{100, 80}, {75, 23}, {3, 3}, 19});
  EXPECT_EQ(Tie(narrow.print), std::make_tuple(2, 94, 54, 23));
  EXPECT_EQ(Tie(narrow.cancel), std::make_tuple(58, 94, 54, 23));
  // The boundary: pw + 7 == 2 bw + 21 still shares the width.
  EXPECT_EQ(LayOutPrintPreview({{164, 80}, {75, 23}, {3, 3}, 19}).print.width, 86);
  EXPECT_EQ(LayOutPrintPreview({{165, 80}, {75, 23}, {3, 3}, 19}).print.width, 75);

  EXPECT_EQ(CentredOrigin(1024, 680), 172);
  EXPECT_EQ(CentredOrigin(600, 680), 0);
}

TEST(PrintedPage, PicturesUpTo1024x768PrintAtOneScaleLargerOnesFitThePage) {
  // 210 mm at 600 dpi: the width counts as 200 mm, 4724 pixels, s = 4724 / 1024.
  const PrinterPage a4{210, 297, 600, 600};
  ExpectSize(PrintedPictureSize({640, 480}, a4), 2952, 2214);
  ExpectSize(PrintedPictureSize({1024, 768}, a4), 4724, 3543);
  ExpectSize(PrintedPictureSize({100, 768}, a4), 461, 3543);
  // A narrower printable area is not capped.
  ExpectSize(PrintedPictureSize({1024, 768}, {197, 284, 300, 300}), 2326, 1744);
  // A page too low for 768 rows at the width's scale: the height decides.
  ExpectSize(PrintedPictureSize({1024, 768}, {200, 100, 100, 100}), 524, 393);
  // Larger pictures are shrunk to the page, proportions kept.
  ExpectSize(PrintedPictureSize({2048, 1536}, a4), 4724, 3543);
  ExpectSize(PrintedPictureSize({1000, 4000}, a4), 1753, 7015);
}

}  // namespace
}  // namespace core

#include "core/print_layout.h"

#include <algorithm>
#include <cmath>

namespace core {
namespace {

constexpr int kPreviewMaxWidth = 640;
constexpr int kPreviewMaxHeight = 480;
constexpr int kPictureInset = 7;    // the picture's left and top in the dialog
constexpr int kButtonGap = 14;      // between the picture and the buttons, and between the buttons
constexpr int kMaxPrintWidthMm = 200;
constexpr int kReferenceWidth = 1024;  // a picture up to this size prints at one scale
constexpr int kReferenceHeight = 768;
constexpr double kMmPerInch = 25.4;

int Truncated(double v) { return static_cast<int>(std::trunc(v)); }

}  // namespace

PictureSize PrintPreviewSize(PictureSize picture) {
  if (picture.width <= kPreviewMaxWidth && picture.height <= kPreviewMaxHeight) return picture;
  // Single precision on purpose: the shown size depends on its rounding.
  const float a = static_cast<float>(picture.width) * (1.0f / static_cast<float>(kPreviewMaxWidth));
  const float b = static_cast<float>(picture.height) * (1.0f / static_cast<float>(kPreviewMaxHeight));
  const double m = a > b ? a : b;
  return {Truncated(picture.width / m), Truncated(picture.height / m)};
}

PreviewLayout LayOutPrintPreview(const PreviewMetrics& m) {
  const int pw = m.preview.width;
  const int ph = m.preview.height;
  const int bw = m.button.width;
  const int bh = m.button.height;
  PreviewLayout out;
  out.dialog = {pw + 2 * m.frame.width + 2 * kPictureInset,
                ph + bh + 2 * m.frame.height + m.caption + 3 * kPictureInset};
  out.frame = {kPictureInset - 1, kPictureInset - 1, pw + 2, ph + 2};
  const int y = ph + kButtonGap;
  if (pw + kPictureInset <= 2 * bw + 3 * kPictureInset) {
    const int half = (pw + 8) / 2;
    out.print = {2, y, half, bh};
    out.cancel = {half + 4, y, half, bh};
  } else {
    out.print = {pw - 2 * bw - kPictureInset, y, bw, bh};
    out.cancel = {pw - bw + kPictureInset, y, bw, bh};
  }
  return out;
}

int CentredOrigin(int screen, int size) { return screen < size ? 0 : (screen - size) / 2; }

PictureSize PrintedPictureSize(PictureSize picture, const PrinterPage& page) {
  const int widthMm = std::min(page.widthMm, kMaxPrintWidthMm);
  const int pw = Truncated(page.dpiX * widthMm / kMmPerInch);
  const int ph = Truncated(page.dpiY * page.heightMm / kMmPerInch);
  double s = 0;
  if (picture.width <= kReferenceWidth && picture.height <= kReferenceHeight) {
    s = std::min(static_cast<double>(pw) / kReferenceWidth, static_cast<double>(ph) / kReferenceHeight);
  } else {
    s = std::min(static_cast<double>(pw) / picture.width, static_cast<double>(ph) / picture.height);
  }
  return {Truncated(picture.width * s), Truncated(picture.height * s)};
}

}  // namespace core

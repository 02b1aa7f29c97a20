#pragma once
// The rules of printing a picture: the size of the picture in the print
// preview, the layout of the preview dialog around it, and the size of the
// picture on the printed page.
#include "core/picture_view.h"

namespace core {

// The preview shows a picture at its own size up to 640 x 480; a larger one
// is shrunk by the larger of width / 640 and height / 480 with both factors
// held in single precision, so a 2048 x 1536 picture is shown 639 x 479.
PictureSize PrintPreviewSize(PictureSize picture);

// What the preview dialog's layout depends on: the preview size, the
// Cancel button's size from the template, and the system's dialog frame
// and caption sizes.
struct PreviewMetrics {
  PictureSize preview;
  PictureSize button;
  PictureSize frame;  // dialog frame width and height
  int caption = 0;
};

struct PreviewLayout {
  PictureSize dialog;  // the window's outer size
  Placement frame;   // the frame around the picture
  Placement print;   // the Print button
  Placement cancel;  // the Cancel button
};

// The picture lies at (7, 7) inside a frame one pixel wider all round; the
// buttons below it share the width when the preview is narrow, else stand
// right-aligned at their own width, 14 pixels apart.
PreviewLayout LayOutPrintPreview(const PreviewMetrics& m);

// A window of `size` centred on a screen of `screen` pixels, at 0 when the
// screen is smaller.
int CentredOrigin(int screen, int size);

// What the page drawing needs of the printer.
struct PrinterPage {
  int widthMm = 0;   // printable width in millimetres
  int heightMm = 0;  // printable height in millimetres
  int dpiX = 0;      // device pixels per inch across
  int dpiY = 0;      // and down
};

// The picture's size in device pixels at the top left of the printable
// area. The printable width counts up to 200 mm. A picture up to 1024 x 768
// is printed at the scale that makes 1024 x 768 fill that width (or the
// page's height); a larger picture is shrunk to fit; the proportions are
// always kept.
PictureSize PrintedPictureSize(PictureSize picture, const PrinterPage& page);

}  // namespace core

#pragma once
// Where the picture editor draws its picture and how its zoom steps go: the
// layout rules for the editor's client area (margins of 10 pixels at the
// sides, 50 above and below) and for the full-screen view (2 pixels all
// round), and the zoom counters behind zoom in, zoom out and fit.
namespace core {

struct PictureRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct PictureSize {
  int width = 0;
  int height = 0;
};

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// "NORMAL" draws the picture at its own size, "ZOOM" at the zoomed size.
enum class ViewMode { kNormal, kZoom };

// The room the editor's layout leaves in a client rectangle.
PictureSize EditorArea(const PictureRect& client);

// The picture of `size` (its own size in "NORMAL", the zoomed size in
// "ZOOM") placed in the editor's client area: at that size and centred when
// it fits, else shrunk to the room with its proportions kept. An empty
// placement when there is no room or no picture.
Placement LayOutEditorPicture(const PictureRect& client, PictureSize size, ViewMode mode);

// The same rules for the full-screen view, with a 2-pixel border.
Placement LayOutFullScreenPicture(const PictureRect& client, PictureSize size);

// The zoom counters and the sizes they act on.
struct ZoomState {
  PictureSize image;  // the picture's own size, taken at every "NORMAL" drawing
  PictureSize view;   // the size "ZOOM" draws at
  int zoomIn = 0;
  int zoomOut = 0;
};

// 1.1 to the power of (zoomIn - zoomOut) when that is positive, 0.9 to the
// power of its magnitude when negative, 1 when the counters are equal.
double ZoomFactor(int zoomIn, int zoomOut);

// One step in: refused (and nothing changes) when the picture at the size
// before the step no longer fits strictly inside `area`. True when taken;
// the view size is then the picture's size at the new factor.
bool ZoomInStep(ZoomState& zoom, PictureSize area);

// One step out: refused when the picture would become 100 pixels or less
// in either direction.
bool ZoomOutStep(ZoomState& zoom);

// Fit in window: the view takes the whole height of `area` (the layout then
// shrinks it to the width when needed), and the zoom-in counter starts
// where the picture would first stop fitting.
void FitInArea(ZoomState& zoom, PictureSize bitmap, PictureSize area);

}  // namespace core

#include "core/picture_view.h"

#include <cstdint>

namespace core {
namespace {

// The blank room kept around the picture, and whether the centring of a
// picture that fits is lifted (the editor's "ZOOM" drawing sits 2 or 3 pixels
// lower than its "NORMAL" one).
struct Margins {
  std::int64_t side;
  std::int64_t vertical;
  std::int64_t zoomLift;
};

constexpr Margins kEditorMargins{10, 50, 0};
constexpr Margins kFullScreenMargins{2, 2, 0};

Placement Make(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
  return {static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h)};
}

// The rules in their order; a later rule whose condition holds replaces
// what an earlier one gave (they agree wherever two of them meet).
Placement LayOut(const PictureRect& c, PictureSize size, const Margins& m) {
  const std::int64_t W = size.width, H = size.height;
  const std::int64_t cw = std::int64_t{c.right} - c.left, ch = std::int64_t{c.bottom} - c.top;
  const std::int64_t aw = cw - 2 * m.side, ah = ch - 2 * m.vertical;
  if (W <= 0 || H <= 0 || aw <= 0 || ah <= 0) return {};
  const std::int64_t S = m.side, V = m.vertical;
  Placement p;
  // Full height, centred across.
  if (W <= aw && H >= ah) p = Make((cw - ah * W / H) / 2, c.top + V, ah * W / H, ah);
  // Full width, centred down.
  const auto byWidth = [&] { return Make(c.left + S, (ch - aw * H / W - 2 * V) / 2 + V, aw, aw * H / W); };
  if (W >= aw && H <= ah) p = byWidth();
  if (W <= aw && H <= ah) p = Make((cw - W - 2 * S) / 2, (ch - H - 2 * V + m.zoomLift) / 2 + V, W, H);
  if (W >= aw && H >= ah) {
    if (static_cast<double>(aw) / static_cast<double>(ah) <=
        static_cast<double>(W) / static_cast<double>(H)) {
      p = byWidth();
    } else {
      p = Make((cw - ah * W / H - 2 * S) / 2, c.top + V, ah * W / H, ah);
    }
  }
  return p;
}

int Scaled(int length, double factor) { return static_cast<int>(length * factor); }

}  // namespace

PictureSize EditorArea(const PictureRect& client) {
  return {client.right - client.left - 2 * static_cast<int>(kEditorMargins.side),
          client.bottom - client.top - 2 * static_cast<int>(kEditorMargins.vertical)};
}

Placement LayOutEditorPicture(const PictureRect& client, PictureSize size, ViewMode mode) {
  Margins margins = kEditorMargins;
  if (mode == ViewMode::kZoom) margins.zoomLift = 5;
  return LayOut(client, size, margins);
}

Placement LayOutFullScreenPicture(const PictureRect& client, PictureSize size) {
  return LayOut(client, size, kFullScreenMargins);
}

double ZoomFactor(int zoomIn, int zoomOut) {
  const int d = zoomIn - zoomOut;
  double f = 1.0;
  for (int i = 0; i < d; ++i) f *= 1.1;
  for (int i = 0; i < -d; ++i) f *= 0.9;
  return f;
}

bool ZoomInStep(ZoomState& zoom, PictureSize area) {
  ++zoom.zoomIn;
  const double f = ZoomFactor(zoom.zoomIn, zoom.zoomOut);
  if (zoom.zoomIn > zoom.zoomOut &&
      !(area.width > zoom.image.width * f / 1.1 && area.height > zoom.image.height * f / 1.1)) {
    --zoom.zoomIn;
    return false;
  }
  zoom.view = {Scaled(zoom.image.width, f), Scaled(zoom.image.height, f)};
  return true;
}

bool ZoomOutStep(ZoomState& zoom) {
  ++zoom.zoomOut;
  const double f = ZoomFactor(zoom.zoomIn, zoom.zoomOut);
  if (zoom.zoomIn < zoom.zoomOut && !(zoom.image.width * f > 100 && zoom.image.height * f > 100)) {
    --zoom.zoomOut;
    return false;
  }
  zoom.view = {Scaled(zoom.image.width, f), Scaled(zoom.image.height, f)};
  return true;
}

void FitInArea(ZoomState& zoom, PictureSize bitmap, PictureSize area) {
  if (bitmap.height <= 0) return;
  zoom.view = {static_cast<int>(std::int64_t{bitmap.width} * area.height / bitmap.height), area.height};
  zoom.zoomIn = zoom.zoomOut = 0;
  if (zoom.image.width > area.width) return;
  // Counts the steps up to the first at which the picture no longer fits;
  // a picture that never grows cannot loop for ever.
  double f = 1.0;
  while (zoom.image.height * f <= area.height && zoom.image.width > 0 && zoom.image.height > 0) {
    ++zoom.zoomIn;
    f = ZoomFactor(zoom.zoomIn, 0);
    if (zoom.image.width * f > area.width) break;
  }
}

}  // namespace core

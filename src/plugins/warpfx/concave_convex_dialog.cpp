#include "warpfx/concave_convex_dialog.h"

#include "common/effect_ids.h"
#include "core/effects/warp.h"

namespace {
// Accepts any non-zero command; computes from the caller's image; notifies
// twice on OK.
const plugins::EffectTraits kTraits{IDD_SPATIAL_EFFECT, &plugins::kSliderLayout, true, false, 2};
}  // namespace

CConcaveConvexDialog::CConcaveConvexDialog() : CEffectDialog(kTraits) {}

void CConcaveConvexDialog::OnOpen() {
  const int limit =
      core::effects::WarpRadiusLimit(Image().Geometry().width, Image().Geometry().height);
  SetUpSlider(-limit, limit, 10, 0);
}

void CConcaveConvexDialog::OnSliderReleased(int radius) {
  core::effects::Warp(Image().SourcePixels(), Image().WorkingPixels(), Image().Geometry(), radius);
  ShowResult();
}

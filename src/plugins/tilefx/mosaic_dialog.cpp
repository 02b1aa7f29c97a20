#include "tilefx/mosaic_dialog.h"

#include "common/effect_ids.h"
#include "core/effects/mosaic.h"

namespace {
// Accepts any non-zero command; computes from the caller's image; notifies
// twice on OK.
const plugins::EffectTraits kTraits{IDD_SPATIAL_EFFECT, &plugins::kSliderLayout, true, false, 2};
}  // namespace

CMosaicDialog::CMosaicDialog() : CEffectDialog(kTraits) {}

// Nothing is applied before the first release.
void CMosaicDialog::OnOpen() { SetUpSlider(2, 64, 3, 2); }

void CMosaicDialog::OnSliderReleased(int tile) {
  core::effects::Mosaic(Image().SourcePixels(), Image().WorkingPixels(), Image().Geometry(), tile);
  ShowResult();
}

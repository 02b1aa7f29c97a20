#include "tonefx/contrast_dialog.h"

#include "common/effect_ids.h"

namespace {
// Accepts any non-zero command; notifies twice on OK.
const plugins::EffectTraits kTraits{IDD_TONE_EFFECT, &plugins::kSliderLayout, true, true, 2};
}  // namespace

CContrastDialog::CContrastDialog() : CToneDialog(kTraits) {}

// 45 degrees is no change, whatever the level.
plugins::SliderSetup CContrastDialog::SliderFor(unsigned) const { return {0, 90, 5, 45}; }

core::effects::ByteMap CContrastDialog::MapFor(int position, unsigned level) const {
  return core::effects::ContrastMap(position, level);
}

#include "litefx/brightness_dialog.h"

#include "common/effect_ids.h"

namespace {
// Accepts exactly the host's command; notifies once on OK.
const plugins::EffectTraits kTraits{IDD_TONE_EFFECT, &plugins::kSliderLayout, false, true, 1};
}  // namespace

CBrightnessDialog::CBrightnessDialog() : CToneDialog(kTraits) {}

// The neutral position is the level itself.
plugins::SliderSetup CBrightnessDialog::SliderFor(unsigned level) const {
  return {0, 255, 5, static_cast<int>(level)};
}

core::effects::ByteMap CBrightnessDialog::MapFor(int position, unsigned level) const {
  return core::effects::BrightnessMap(position, level);
}

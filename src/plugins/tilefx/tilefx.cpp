// tilefx: the mosaic plug-in.
#include "common/effect_entry.h"
#include "tilefx/mosaic_dialog.h"

namespace {
// Made when the library is loaded; its window goes when the library is unloaded.
CMosaicDialog g_dialog;
}  // namespace

void __stdcall SpecialEffects(plugins::EffectParams* params) {
  plugins::RunEffect(params, g_dialog);
}

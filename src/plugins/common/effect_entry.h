#pragma once
// The body of every plug-in's SpecialEffects.
#include "common/effect_dialog.h"
#include "common/effect_params.h"

namespace plugins {

// Checks the record in the contract's order (command, image, bit count, the
// other pointers, the image's layout), fills in a zero image size, and opens
// the dialog. A refusal goes to the status word only; nothing is shown and no
// notification is sent. Never throws.
void RunEffect(EffectParams* params, CEffectDialog& dialog) noexcept;

}  // namespace plugins

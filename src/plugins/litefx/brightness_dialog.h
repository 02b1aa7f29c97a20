#pragma once
// litefx's dialog: brightness, a factor of slider position over level.
#include "common/tone_dialog.h"

class CBrightnessDialog : public plugins::CToneDialog {
 public:
  CBrightnessDialog();

 private:
  plugins::SliderSetup SliderFor(unsigned level) const override;
  core::effects::ByteMap MapFor(int position, unsigned level) const override;
};

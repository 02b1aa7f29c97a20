#pragma once
// tonefx's dialog: contrast, a slope through the mean level set as an angle.
#include "common/tone_dialog.h"

class CContrastDialog : public plugins::CToneDialog {
 public:
  CContrastDialog();

 private:
  plugins::SliderSetup SliderFor(unsigned level) const override;
  core::effects::ByteMap MapFor(int position, unsigned level) const override;
};

#pragma once
// tilefx's dialog: mosaic, square tiles of the size the slider sets.
#include "common/effect_dialog.h"

class CMosaicDialog : public plugins::CEffectDialog {
 public:
  CMosaicDialog();

 private:
  void OnOpen() override;
  void OnSliderReleased(int tile) override;
};

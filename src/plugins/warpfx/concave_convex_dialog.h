#pragma once
// warpfx's dialog: concave-convex, a circle around the centre magnified or
// shrunk; the slider sets its radius and, by its sign, the direction.
#include "common/effect_dialog.h"

class CConcaveConvexDialog : public plugins::CEffectDialog {
 public:
  CConcaveConvexDialog();

 private:
  void OnOpen() override;
  void OnSliderReleased(int radius) override;
};

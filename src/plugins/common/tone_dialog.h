#pragma once
// The dialog of the effects that map every byte through a table built from a
// slider position and the image's mean level L (brightness, contrast). L is
// measured over the base when the dialog opens and after every change of the
// channel box, which also resets the slider.
#include "common/effect_dialog.h"
#include "core/effects/tone_maps.h"

namespace plugins {

struct SliderSetup {
  int min, max, page, position;
};

class CToneDialog : public CEffectDialog {
 protected:
  using CEffectDialog::CEffectDialog;

  virtual SliderSetup SliderFor(unsigned level) const = 0;
  // Only asked for a level above 0.
  virtual core::effects::ByteMap MapFor(int position, unsigned level) const = 0;

 private:
  void OnOpen() override { MeasureLevel(); }
  void OnChannelChanged() override { MeasureLevel(); }
  void OnSliderReleased(int position) override;
  void MeasureLevel();

  unsigned m_level = 0;
};

}  // namespace plugins

#pragma once
// edgefx's dialog: sharpness, a 3 x 3 convolution applied by Process.
#include "common/effect_dialog.h"
#include "core/effects/sharpen.h"

class CSharpnessDialog : public plugins::CEffectDialog {
 public:
  CSharpnessDialog();

 private:
  void OnOpen() override;
  void OnProcess() override;

  core::effects::Kernel m_kernel = core::effects::kDefaultKernel;
};

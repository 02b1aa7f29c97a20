#include "edgefx/sharpness_dialog.h"

#include "common/effect_ids.h"
#include "edgefx/kernel_setting.h"

namespace {
// Accepts any non-zero command; notifies twice on OK.
const plugins::EffectTraits kTraits{IDD_SPATIAL_EFFECT, &plugins::kProcessLayout, true, true, 2};
}  // namespace

CSharpnessDialog::CSharpnessDialog() : CEffectDialog(kTraits) {}

void CSharpnessDialog::OnOpen() { m_kernel = ReadKernelSetting(Module()); }

// Always from the base, so pressing it again gives the same picture.
void CSharpnessDialog::OnProcess() {
  core::effects::Sharpen(Image().SourcePixels(), Image().WorkingPixels(), Image().Geometry(),
                         SelectedChannel(), m_kernel);
  ShowResult();
}

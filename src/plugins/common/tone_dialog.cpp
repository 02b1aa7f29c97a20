#include "common/tone_dialog.h"

namespace plugins {

void CToneDialog::MeasureLevel() {
  m_level = core::effects::MeanLevel(Image().SourcePixels(), Image().Geometry(), SelectedChannel());
  const SliderSetup s = SliderFor(m_level);
  SetUpSlider(s.min, s.max, s.page, s.position);
}

// A black image (L = 0) stays as it is, preview included.
void CToneDialog::OnSliderReleased(int position) {
  if (m_level == 0) return;
  core::effects::ApplyByteMap(Image().SourcePixels(), Image().WorkingPixels(), Image().Geometry(),
                              SelectedChannel(), MapFor(position, m_level));
  ShowResult();
}

}  // namespace plugins

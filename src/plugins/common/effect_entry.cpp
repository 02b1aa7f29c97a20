#include "common/effect_entry.h"

#include "core/effects/image_layout.h"

namespace plugins {
namespace {

std::uint32_t Start(EffectParams& params, CEffectDialog& dialog) {
  if (!dialog.AcceptsCommand(params.command)) return kStatusCommandRefused;
  if (!params.image) return kStatusSetupFailed;
  BITMAPINFOHEADER& header = *params.image;
  if (header.biBitCount != 24) return kStatusNot24Bit;
  if (!params.status || !params.notifyWindow) return kStatusSetupFailed;
  const auto layout =
      core::effects::LayoutOf(header.biSize, header.biWidth, header.biHeight, header.biSizeImage);
  if (!layout) return kStatusSetupFailed;
  if (header.biSizeImage == 0) header.biSizeImage = layout->imageSize;
  return dialog.Open(params, *layout);
}

}  // namespace

void RunEffect(EffectParams* params, CEffectDialog& dialog) noexcept {
  if (!params) return;
  std::uint32_t status = kStatusSetupFailed;
  try {
    status = Start(*params, dialog);
  } catch (...) {
  }
  if (status != 0 && params->status) *params->status = status;
}

}  // namespace plugins

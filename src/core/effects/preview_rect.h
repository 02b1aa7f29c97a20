#pragma once
// Where an effect dialog shows its preview: the largest rectangle of the
// image's proportions inside the preview area (7, 7)-(187, 142), centred.

namespace core::effects {

struct PreviewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The preview of a width x height image, in dialog client pixels. An image
// without pixels gets an empty rectangle at the area's top-left corner.
PreviewRect PlacePreview(int width, int height);

}  // namespace core::effects

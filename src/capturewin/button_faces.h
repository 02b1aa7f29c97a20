#pragma once
// The pictures on the capture view's Image and Video buttons, chosen by the
// user's default language, with their pure green showing the button face.
#include <windows.h>

#include "base/handles.h"

namespace capturewin {

struct ButtonFaceIds {
  UINT image;
  UINT video;
};

// 2052 Simplified Chinese, 1028 Traditional Chinese, any other English.
ButtonFaceIds ButtonFaceIdsFor(LANGID language);

// Bitmap `id` of the program with every 0x00FF00 pixel in the system's
// button-face colour; null when the resource is missing.
base::Bitmap LoadButtonFace(UINT id);

}  // namespace capturewin

#include "capturewin/button_faces.h"

#include "base/toolbar.h"
#include "res/resource.h"

namespace capturewin {

ButtonFaceIds ButtonFaceIdsFor(LANGID language) {
  switch (language) {
    case 2052:
      return {IDB_FACE_IMAGE_ZH_CN, IDB_FACE_VIDEO_ZH_CN};
    case 1028:
      return {IDB_FACE_IMAGE_ZH_TW, IDB_FACE_VIDEO_ZH_TW};
    default:
      return {IDB_FACE_IMAGE_EN, IDB_FACE_VIDEO_EN};
  }
}

base::Bitmap LoadButtonFace(UINT id) {
  base::Bitmap face(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (face) base::ReplaceBitmapColour(face.Get(), RGB(0, 255, 0), ::GetSysColor(COLOR_BTNFACE));
  return face;
}

}  // namespace capturewin

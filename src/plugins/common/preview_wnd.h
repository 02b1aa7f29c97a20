#pragma once
// The preview: a static control of the dialog that shows the working image
// scaled to its size, dropping rows and columns rather than smoothing.
#include <windows.h>

#include "base/handles.h"
#include "base/wnd.h"

namespace plugins {

class CPreviewWnd : public base::CWnd {
 public:
  // Draws `image` (a packed bitmap) into a new picture of the control's size
  // and repaints at once. When the picture cannot be made the old one stays.
  void Rebuild(const BITMAPINFO* image, const void* pixels);
  static const base::MessageMap* GetThisMessageMap();

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);

  base::Bitmap m_picture;
};

}  // namespace plugins

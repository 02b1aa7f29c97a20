#pragma once
// Paints the background of the main frame's MDI client area in one colour.
#include <windows.h>

#include "base/handles.h"
#include "base/wnd.h"

class CMdiClientBack : public base::CWnd {
 public:
  CMdiClientBack();
  // Replaces the brush and repaints.
  void SetBackColor(COLORREF colour);
  COLORREF BackColor() const { return m_crBack; }

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);

  COLORREF m_crBack;
  base::Brush m_brBack;
};

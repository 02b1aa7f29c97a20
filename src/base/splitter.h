#pragma once
// A splitter of one row and two columns: two pane windows side by side with a
// bar between them that the user drags. Notifications the panes' controls
// send to their parent come back to the pane itself as kReflectedNotify, so
// a control's own class handles them.
#include <windows.h>

#include "base/wnd.h"

namespace base {

// WM_NOTIFY handed back to the control that sent it (same parameters).
inline constexpr UINT kReflectedNotify = WM_USER + 0x1C00 + WM_NOTIFY;

class CSplitter : public CWnd {
 public:
  static constexpr int kBarWidth = 5;

  bool Create(HWND parent, UINT id);
  // The panes must be children of this window; the left one is `leftWidth`
  // pixels wide, the right one takes the rest.
  void SetPanes(HWND left, HWND right, int leftWidth);
  int LeftWidth() const { return m_leftWidth; }
  void SetLeftWidth(int width);

 protected:
  const MessageMap* GetMessageMap() const override;

 private:
  void Layout();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnNotify(WPARAM, LPARAM);

  HWND m_hLeft = nullptr;
  HWND m_hRight = nullptr;
  int m_leftWidth = 0;
  bool m_dragging = false;
};

}  // namespace base

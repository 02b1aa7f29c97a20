#pragma once
// The frame's bars: a toolbar loaded from a toolbar resource (type 241:
// version, button width, height, count, then the command ids, 0 for a
// separator) and a one-pane status bar.
#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace base {

class CMDIFrameWnd;

class CToolBar {
 public:
  CToolBar() = default;
  ~CToolBar();
  CToolBar(const CToolBar&) = delete;
  CToolBar& operator=(const CToolBar&) = delete;

  bool Create(HWND parent, DWORD style, UINT id);
  // Replaces the buttons with those of a toolbar resource; false when the
  // resource is missing or malformed.
  bool LoadToolBar(UINT resourceId);
  // Gives the toolbar its button images (one strip, button-sized images,
  // the background in the button-face colour).
  bool SetBitmap(HBITMAP bitmap);
  // The command ids of the buttons, 0 for separators.
  const std::vector<UINT>& Commands() const { return m_commands; }
  void SetButtonState(UINT command, BYTE state);
  // Shows each button's command state as `frame` routes it: enabled or
  // not, pressed when checked.
  void UpdateStates(CMDIFrameWnd& frame);
  HWND m_hWnd = nullptr;

 private:
  std::vector<UINT> m_commands;
  SIZE m_buttonSize{16, 15};
  HIMAGELIST m_images = nullptr;
};

class CStatusBar {
 public:
  bool Create(HWND parent, UINT id);
  void SetText(const wchar_t* text);
  HWND m_hWnd = nullptr;
};

// Answers a tool tip's request for its text (TTN_GETDISPINFOW) with the
// part after "\n" of the string that has the button's command id; false
// for any other notification.
bool AnswerToolTip(LPARAM notification);

// Replaces every pixel of colour `key` in `bitmap` by `with`: a mask of the
// key pixels, then the brush painted through it (raster operation 0xE20746).
void ReplaceBitmapColour(HBITMAP bitmap, COLORREF key, COLORREF with);

}  // namespace base

#pragma once
// Paints the background of the main frame's MDI client area: a colour, or a
// bitmap file tiled, centred, stretched or placed at an origin. The choice
// lives in the "MDIClient" section of the per-user application key: read
// when the window is subclassed, written back when this object goes.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/handles.h"
#include "base/profile.h"
#include "base/wnd.h"

class CMdiClientBack : public base::CWnd {
 public:
  // The stored "DisplayMode" values.
  enum class DisplayMode : int { Tile = 0, Centre = 1, Stretch = 2, AtOrigin = 3 };

  CMdiClientBack();
  ~CMdiClientBack() override;

  // The application key (below HKEY_CURRENT_USER) whose "MDIClient" section
  // holds the values; without one, the application's per-user key at the
  // time of subclassing. Nothing is loaded or saved when neither exists.
  void SetProfileKey(std::wstring appKeyPath) { m_strAppKey = std::move(appKeyPath); }

  // Attaches to the MDI client window, then loads the stored values and the
  // bitmap they name.
  bool SubclassWindow(HWND hwnd);

  // Replaces the brush and repaints.
  void SetBackColor(COLORREF colour);
  COLORREF BackColor() const { return m_crBack; }

  // Replaces the bitmap with the one in `path` and repaints. The name is
  // kept even when the file cannot be loaded (the area then shows the
  // colour), so a file that is missing for a while stays the user's choice.
  bool LoadBackBitmap(const std::wstring& path);

  // Something drawn over the background at every painting (the picture of
  // the editing mode); nothing when empty.
  void SetPaintOver(std::function<void(HDC)> paint) { m_paintOver = std::move(paint); }

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);

  void PaintBackground(HDC dc, const RECT& update) const;
  void Load(const base::ProfileSection& profile);
  void Save(const base::ProfileSection& profile) const;

  void DrawTiled(HDC target, HDC source, const RECT& update) const;
  void DrawStretched(HDC target, HDC source, const RECT& client) const;
  // Modes 1 and 3: the colour with the bitmap once at `at`, composed off
  // screen and copied in one step.
  void DrawOnce(HDC target, HDC source, const RECT& client, POINT at) const;

  base::Bitmap m_bmpBack;
  base::Brush m_brBack;
  COLORREF m_crBack;
  std::wstring m_strFileName;
  POINT m_ptOrigin{0, 0};
  SIZE m_sizeBitmap{0, 0};
  DisplayMode m_displayMode = DisplayMode::Tile;
  std::wstring m_strAppKey;
  // The section the values were loaded from when subclassing; they go back
  // there when this object is destroyed.
  std::optional<base::ProfileSection> m_profile;
  std::function<void(HDC)> m_paintOver;
};

#pragma once
// One file of the file list: a small child window of the list that shows the
// file's thumbnail (bitmap file, first usable clip frame, JPEG picture) with
// the cell frame and the file's name, and turns clicks into the list's
// selection. The list has the thumbnail made and hands it over.
#include <windows.h>

#include <string>

#include "album/thumbnail_maker.h"
#include "base/handles.h"
#include "base/wnd.h"

class CFileListView;

class ThumbnailCell : public base::CWnd {
 public:
  static constexpr int kFirstId = 2000;
  enum class ThumbnailState { kWanted, kQueued, kMade };

  ThumbnailCell(CFileListView& owner, int index) : m_owner(owner), m_nIndex(index) {}

  // Creates the hidden cell in the list; `details` gives it a thin frame.
  bool Create(HWND list, const RECT& rc, bool details);
  void SetPath(const std::wstring& path) { m_strPath = path; }
  const std::wstring& Path() const { return m_strPath; }
  // 0 for bitmap and video files, 1 for JPEG files.
  void SetKind(int kind) { m_nKind = kind; }
  void SetIndex(int index);
  int Index() const { return m_nIndex; }
  bool IsSelected() const { return m_bSelected; }
  void SetSelected(bool selected);

  // What the thumbnail is made from.
  ThumbnailSource Source() const;
  ThumbnailState State() const { return m_state; }
  // The list's name for the job that makes the thumbnail.
  unsigned Ticket() const { return m_nTicket; }
  void MarkQueued(unsigned ticket);
  void MarkWanted() { m_state = ThumbnailState::kWanted; }
  // The finished thumbnail, which may be empty. A JPEG file that could not be
  // opened or drawn is reported to the user here, once per cell.
  void SetThumbnail(Thumbnail thumbnail);
  bool HasThumbnail() const { return static_cast<bool>(m_bmpThumb); }
  HBITMAP ThumbnailBitmap() const { return m_bmpThumb.Get(); }

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnRButtonDown(WPARAM, LPARAM);
  LRESULT OnLButtonDblClk(WPARAM, LPARAM);

  void Draw(HDC dc);
  void DrawFrame(HDC dc, bool iconMode, bool large);
  void DrawFilmMarks(HDC dc, const RECT& box);
  void DrawLabel(HDC dc, bool large);
  void DrawArtwork(HDC dc, UINT id, int x, int y, COLORREF key = CLR_INVALID);

  CFileListView& m_owner;
  int m_nIndex;
  std::wstring m_strPath;
  bool m_bSelected = false;
  int m_nKind = 0;
  ThumbnailState m_state = ThumbnailState::kWanted;
  unsigned m_nTicket = 0;
  base::Bitmap m_bmpThumb;  // the thumbnail box's size; a 1-bit bitmap file's own size
  int m_nStreams = 0;
};

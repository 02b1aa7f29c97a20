#pragma once
// One file of the file list: a small child window of the list that makes the
// file's thumbnail (bitmap file, first usable clip frame, JPEG picture),
// paints it with the cell frame and the file's name, and turns clicks into
// the list's selection.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstddef>
#include <string>

#include "base/com_ptr.h"
#include "base/handles.h"
#include "base/wnd.h"

class CFileListView;

class ThumbnailCell : public base::CWnd {
 public:
  static constexpr int kFirstId = 2000;
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
  // A bitmap file's contents after its 14-byte file header.
  void SetBitmapData(const BYTE* data, std::size_t size);
  bool HasThumbnail() const { return m_bmpThumb || m_bmpVideo || m_bPictureLoaded; }

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
  void DrawVideo(HDC dc, const RECT& box, bool iconMode);
  void DrawPicture(HDC dc, const RECT& box);
  void DrawLabel(HDC dc, bool large);
  void LoadVideoFrame();
  void LoadPicture();

  CFileListView& m_owner;
  int m_nIndex;
  std::wstring m_strPath;
  bool m_bSelected = false;
  int m_nKind = 0;
  base::Bitmap m_bmpThumb;
  base::Bitmap m_bmpVideo;
  int m_nStreams = 0;
  bool m_bVideoTried = false;
  base::ComPtr<IPicture> m_pPicture;
  OLE_XSIZE_HIMETRIC m_cxPicture = 0;
  OLE_YSIZE_HIMETRIC m_cyPicture = 0;
  bool m_bPictureLoaded = false;
  bool m_bPictureTried = false;
  bool m_bRenderReported = false;
};

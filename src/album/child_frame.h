#pragma once
// The child frame of the standing windows. With the plain layout it holds one
// view (the capture window, the video display); with the album layout it
// carries the album toolbar and splits its client area between the album
// tree and the file list. It tells the main frame and the rest of the
// program when its window goes.
#include "album/album_host.h"
#include "base/frame.h"
#include "base/handles.h"
#include "base/splitter.h"
#include "base/toolbar.h"
#include "core/album_rules.h"

class CFileListView;

class CChildFrame : public base::CMDIChildWnd {
 public:
  static constexpr int kTreeWidth = 100;

  // `host` is the main window that holds the frame.
  explicit CChildFrame(AlbumHost* host) : m_pHost(host) {}

  // The video mode's frame: no caption and no sizing border, the client's
  // blue behind its view. Called once its window exists.
  void MakeBorderless();

 protected:
  const base::MessageMap* GetMessageMap() const override;
  bool OnCreateClient() override;
  void PostNcDestroy() override;

 private:
  bool CreateAlbumLayout();
  void LayoutAlbum();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnNotify(WPARAM, LPARAM);
  void OnNewAlbum();
  void OnCycleDisplayMode();
  void OnBrowse(UINT id);
  void OnMainFrameCommand(UINT id);
  void OnDeleteKey();
  void ShowModeDropDown();

  LRESULT OnEraseBkgnd(WPARAM, LPARAM);

  bool m_bAlbumLayout = false;
  bool m_bBorderless = false;
  base::CToolBar m_wndToolBar;
  base::Bitmap m_bmpTools;
  base::CSplitter m_wndSplitter;
  CFileListView* m_pList = nullptr;
  AlbumHost* m_pHost;
};

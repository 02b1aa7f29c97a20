#pragma once
// The program's main window: a multiple-document frame holding the capture
// and album windows, with a toolbar (hidden in the standard mode), a
// one-pane status bar and the painted MDI client background. It is in one
// of three modes: standard (the two standing windows), image editing (the
// picture on the client area, the editing toolbar and menu) and video (a
// child frame playing a clip).
#include <string>

#include "album/album_host.h"
#include "base/frame.h"
#include "base/handles.h"
#include "base/toolbar.h"
#include "editor/mdi_client_back.h"
#include "player/video_host.h"

enum class FrameMode { kStandard, kEditing, kVideo };

class CMainFrame : public base::CMDIFrameWnd, public AlbumHost, public VideoHost {
 public:
  CMainFrame();

  bool PreTranslateMessage(MSG* msg) override;
  void OnIdleUpdate() override;

  // AlbumHost
  void OpenAlbumFile(std::wstring path) override;
  void RunMainCommand(UINT id) override;
  void WindowClosed(HostedWindow which) override;

  // Opens `path` in the editor, leaving the standard mode.
  void EnterEditMode(std::wstring path);
  // The editing mode without a file (command 32846).
  void EnterEditModeEmpty();
  // Back to the standard mode with the standing windows.
  void LeaveEditMode();
  // Plays the clip `path` in a child frame filling the client area.
  void EnterVideoMode(std::wstring path);
  // Closes the video frame, which brings the standard mode back.
  void LeaveVideoMode();
  // VideoHost: the video frame goes and the picture opens in the editor.
  void EnterEditModeFromVideo(std::wstring path) override;

  FrameMode Mode() const { return m_mode; }

  base::CToolBar m_wndToolBar;
  base::CStatusBar m_wndStatusBar;
  CMdiClientBack m_wndMDIClientBack;
  base::Bitmap m_bmpStandardTools;
  base::Bitmap m_bmpModeTools;
  bool m_bToolBarShown = false;
  bool m_bCaptureOpen = false;
  bool m_bAlbumOpen = false;
  std::wstring m_strEditFile;
  std::wstring m_strIniPath;

 protected:
  const base::MessageMap* GetMessageMap() const override;
  bool OnCreateFrame() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Everything the program does with COM on this thread happens while the
  // frame lives.
  base::ComScope m_com;
  UINT m_uSingleInstanceMessage;
  FrameMode m_mode = FrameMode::kStandard;
  base::CMDIChildWnd* m_pVideoFrame = nullptr;  // the video mode's frame

  bool CreateBars();
  bool LoadToolbarImages(UINT bitmapId, base::Bitmap& into);
  void ShowStandardToolbar();
  void ShowEditingToolbar();
  void ShowModeToolbar(UINT toolbarId, UINT bitmapId);
  void RestoreStandardMode();
  void FillClientWithVideo();
  void SetToolbarTexts();
  void PlaceToolbar();
  void ShowToolbar(bool show);
  void SetMenuOf(FrameMode mode);
  void RefreshFrame();
  void CloseStandingWindows();
  void PlaceAlbumWindow();
  void SetEditTitle(const std::wstring& path);

  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  LRESULT OnMenuSelect(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnToolbarNotify(WPARAM, LPARAM);
  void OnAppExit();
  void OnAppAbout();
  void OnCaptureWindow();
  void OnAlbumWindow();
  void OnToggleToolbar();
  void OnCaptureWindowState(base::CommandState& state);
  void OnAlbumWindowState(base::CommandState& state);
  void OnToolbarState(base::CommandState& state);
  void OnHelp();
};

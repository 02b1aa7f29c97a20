#pragma once
// The program's main window: a multiple-document frame holding the capture
// and album windows, with a toolbar (hidden in the standard mode), a
// one-pane status bar and the painted MDI client background. It is in one
// of three modes: standard (the two standing windows), image editing (the
// picture on the client area, the editing toolbar and menu) and video (a
// child frame playing a clip).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "album/album_host.h"
#include "base/frame.h"
#include "base/handles.h"
#include "base/toolbar.h"
#include "core/picture_files.h"
#include "core/picture_view.h"
#include "editor/mdi_client_back.h"
#include "player/video_host.h"
#include "plugins/common/effect_params.h"

enum class FrameMode { kStandard, kEditing, kVideo };

// The last change of the edited picture, which Undo reverses.
enum class LastEdit { kNone, kRotate, kEffect };

// The five effect plug-ins, in the order of their commands.
enum class Effect { kBrightness, kContrast, kSharpness, kMosaic, kConcaveConvex };

class CMainFrame : public base::CMDIFrameWnd, public AlbumHost, public VideoHost {
 public:
  CMainFrame();

  bool PreTranslateMessage(MSG* msg) override;
  void OnIdleUpdate() override;

  // AlbumHost
  void OpenAlbumFile(std::wstring path) override;
  void RunMainCommand(UINT id) override;
  void WindowClosed(HostedWindow which) override;
  bool SavePictureAs(const std::wstring& source, const std::wstring& target) override;

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

  // The editor (the working copy "temp.bmp" in the edit folder, the
  // display bitmap and the pixel buffer made from it).
  // False (the user told why) when the file could not be opened; nothing
  // of the editor changed then.
  bool LoadEditFile(const std::wstring& path);
  bool ReadDibFile(const std::wstring& path);
  base::Bitmap BitmapFromDib() const;
  bool WriteBitmapFile(HBITMAP bitmap, const std::wstring& path) const;
  bool CheckEditableSize(const BITMAPINFOHEADER* dib);
  void SaveEditedImage();
  void SaveEditedImageAs();
  // True when `target` was written.
  bool SaveEditedImageTo(const std::wstring& target);
  // Draws the picture on `dc` of the MDI client, which lies at `offset` in
  // the frame's client area (the layout is the frame client's).
  void DrawEditImage(HDC dc, POINT offset);
  void ZoomIn();
  void ZoomOut();
  void FitInWindow();
  void ShowActualSize();
  void RotateImage(bool clockwise);
  void UndoEdit();
  void AskSaveIfModified();
  void BuildFolderFileList(const std::wstring& path);
  void ShowPreviousFile();
  void ShowNextFile();
  void ShowFullScreen();
  void OpenInEditor();
  void RunEffect(Effect effect);
  LRESULT OnEffectDone(WPARAM wParam, LPARAM lParam);
  // Print and e-mail (main_frame_print.cpp).
  void PrintEditedFile();
  void SendSelectedFilesByMail();

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

  // The picture being edited.
  base::Bitmap m_hCurBitmap;               // what is drawn, turned and saved
  std::unique_ptr<std::uint8_t[]> m_pDib;  // the working copy behind its file header
  std::uint32_t m_nDibCapacity = 0;
  std::uint32_t m_nDibBytes = 0;  // of the capacity, read from the working copy
  bool m_bEditable = true;
  SIZE m_sizeTooBig{0, 0};  // the last picture over the size limit

  // Its view and history.
  core::ViewMode m_viewMode = core::ViewMode::kNormal;
  LastEdit m_lastEdit = LastEdit::kNone;
  bool m_bModified = false;
  base::Bitmap m_hUndoBitmap;
  core::ZoomState m_zoom;
  core::FolderFiles m_folderFiles;  // the pictures of the edited file's folder

  // The effect plug-in loaded last, kept until the next effect command.
  base::Module m_hEffectModule;
  plugins::EffectParams m_effectParams{};
  std::uint32_t m_effectStatus = 0;

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
  void ShowPictureInEditor(const std::wstring& path);
  void RefreshEditingToolbar();
  bool HasPicture() const { return m_pDib && m_nDibCapacity != 0; }
  bool EffectDialogOpen() const;
  void ShowTooBigMessage() const;
  void ShowFolderFile(int index);
  void StepThroughFolder(int step);
  void AfterPictureChange(base::Bitmap picture, core::ViewMode mode);
  void TakePixels(const std::vector<std::uint8_t>& packed);
  void RedrawPicture();
  void DropEffectModule();

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
  void OnPrintAlbumFile();
  void OnUndo();
  void OnSave();
  void PaintPicture(HDC dc);
  void OnRotateClockwise() { RotateImage(true); }
  void OnRotateAnticlockwise() { RotateImage(false); }
  void OnEffectCommand(UINT id);
  void OnUndoState(base::CommandState& state);
  void OnPictureChangeState(base::CommandState& state);
  void OnFileChangeState(base::CommandState& state);
  void OnSaveState(base::CommandState& state);
  LRESULT OnDestroy(WPARAM, LPARAM);
  void OnListCommand(UINT id);
  void OnListCommandState(base::CommandState& state);
};

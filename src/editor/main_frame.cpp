#include "editor/main_frame.h"

#include <commctrl.h>

#include <utility>

#include "album/child_frame.h"
#include "album/file_list_view.h"
#include "app/lumora_app.h"
#include "settings/settings_file.h"
#include "base/dialog.h"
#include "base/strings.h"
#include "editor/menus.h"
#include "editor/help_command.h"
#include "player/video_display.h"
#include "res/resource.h"

namespace {

const UINT kToolBarId = 0xE800;    // the framework's standard toolbar id
const UINT kStatusBarId = 0xE801;  // and status bar id
const COLORREF kKeyColour = RGB(192, 192, 192);
const COLORREF kBackground = RGB(181, 222, 237);
const int kMinTrackWidth = 600;
const int kMinTrackHeight = 350;
// The mode toolbars' buttons with texts beside their images.
const int kBackButton = 0, kEditPrevButton = 21, kEditNextButton = 22;
const int kVideoPrevButton = 4, kVideoNextButton = 5;

}  // namespace

CMainFrame::CMainFrame()
    : m_strIniPath(settings::SettingsPath()),
      m_uSingleInstanceMessage(::RegisterWindowMessageW(kSingleInstanceMessage)) {}

const base::MessageMap* CMainFrame::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CMainFrame::OnSize>(WM_SIZE),
      base::MessageEntry<&CMainFrame::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
      base::MessageEntry<&CMainFrame::OnMenuSelect>(WM_MENUSELECT),
      base::MessageEntry<&CMainFrame::OnClose>(WM_CLOSE),
      base::MessageEntry<&CMainFrame::OnToolbarNotify>(WM_NOTIFY),
      base::CommandEntry<&CMainFrame::OnAppExit>(ID_APP_EXIT),
      base::CommandEntry<&CMainFrame::OnAppAbout>(ID_APP_ABOUT),
      base::CommandEntry<&CMainFrame::EnterEditModeEmpty>(ID_TB_EDIT_MODE),
      base::CommandEntry<&CMainFrame::LeaveEditMode>(ID_TB_EDIT_BACK),
      base::CommandEntry<&CMainFrame::LeaveVideoMode>(ID_TB_VIDEO_BACK),
      base::CommandEntry<&CMainFrame::OnCaptureWindow>(ID_TB_CAPTURE_WINDOW),
      base::CommandStateEntry<&CMainFrame::OnCaptureWindowState>(ID_TB_CAPTURE_WINDOW),
      base::CommandEntry<&CMainFrame::OnAlbumWindow>(ID_TB_ALBUM_WINDOW),
      base::CommandStateEntry<&CMainFrame::OnAlbumWindowState>(ID_TB_ALBUM_WINDOW),
      base::CommandEntry<&CMainFrame::OnToggleToolbar>(ID_VIEW_TOOLBAR),
      base::CommandStateEntry<&CMainFrame::OnToolbarState>(ID_VIEW_TOOLBAR),
      base::CommandEntry<&CMainFrame::OnHelp>(ID_TB_HELP),
      base::CommandEntry<&CMainFrame::OnHelp>(ID_HELP_HELP),
      base::CommandEntry<&CMainFrame::SendSelectedFilesByMail>(ID_TB_EMAIL),
      base::CommandEntry<&CMainFrame::OnPrintAlbumFile>(ID_TB_PRINT),
      base::CommandEntry<&CMainFrame::PrintEditedFile>(ID_TB_EDIT_PRINT),
      base::MessageEntry<&CMainFrame::OnDestroy>(WM_DESTROY),
      base::MessageEntry<&CMainFrame::OnEffectDone>(plugins::kEffectDoneMessage),
      // The editor's commands.
      base::CommandEntry<&CMainFrame::OpenInEditor>(ID_FILE_OPEN),
      base::CommandEntry<&CMainFrame::OpenInEditor>(ID_TB_EDIT_OPEN),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_FILE_OPEN),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_TB_EDIT_OPEN),
      base::CommandEntry<&CMainFrame::OnSave>(ID_FILE_SAVE),
      base::CommandEntry<&CMainFrame::OnSave>(ID_TB_EDIT_SAVE),
      base::CommandStateEntry<&CMainFrame::OnSaveState>(ID_FILE_SAVE),
      base::CommandEntry<&CMainFrame::SaveEditedImageAs>(ID_FILE_SAVE_AS),
      base::CommandEntry<&CMainFrame::OnUndo>(ID_EDIT_UNDO),
      base::CommandStateEntry<&CMainFrame::OnUndoState>(ID_EDIT_UNDO),
      base::CommandEntry<&CMainFrame::OnRotateClockwise>(ID_IMAGE_ROTATE_CW),
      base::CommandEntry<&CMainFrame::OnRotateClockwise>(ID_TB_EDIT_ROTATE_CW),
      base::CommandEntry<&CMainFrame::OnRotateAnticlockwise>(ID_IMAGE_ROTATE_CCW),
      base::CommandEntry<&CMainFrame::OnRotateAnticlockwise>(ID_TB_EDIT_ROTATE_CCW),
      base::CommandStateRangeEntry<&CMainFrame::OnPictureChangeState>(ID_IMAGE_ROTATE_CW,
                                                                      ID_IMAGE_CONCAVECON),
      base::CommandStateRangeEntry<&CMainFrame::OnPictureChangeState>(ID_TB_EDIT_BRIGHTNESS,
                                                                      ID_TB_EDIT_ROTATE_CW),
      base::CommandRangeEntry<&CMainFrame::OnEffectCommand>(ID_IMAGE_BRIGHTNESS, ID_IMAGE_CONCAVECON),
      base::CommandRangeEntry<&CMainFrame::OnEffectCommand>(ID_TB_EDIT_BRIGHTNESS,
                                                            ID_TB_EDIT_CONCAVECON),
      base::CommandEntry<&CMainFrame::ShowPreviousFile>(ID_VIEW_PREVIOUS_FILE),
      base::CommandEntry<&CMainFrame::ShowPreviousFile>(ID_TB_EDIT_PREV),
      base::CommandEntry<&CMainFrame::ShowNextFile>(ID_VIEW_NEXT_FILE),
      base::CommandEntry<&CMainFrame::ShowNextFile>(ID_TB_EDIT_NEXT),
      base::CommandEntry<&CMainFrame::ShowFullScreen>(ID_VIEW_FULL_SCREEN),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_VIEW_PREVIOUS_FILE),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_TB_EDIT_PREV),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_VIEW_NEXT_FILE),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_TB_EDIT_NEXT),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_VIEW_FULL_SCREEN),
      base::CommandStateEntry<&CMainFrame::OnFileChangeState>(ID_TB_EDIT_BACK),
      base::CommandEntry<&CMainFrame::ZoomIn>(ID_VIEW_ZOOM_IN),
      base::CommandEntry<&CMainFrame::ZoomIn>(ID_TB_EDIT_ZOOM_IN),
      base::CommandEntry<&CMainFrame::ZoomOut>(ID_VIEW_ZOOM_OUT),
      base::CommandEntry<&CMainFrame::ZoomOut>(ID_TB_EDIT_ZOOM_OUT),
      base::CommandEntry<&CMainFrame::ShowActualSize>(ID_VIEW_ONE_TO_ONE),
      base::CommandEntry<&CMainFrame::ShowActualSize>(ID_TB_EDIT_ONE_TO_ONE),
      base::CommandEntry<&CMainFrame::FitInWindow>(ID_VIEW_FIT_IN_WINDOW),
      base::CommandEntry<&CMainFrame::FitInWindow>(ID_TB_EDIT_FIT_IN_WINDOW),
      // Ctrl+X, Ctrl+C and Ctrl+V act on the album's file list.
      base::CommandRangeEntry<&CMainFrame::OnListCommand>(ID_EDIT_DELETE, ID_EDIT_PASTE),
      base::CommandStateRangeEntry<&CMainFrame::OnListCommandState>(ID_EDIT_DELETE, ID_EDIT_PASTE),
  };
  static const base::MessageMap kMap{CMDIFrameWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_uSingleInstanceMessage && message != 0) {
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    return 0;
  }
  return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}

// The hidden toolbar with the standard buttons and the status bar.
bool CMainFrame::CreateBars() {
  const DWORD style = WS_CHILD | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS;
  if (!m_wndToolBar.Create(m_hWnd, style, kToolBarId) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
    return false;
  }
  if (!m_wndStatusBar.Create(m_hWnd, kStatusBarId)) return false;
  m_wndStatusBar.SetText(base::LoadResString(IDS_IDLE_MESSAGE).c_str());
  m_hWndTopBar = m_wndToolBar.m_hWnd;
  m_hWndBottomBar = m_wndStatusBar.m_hWnd;
  return true;
}

// A toolbar bitmap with its light grey turned into the button face.
bool CMainFrame::LoadToolbarImages(UINT bitmapId, base::Bitmap& into) {
  into.Reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                               MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                               LR_CREATEDIBSECTION)));
  if (!into) return false;
  base::ReplaceBitmapColour(into.Get(), kKeyColour, ::GetSysColor(COLOR_BTNFACE));
  return m_wndToolBar.SetBitmap(into.Get());
}

bool CMainFrame::OnCreateFrame() {
  if (!CreateBars() || !LoadToolbarImages(IDB_STANDARD_TOOLS, m_bmpStandardTools)) return false;
  m_bCaptureOpen = m_bAlbumOpen = m_bToolBarShown = true;
  m_wndMDIClientBack.SubclassWindow(m_hWndMDIClient);
  m_wndMDIClientBack.SetBackColor(kBackground);
  m_wndMDIClientBack.SetPaintOver([this](HDC dc) { PaintPicture(dc); });
  return true;
}

bool CMainFrame::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_LBUTTONDOWN && (g_pCaptureFrame || g_pAlbumFrame)) return false;
  return CMDIFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::OnIdleUpdate() { m_wndToolBar.UpdateStates(*this); }

// ------------------------------------------------------------ standing windows

void CMainFrame::OpenAlbumFile(std::wstring path) {
  if (core::IsClipName(path)) {
    EnterVideoMode(path);
  } else {
    EnterEditMode(path);
  }
}

void CMainFrame::RunMainCommand(UINT id) { OnCmdMsg(id); }

// In the standard mode the toolbar, hidden while both standing windows are
// open, comes up with the button that opens the closed one again.
// The video frame going ends the video mode. In the standard mode the
// toolbar, hidden while both standing windows are open, comes up with the
// button that opens the closed one again.
void CMainFrame::WindowClosed(HostedWindow which) {
  const base::CWinApp* app = base::CWinApp::Get();
  const bool running = app && app->m_pMainWnd == this;
  if (which == HostedWindow::kVideo) {
    m_pVideoFrame = nullptr;
    if (running && m_mode == FrameMode::kVideo) RestoreStandardMode();
    return;
  }
  (which == HostedWindow::kCapture ? m_bCaptureOpen : m_bAlbumOpen) = false;
  if (m_mode == FrameMode::kStandard && running) ShowToolbar(true);
}

void CMainFrame::OnCaptureWindow() {
  if (m_bCaptureOpen) {
    if (g_pCaptureFrame) ::DestroyWindow(g_pCaptureFrame->m_hWnd);
    return;
  }
  g_bPlainLayout = true;
  m_bCaptureOpen = theApp.CreateCaptureWindow();
  PlaceAlbumWindow();
  if (m_mode == FrameMode::kStandard && m_bCaptureOpen && m_bAlbumOpen) ShowToolbar(false);
}

void CMainFrame::OnAlbumWindow() {
  if (m_bAlbumOpen) {
    if (g_pAlbumFrame) ::DestroyWindow(g_pAlbumFrame->m_hWnd);
    return;
  }
  theApp.CreateAlbumWindow();
  m_bAlbumOpen = g_pAlbumFrame != nullptr;
  PlaceAlbumWindow();
  if (m_mode == FrameMode::kStandard && m_bCaptureOpen && m_bAlbumOpen) ShowToolbar(false);
}

// An open standing window's button is pressed and disabled.
void CMainFrame::OnCaptureWindowState(base::CommandState& state) {
  state.enabled = !m_bCaptureOpen;
  state.checked = m_bCaptureOpen;
}

void CMainFrame::OnAlbumWindowState(base::CommandState& state) {
  state.enabled = !m_bAlbumOpen;
  state.checked = m_bAlbumOpen;
}

void CMainFrame::CloseStandingWindows() {
  if (g_pCaptureFrame) ::DestroyWindow(g_pCaptureFrame->m_hWnd);
  if (g_pAlbumFrame) ::DestroyWindow(g_pAlbumFrame->m_hWnd);
}

// ---------------------------------------------------------------------- modes

// `path` is a copy: closing the album window ends the list that named it.
// A file that cannot be opened leaves the program where it was.
void CMainFrame::EnterEditMode(std::wstring path) {
  if (path.empty() || !LoadEditFile(path)) return;
  CloseStandingWindows();
  ShowPictureInEditor(path);
}

// The editing mode around the picture just loaded from `path`.
void CMainFrame::ShowPictureInEditor(const std::wstring& path) {
  m_strEditFile = path;
  SetEditTitle(path);
  ShowToolbar(true);
  m_mode = FrameMode::kEditing;
  RefreshEditingToolbar();
  BuildFolderFileList(path);
  SetToolbarTexts();
  SetMenuOf(FrameMode::kEditing);
  RefreshFrame();
  RedrawPicture();
  if (!m_bEditable) ShowTooBigMessage();
}

void CMainFrame::EnterEditModeEmpty() {
  CloseStandingWindows();
  ShowToolbar(true);
  ShowEditingToolbar();
  SetMenuOf(FrameMode::kEditing);
  RefreshFrame();
  m_mode = FrameMode::kEditing;
}

void CMainFrame::LeaveEditMode() {
  if (EffectDialogOpen()) return;
  AskSaveIfModified();
  RestoreStandardMode();
}

// The standard menu, the standing windows at their places, the toolbar
// hidden (unless a standing window could not be opened).
void CMainFrame::RestoreStandardMode() {
  SetMenuOf(FrameMode::kStandard);
  ::SetWindowTextW(m_hWnd, theApp.AppName().c_str());
  m_mode = FrameMode::kStandard;
  ShowToolbar(false);
  ShowStandardToolbar();
  theApp.OpenStandingWindows();
  m_bCaptureOpen = g_pCaptureFrame != nullptr;
  m_bAlbumOpen = g_pAlbumFrame != nullptr;
  PlaceAlbumWindow();
  if (!m_bCaptureOpen || !m_bAlbumOpen) ShowToolbar(true);
  RefreshFrame();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
  ::SetForegroundWindow(m_hWnd);
}

void CMainFrame::EnterVideoMode(std::wstring path) {
  if (path.empty()) return;
  CloseStandingWindows();
  m_mode = FrameMode::kVideo;
  ShowToolbar(true);
  ShowModeToolbar(IDR_VIDEO_TOOLS, IDB_VIDEO_TOOLS);
  SetToolbarTexts();
  ::UpdateWindow(m_hWnd);

  auto* frame = new CChildFrame(this);
  g_bPlainLayout = true;
  if (!frame->LoadFrame(*this, IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, new CVideoDisplay(this, path))) {
    RestoreStandardMode();  // no clip to show: not a video mode without video
    return;
  }
  frame->MakeBorderless();
  m_pVideoFrame = frame;
  const HICON icon = ::LoadIconW(theApp.Instance(), MAKEINTRESOURCEW(IDI_VIDEO_FRAME));
  ::SendMessageW(frame->m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  frame->SetTitle((base::LoadResString(IDS_VIDEO_PLAYING_TITLE) + base::FileNameOf(path) + L")").c_str());
  FillClientWithVideo();
  frame->InitialUpdateFrame();
}

// Leaving the video mode first keeps the frame's end from bringing the
// standard mode back.
// The clip plays on when the picture cannot be opened. The mode changes
// before the video frame goes, so that its closing does not bring back the
// standard mode.
void CMainFrame::EnterEditModeFromVideo(std::wstring path) {
  if (path.empty() || !LoadEditFile(path)) return;
  m_mode = FrameMode::kEditing;
  if (m_pVideoFrame) ::DestroyWindow(m_pVideoFrame->m_hWnd);
  m_pVideoFrame = nullptr;
  ShowPictureInEditor(path);
}

// Closing the video frame ends the video mode (see WindowClosed).
void CMainFrame::LeaveVideoMode() {
  if (m_pVideoFrame) {
    ::DestroyWindow(m_pVideoFrame->m_hWnd);
    ::SetForegroundWindow(m_hWnd);
  } else {
    SetMenuOf(FrameMode::kStandard);
  }
  RefreshFrame();
}

void CMainFrame::FillClientWithVideo() {
  if (!m_pVideoFrame) return;
  RECT rc;
  ::GetClientRect(m_hWndMDIClient, &rc);
  ::MoveWindow(m_pVideoFrame->m_hWnd, 0, 0, rc.right, rc.bottom, TRUE);
}

// "Lumora - Image Editing (" + the file's name + ")".
void CMainFrame::SetEditTitle(const std::wstring& path) {
  const std::wstring title = base::LoadResString(IDS_EDITING_TITLE) + base::FileNameOf(path) + L")";
  ::SetWindowTextW(m_hWnd, title.c_str());
}

// Disabling and enabling the window again redraws its frame and menu bar.
void CMainFrame::RefreshFrame() {
  ::EnableWindow(m_hWnd, FALSE);
  ::EnableWindow(m_hWnd, TRUE);
}

void CMainFrame::SetMenuOf(FrameMode mode) {
  const HMENU menu = mode == FrameMode::kEditing ? LoadEditingMenu(theApp.Instance())
                                                 : LoadStandardMenu(theApp.Instance());
  if (!menu) return;
  const HMENU old = ::GetMenu(m_hWnd);
  ::SetMenu(m_hWnd, menu);
  if (old) ::DestroyMenu(old);
  ::DrawMenuBar(m_hWnd);
}

// ------------------------------------------------------------------- toolbars

void CMainFrame::ShowToolbar(bool show) {
  ::ShowWindow(m_wndToolBar.m_hWnd, show ? SW_SHOW : SW_HIDE);
  RecalcLayout();
}

void CMainFrame::ShowStandardToolbar() {
  m_wndToolBar.LoadToolBar(IDR_MAINFRAME);
  LoadToolbarImages(IDB_STANDARD_TOOLS, m_bmpStandardTools);
  m_bmpModeTools.Reset();
  RecalcLayout();
}

void CMainFrame::ShowEditingToolbar() { ShowModeToolbar(IDR_EDIT_TOOLS, IDB_EDIT_TOOLS); }

// The editing buttons for the picture shown: the greyed set of images and
// disabled effect and rotation buttons for a picture over the size limit.
void CMainFrame::RefreshEditingToolbar() {
  ShowModeToolbar(IDR_EDIT_TOOLS, m_bEditable ? IDB_EDIT_TOOLS : IDB_EDIT_TOOLS_BIG);
  m_wndToolBar.UpdateStates(*this);
}

void CMainFrame::ShowModeToolbar(UINT toolbarId, UINT bitmapId) {
  m_wndToolBar.LoadToolBar(toolbarId);
  LoadToolbarImages(bitmapId, m_bmpModeTools);
  RecalcLayout();
}

// "Back" beside the first button, "Prev" and "Next" beside theirs (of the
// editing or the video toolbar, by the mode); every button sizes itself to
// its image and text.
void CMainFrame::SetToolbarTexts() {
  const HWND bar = m_wndToolBar.m_hWnd;
  const bool video = m_mode == FrameMode::kVideo;
  const std::pair<int, UINT> texts[] = {
      {kBackButton, IDS_TB_BACK},
      {video ? kVideoPrevButton : kEditPrevButton, video ? IDS_TB_VIDEO_PREV : IDS_TB_EDIT_PREV},
      {video ? kVideoNextButton : kEditNextButton, video ? IDS_TB_VIDEO_NEXT : IDS_TB_EDIT_NEXT}};
  const auto& commands = m_wndToolBar.Commands();
  for (int i = 0; i < static_cast<int>(commands.size()); ++i) {
    if (commands[static_cast<std::size_t>(i)] == 0) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE;
    ::SendMessageW(bar, TB_GETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
    info.fsStyle |= BTNS_AUTOSIZE;
    std::wstring text;
    for (const auto& [button, id] : texts) {
      if (button == i) text = base::LoadResString(id);
    }
    if (!text.empty()) {
      info.dwMask |= TBIF_TEXT;
      info.pszText = text.data();
    }
    ::SendMessageW(bar, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  }
  ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  RecalcLayout();
  PlaceToolbar();
}

// Two pixels outside the client area, so that no border line shows.
void CMainFrame::PlaceToolbar() {
  RECT rc;
  ::GetWindowRect(m_wndToolBar.m_hWnd, &rc);
  ::MoveWindow(m_wndToolBar.m_hWnd, -2, -2, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CMainFrame::OnToggleToolbar() {
  m_bToolBarShown = !m_bToolBarShown;
  ShowToolbar(m_bToolBarShown);
}

void CMainFrame::OnToolbarState(base::CommandState& state) { state.checked = m_bToolBarShown; }

LRESULT CMainFrame::OnToolbarNotify(WPARAM, LPARAM lParam) {
  return base::AnswerToolTip(lParam) ? 0 : Default();
}

// -------------------------------------------------------------- frame events

// The album window keeps filling the room beside the capture window; in the
// editing and video modes the toolbar keeps its place.
LRESULT CMainFrame::OnSize(WPARAM wParam, LPARAM lParam) {
  CMDIFrameWnd::OnSize(wParam, lParam);
  PlaceAlbumWindow();
  FillClientWithVideo();
  if (m_mode != FrameMode::kStandard) PlaceToolbar();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  if (m_mode == FrameMode::kEditing) RedrawPicture();
  return 0;
}

// Beside the capture window, down to 64 pixels above the client's bottom.
void CMainFrame::PlaceAlbumWindow() {
  if (!g_pCaptureFrame || !g_pAlbumFrame) return;
  RECT capture;
  RECT client;
  ::GetWindowRect(g_pCaptureFrame->m_hWnd, &capture);
  ::GetClientRect(m_hWnd, &client);
  const int captureWidth = capture.right - capture.left;
  ::MoveWindow(g_pAlbumFrame->m_hWnd, captureWidth, 0, client.right - captureWidth - 3,
               client.bottom - 64, TRUE);
}

// Closing the window while editing goes back to the standard mode; only a
// close in the standard mode ends the program.
LRESULT CMainFrame::OnClose(WPARAM, LPARAM) {
  switch (m_mode) {
    case FrameMode::kEditing:
      if (EffectDialogOpen()) return 0;  // the plug-in's dialog finishes first
      LeaveEditMode();
      if (m_pVideoFrame) LeaveVideoMode();
      return 0;
    case FrameMode::kVideo:
      LeaveVideoMode();
      return 0;
    case FrameMode::kStandard:
      break;
  }
  return Default();
}

LRESULT CMainFrame::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
  return 0;
}

// Menu prompts in the status bar: the text before "\n" of the command's
// string; the idle text when the menu closes.
LRESULT CMainFrame::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  std::wstring text;
  if (flags == 0xFFFF && lParam == 0) {
    text = base::LoadResString(IDS_IDLE_MESSAGE);
  } else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
    text = base::LoadResString(id);
    text = text.substr(0, text.find(L'\n'));
  }
  m_wndStatusBar.SetText(text.c_str());
  return 0;
}

// Ends the program at once, in any mode, without asking.
void CMainFrame::OnAppExit() { DestroyWindow(); }

void CMainFrame::OnAppAbout() { base::CDialog(IDD_ABOUTBOX, m_hWnd).DoModal(); }

void CMainFrame::OnHelp() {
  editor::ShowHelp(g_strProgramFolder, ::GetUserDefaultUILanguage(), editor::StartProcess);
}

// ------------------------------------------------------------------- editor

// The album's "Save as" of a picture: through the editor's buffers.
bool CMainFrame::SavePictureAs(const std::wstring& source, const std::wstring& target) {
  return LoadEditFile(source) && SaveEditedImageTo(target);
}

// Ctrl+X deletes the selected files (with the list's question, into the
// Recycle Bin), Ctrl+C copies them, Ctrl+V pastes.
void CMainFrame::OnListCommand(UINT id) {
  if (!g_pFileListView) return;
  const UINT listCommand = id == ID_EDIT_DELETE ? ID_IMAGE_DELETE
                           : id == ID_EDIT_COPY ? ID_ALBUM_COPY
                                                : ID_ALBUM_PASTE;
  g_pFileListView->OnCmdMsg(listCommand);
}

void CMainFrame::OnListCommandState(base::CommandState& state) {
  const CFileListView* list = g_pFileListView;
  const bool usable = list && m_mode != FrameMode::kVideo;
  state.enabled = usable && (state.id == ID_EDIT_PASTE ? list->HasCopiedFiles() : list->CurrentIndex() >= 0);
}

// The picture of the editing mode over the MDI client's background.
void CMainFrame::PaintPicture(HDC dc) {
  if (m_mode != FrameMode::kEditing || m_strEditFile.empty()) return;
  POINT origin{0, 0};
  ::MapWindowPoints(m_hWndMDIClient, m_hWnd, &origin, 1);
  DrawEditImage(dc, origin);
}

void CMainFrame::OnSave() {
  if (m_mode == FrameMode::kEditing) SaveEditedImage();
}

void CMainFrame::OnUndo() { UndoEdit(); }

void CMainFrame::OnSaveState(base::CommandState& state) { state.enabled = m_mode != FrameMode::kVideo; }

void CMainFrame::OnUndoState(base::CommandState& state) {
  state.enabled = m_bModified && !EffectDialogOpen();
}

// Rotations and effects: a picture within the size limit in the editing
// mode; rotations also wait for an open effect dialog.
void CMainFrame::OnPictureChangeState(base::CommandState& state) {
  const bool rotation = state.id == ID_IMAGE_ROTATE_CW || state.id == ID_IMAGE_ROTATE_CCW ||
                        state.id == ID_TB_EDIT_ROTATE_CW || state.id == ID_TB_EDIT_ROTATE_CCW;
  state.enabled = m_mode == FrameMode::kEditing && HasPicture() && m_bEditable &&
                  !(rotation && EffectDialogOpen());
}

// Commands that replace the picture or leave it wait for an open effect
// dialog, whose plug-in works on the picture's buffer.
void CMainFrame::OnFileChangeState(base::CommandState& state) { state.enabled = !EffectDialogOpen(); }

// The plug-in goes while the window still exists: its dialog closes and
// its last notification finds the picture in place.
LRESULT CMainFrame::OnDestroy(WPARAM wParam, LPARAM lParam) {
  DropEffectModule();
  m_wndMDIClientBack.SetPaintOver(nullptr);
  return CMDIFrameWnd::OnDestroy(wParam, lParam);
}

#include "app/lumora_app.h"

#include <windows.h>

#include <commctrl.h>

#include "album/child_frame.h"
#include "album/file_tree_view.h"
#include "app/driver_mark.h"
#include "app/startup_checks.h"
#include "base/message_box.h"
#include "base/process.h"
#include "base/strings.h"
#include "capturewin/video_wnd_view.h"
#include "core/startup_rules.h"
#include "core/text.h"
#include "editor/main_frame.h"
#include "editor/menus.h"
#include "recorder/clip_recovery.h"
#include "res/resource.h"
#include "settings/settings_file.h"

base::CMDIChildWnd* g_pCaptureFrame = nullptr;
base::CMDIChildWnd* g_pAlbumFrame = nullptr;
bool g_bPlainLayout = true;
std::wstring g_strProgramFolder;

CLumoraApp theApp;

namespace {

// The still-image service is stopped while the program runs.
constexpr wchar_t kStopService[] = L"net stop \"Snapvisor\"";
constexpr wchar_t kStartService[] = L"net start \"Snapvisor\"";

// Starts the system's net command with a hidden window and does not wait.
// The system folder's net.exe, by its full path.
void RunNet(const wchar_t* commandLine) {
  const std::wstring net = base::ProgramIn(&::GetSystemDirectoryW, L"net.exe");
  if (!net.empty()) base::StartProgram(net, commandLine, SW_HIDE, CREATE_NO_WINDOW);
}

}  // namespace

CLumoraApp::CLumoraApp() : CWinApp(L"Lumora") {}

CMainFrame* CLumoraApp::MainFrame() const { return static_cast<CMainFrame*>(m_pMainWnd); }

BOOL CLumoraApp::InitInstance() {
  if (!app::PassStartupChecks(app::PlatformStartupEnvironment())) return FALSE;
  if (!TakeSingleInstance()) return FALSE;
  RunNet(kStopService);
  g_strProgramFolder = settings::ProgramFolder();

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  SetRegistryKey(L"Local AppWizard-Generated Applications");

  auto* frame = new CMainFrame;
  if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) return FALSE;
  m_pMainWnd = frame;
  // Before the album lists them: a clip cut off last time is whole again.
  const std::vector<std::wstring> repaired =
      recorder::RepairCutOffClips(settings::RecordingNoteFolder());

  LoadStartupMenu();
  ::SetWindowTextW(frame->m_hWnd, L"Lumora");
  ::UpdateWindow(frame->m_hWnd);
  OpenStandingWindows();
  SizeMainFrame();
  m_strMarkedDriverKey = app::MarkDriverInUse();
  TellRepairedClips(repaired);
  return TRUE;
}

void CLumoraApp::TellRepairedClips(const std::vector<std::wstring>& clips) {
  if (clips.empty()) return;
  std::wstring names;
  for (const std::wstring& clip : clips) names += (names.empty() ? L"" : L"\n") + clip;
  base::AppMessageBox(base::FormatResString(IDS_CLIPS_REPAIRED, names), MB_ICONINFORMATION);
}

// One running copy: a second one wakes the first one's main window and ends.
bool CLumoraApp::TakeSingleInstance() {
  m_hMutex.Reset(::CreateMutexW(nullptr, FALSE, L"NORVEX"));
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return true;
  DWORD recipients = BSM_APPLICATIONS;
  ::BroadcastSystemMessageW(BSF_NOHANG, &recipients,
                            ::RegisterWindowMessageW(kSingleInstanceMessage), 0, 0);
  return false;
}

void CLumoraApp::LoadStartupMenu() {
  HWND frame = m_pMainWnd->m_hWnd;
  HMENU menu = LoadStandardMenu(Instance());
  if (!menu) return;
  HMENU old = ::GetMenu(frame);
  ::SetMenu(frame, menu);
  if (old) ::DestroyMenu(old);
  ::DrawMenuBar(frame);
}

void CLumoraApp::OpenStandingWindows() {
  if (!CreateCaptureWindow()) return;
  CreateAlbumWindow();
}

bool CLumoraApp::CreateCaptureWindow() {
  CMainFrame* main = MainFrame();
  if (!main) return false;
  auto* frame = new CChildFrame(main);
  if (!frame->LoadFrame(*main, IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, new CVideoWndView)) {
    return false;
  }
  base::RemoveWindowStyle(frame->m_hWnd, WS_THICKFRAME);
  g_strProgramFolder = settings::ProgramFolder();
  m_strIniPath = settings::SettingsPath();
  frame->InitialUpdateFrame();

  std::string windowSize;
  if (settings::Read(settings::kInit, m_strIniPath) == "FALSE") {
    windowSize = "352x288";
    settings::Write(settings::kWindowSize, windowSize, m_strIniPath);
    settings::Write(settings::kDeviceResolution, windowSize, m_strIniPath);
  } else {
    windowSize = settings::Read(settings::kWindowSize, m_strIniPath);
  }
  if (auto size = core::CaptureFrameSize(windowSize)) {
    ::MoveWindow(frame->m_hWnd, 0, 0, size->cx, size->cy, TRUE);
  }

  g_pCaptureFrame = frame;
  ::GetClientRect(main->m_hWnd, &m_rcMainClient);
  ::GetClientRect(frame->m_hWnd, &m_rcCaptureClient);
  m_nFreeWidth = m_rcMainClient.right - m_rcCaptureClient.right;
  frame->SetTitle(base::LoadResString(IDS_VIDEO_TITLE).c_str());
  return true;
}

void CLumoraApp::CreateAlbumWindow() {
  CMainFrame* main = MainFrame();
  if (!main) return;
  g_bPlainLayout = false;
  auto* frame = new CChildFrame(main);
  const bool created =
      frame->LoadFrame(*main, IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, new CFileTreeView);
  g_bPlainLayout = true;
  if (!created) return;

  const core::Rect place = core::AlbumFramePlace(m_rcMainClient.right, m_rcCaptureClient.right,
                                                 m_rcMainClient.bottom);
  ::MoveWindow(frame->m_hWnd, place.x, place.y, place.cx, place.cy, TRUE);
  frame->InitialUpdateFrame();
  g_pAlbumFrame = frame;
  frame->SetTitle(base::LoadResString(IDS_ALBUM_TITLE).c_str());
  ::SendMessageW(main->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd),
                 0);
}

// 800 x 600 (960 x 680 for a 640x480 video window), centred; maximised on a
// screen no wider than that.
void CLumoraApp::SizeMainFrame() {
  HWND hwnd = m_pMainWnd->m_hWnd;
  const std::string windowSize =
      core::ToLowerAscii(settings::Read(settings::kWindowSize, m_strIniPath));
  const core::Size size = core::MainFrameSize(windowSize);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  if (core::ShowMainFrameMaximised(screenWidth, size)) {
    ::ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  } else {
    const int x = (screenWidth - size.cx) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    ::MoveWindow(hwnd, x, y > 0 ? y : 0, size.cx, size.cy, TRUE);
    ::ShowWindow(hwnd, SW_SHOW);
  }
  ::UpdateWindow(hwnd);
}

// Removes the working files that editing and printing write into the
// editor's working folder (documents + "\Lumora\Edit"), then the folder
// when that leaves it empty. Nothing else there is touched: any other file
// in it is the user's.
void CLumoraApp::CleanEditFolder() {
  const std::wstring folder = settings::EditFolder();
  if (folder.empty()) return;
  for (const wchar_t* name : {L"temp.bmp", L"changed.bmp", L"PrintTempFile.bmp"}) {
    ::DeleteFileW((folder + L"\\" + name).c_str());
  }
  ::RemoveDirectoryW(folder.c_str());
}

int CLumoraApp::ExitInstance() {
  CleanEditFolder();
  settings::Write(settings::kIndex, "0", m_strIniPath);
  app::ClearDriverMark(m_strMarkedDriverKey);
  RunNet(kStartService);
  return CWinApp::ExitInstance();
}

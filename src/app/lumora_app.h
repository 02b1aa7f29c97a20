#pragma once
// The application object: start-up checks, the single running copy, the
// still-image service stop and restart, the main frame with its two standing
// windows, and the exit that undoes what start-up marked.
#include <string>
#include <vector>

#include "base/app.h"
#include "base/frame.h"
#include "base/handles.h"

class CMainFrame;

// Process-wide values other windows reach through the application.
extern base::CMDIChildWnd* g_pCaptureFrame;  // the capture window's frame
extern base::CMDIChildWnd* g_pAlbumFrame;    // the album window's frame
// Read by the child frames as they build their client area: on for the plain
// layout, off (only while the album window is created) for the album layout.
extern bool g_bPlainLayout;
// The folder of the running program, with a trailing backslash.
extern std::wstring g_strProgramFolder;

// The text all copies register to find each other's main window.
inline constexpr wchar_t kSingleInstanceMessage[] = L"{D48CA924-4925-41cb-8F56-ABAAAFCEF787}";

class CLumoraApp : public base::CWinApp {
 public:
  CLumoraApp();

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Creates the capture window, then the album window, and activates the
  // album window.
  void OpenStandingWindows();
  // The capture window alone, at its place and size; false when it could
  // not be created.
  bool CreateCaptureWindow();
  void CreateAlbumWindow();

  const std::wstring& SettingsPath() const { return m_strIniPath; }
  CMainFrame* MainFrame() const;

 private:
  bool TakeSingleInstance();
  void LoadStartupMenu();
  void SizeMainFrame();
  void CleanEditFolder();
  static void TellRepairedClips(const std::vector<std::wstring>& clips);

  std::wstring m_strIniPath;
  // The driver key whose "StatusReport" start-up marked; exit unmarks it.
  std::string m_strMarkedDriverKey;
  base::KernelHandle m_hMutex;
  RECT m_rcCaptureClient{};
  RECT m_rcMainClient{};
  int m_nFreeWidth = 0;
};

extern CLumoraApp theApp;

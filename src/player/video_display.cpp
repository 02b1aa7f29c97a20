#include "player/video_display.h"


#include <utility>
#include <vector>

#include "album/album_store.h"
#include "album/new_file_open_dlg.h"
#include "base/file_dialog.h"
#include "base/file_io.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "editor/menus.h"
#include "player/player_control.h"
#include "player/video_host.h"
#include "res/resource.h"
#include "settings/settings_file.h"

using player::PlayerOption;
using player::PlayState;

namespace {

const COLORREF kBackground = RGB(181, 222, 237);
const wchar_t kFallbackFolder[] = L"c:\\temp";

// The clips of `folder` (with its trailing backslash) in the order of the
// folder search.
std::vector<std::wstring> FolderClips(const std::wstring& folder) {
  std::vector<std::wstring> clips;
  WIN32_FIND_DATAW data;
  base::FindHandle find(::FindFirstFileW((folder + L"*.avi").c_str(), &data));
  if (!find) return clips;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      clips.push_back(folder + data.cFileName);
  } while (::FindNextFileW(find.Get(), &data));
  return clips;
}

}  // namespace

CVideoDisplay::CVideoDisplay(VideoHost* host, std::wstring path)
    : base::CFormView(IDD_VIDEO_DISPLAY),
      m_pHost(host),
      m_strCurrentFile(std::move(path)),
      m_brBackground(::CreateSolidBrush(kBackground)) {}

const base::MessageMap* CVideoDisplay::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CVideoDisplay::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&CVideoDisplay::OnSize>(WM_SIZE),
      base::CommandEntry<&CVideoDisplay::OnOpenFile>(ID_TB_VIDEO_OPEN),
      base::CommandEntry<&CVideoDisplay::OnOpenFile>(ID_FILE_OPEN),
      base::CommandEntry<&CVideoDisplay::OnSaveCopy>(ID_TB_VIDEO_SAVE),
      base::CommandEntry<&CVideoDisplay::OnSaveCopy>(ID_FILE_SAVE_AS),
      base::CommandEntry<&CVideoDisplay::OnPreviousClip>(ID_TB_VIDEO_PREV),
      base::CommandEntry<&CVideoDisplay::OnNextClip>(ID_TB_VIDEO_NEXT),
  };
  static const base::MessageMap kMap{base::CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

// The form names the player's window class: it must exist first.
bool CVideoDisplay::CreateView(HWND parent, UINT id) {
  return player::CPlayerControl::Register() && CFormView::CreateView(parent, id);
}

void CVideoDisplay::OnInitialUpdate() {
  m_strIniPath = settings::SettingsPath();
  m_wndMediaPlayer.Attach(GetDlgItem(IDC_MEDIA_PLAYER));
  const HWND main = ::GetAncestor(m_hWnd, GA_ROOT);
  if (HMENU menu = LoadVideoMenu(::GetModuleHandleW(nullptr))) {
    const HMENU old = ::GetMenu(main);
    ::SetMenu(main, menu);
    if (old) ::DestroyMenu(old);
    ::DrawMenuBar(main);
  }
  SetMainTitle();
  SetUpFile();
  FocusPlayer();
}

// The clip into the player with the display options, then centred. A clip
// that cannot be played says so.
void CVideoDisplay::SetUpFile() {
  const HRESULT hr = m_wndMediaPlayer.SetFileName(m_strCurrentFile);
  const std::pair<PlayerOption, bool> options[] = {
      {PlayerOption::kStretchToFit, false}, {PlayerOption::kMute, false},
      {PlayerOption::kLoop, false},         {PlayerOption::kClickToPause, false},
      {PlayerOption::kRewindAtEnd, true},   {PlayerOption::kShowPositionBar, true},
      {PlayerOption::kAutoSize, true},      {PlayerOption::kAutoStart, true}};
  for (const auto& [option, on] : options) m_wndMediaPlayer.SetOption(option, on);
  CenterPlayer();
  if (FAILED(hr)) base::AppMessageBox(base::LoadResString(IDS_VIDEO_CANNOT_PLAY));
}

void CVideoDisplay::CenterPlayer() {
  RECT rc{};
  ::GetWindowRect(m_wndMediaPlayer.GetSafeHwnd(), &rc);
  m_playerSize = {rc.right - rc.left, rc.bottom - rc.top};
  RecenterPlayer();
}

void CVideoDisplay::RecenterPlayer() {
  const HWND player = m_wndMediaPlayer.GetSafeHwnd();
  if (!player) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  ::SetWindowPos(player, nullptr, core::CentredOffset(client.right, m_playerSize.cx),
                 core::CentredOffset(client.bottom, m_playerSize.cy), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CVideoDisplay::FocusPlayer() {
  if (m_wndMediaPlayer.GetSafeHwnd()) ::SetFocus(m_wndMediaPlayer.GetSafeHwnd());
}

LRESULT CVideoDisplay::OnSize(WPARAM, LPARAM) {
  RecenterPlayer();
  return 0;
}

LRESULT CVideoDisplay::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  ::FillRect(reinterpret_cast<HDC>(wParam), &rc, m_brBackground.Get());
  return TRUE;
}

// "Lumora - Playing Video (" + the clip's name + ")" on the main window; the
// frame's own title follows.
void CVideoDisplay::SetMainTitle() {
  const std::wstring name = base::FileNameOf(m_strCurrentFile) + L")";
  ::SetWindowTextW(::GetAncestor(m_hWnd, GA_ROOT),
                   (base::LoadResString(IDS_VIDEO_MAIN_TITLE) + name).c_str());
  if (base::CMDIChildWnd* frame = GetParentFrame()) {
    frame->SetTitle((base::LoadResString(IDS_VIDEO_PLAYING_TITLE) + name).c_str());
  }
}

// The open or save dialog, starting in the folder new clips go to; false
// when the user cancels or gives no name.
// The clip or picture to open, chosen in the import dialog, which may also
// copy it into an album first; empty when the user cancels.
std::wstring CVideoDisplay::AskOpenPath() const {
  const HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
  CNewFileOpenDlg dialog(owner, album::LoadAlbumList(m_strIniPath),
                         base::Widen(settings::Read(settings::kCurrentSelectAlbum, m_strIniPath)));
  dialog.m_bImport = false;
  if (!dialog.DoModal(base::LoadResString(IDS_VIDEO_OPEN_TITLE), base::LoadResString(IDS_VIDEO_OPEN_FILTER))) {
    return {};
  }
  if (const auto album = dialog.ChosenAlbum()) ImportIntoAlbum(owner, dialog.m_strPath, *album);
  return dialog.m_strPath;
}

// Where a copy of the clip goes; replacing another file is the user's
// decision, asked for.
std::optional<std::wstring> CVideoDisplay::AskCopyPath() const {
  std::wstring folder = base::Widen(settings::Read(settings::kCapturedVideoFilePath, m_strIniPath));
  if (folder.empty()) folder = kFallbackFolder;
  const base::FileDialogSpec spec{base::LoadResString(IDS_VIDEO_SAVE_TITLE),
                                  base::LoadResString(IDS_VIDEO_SAVE_FILTER), L"avi", folder, L"", true};
  return base::AskSaveFileName(::GetAncestor(m_hWnd, GA_ROOT), spec);
}

// ---------------------------------------------------------------- commands

void CVideoDisplay::OnOpenFile() {
  ::ShowWindow(m_hWnd, SW_HIDE);
  m_wndMediaPlayer.SetFileName(L"");
  if (std::wstring path = AskOpenPath(); !path.empty()) {
    ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    if (path.ends_with(L".AVI")) {
      m_strCurrentFile = path;
      SetMainTitle();
    } else if (path.ends_with(L".BMP") || path.ends_with(L".JPG") || path.ends_with(L".JPEG")) {
      // When the picture opens, the host closes this view's frame and nothing
      // of this object may be used after; otherwise the clip plays on.
      const HWND self = m_hWnd;
      m_pHost->EnterEditModeFromVideo(std::move(path));
      if (!::IsWindow(self)) return;
    } else {
      base::AppMessageBox(base::LoadResString(IDS_VIDEO_WRONG_FILE));
    }
  }
  if (!m_strCurrentFile.empty()) SetUpFile();
  ::ShowWindow(m_hWnd, SW_SHOW);
  m_wndMediaPlayer.Play();
  FocusPlayer();
}

// A copy of the clip under a name the user gives; the clip goes on playing.
void CVideoDisplay::OnSaveCopy() {
  if (m_wndMediaPlayer.GetPlayState() == PlayState::kPlaying) m_wndMediaPlayer.Pause();
  const auto copy = AskCopyPath();
  if (copy && ::lstrcmpiW(copy->c_str(), m_strCurrentFile.c_str()) != 0) {
    base::ReplaceFileWithCopyOf(*copy, m_strCurrentFile);
  }
  m_wndMediaPlayer.Play();
  FocusPlayer();
}

void CVideoDisplay::OnPreviousClip() { StepClip(core::ClipStep::kPrevious); }
void CVideoDisplay::OnNextClip() { StepClip(core::ClipStep::kNext); }

void CVideoDisplay::StepClip(core::ClipStep step) {
  const std::wstring folder = m_strCurrentFile.substr(0, m_strCurrentFile.rfind(L'\\') + 1);
  const std::vector<std::wstring> clips = FolderClips(folder);
  const auto next = core::NeighbourClip(clips, step, [&](const std::wstring& clip) {
    return ::lstrcmpiW(clip.c_str(), m_strCurrentFile.c_str()) == 0;
  });
  if (!next) {
    base::AppMessageBox(base::LoadResString(
        step == core::ClipStep::kPrevious ? IDS_VIDEO_FIRST_FILE : IDS_VIDEO_LAST_FILE));
    return;
  }
  m_wndMediaPlayer.Stop();
  m_wndMediaPlayer.SetFileName(L"");
  m_strCurrentFile = clips[*next];
  SetUpFile();
  m_wndMediaPlayer.Play();
  SetMainTitle();
  FocusPlayer();
}

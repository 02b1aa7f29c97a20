#pragma once
// The video mode's view: a form (dialog 214) whose only control is the
// player (1072). It plays the clip it was given, centred on a light blue
// background, gives the main window its reduced menu and title, opens
// another file, saves a copy of the clip and steps to the previous or next
// clip of the same folder.
#include <optional>
#include <string>

#include "base/frame.h"
#include "base/handles.h"
#include "core/player_rules.h"
#include "player/media_player2.h"

class VideoHost;

class CVideoDisplay : public base::CFormView {
 public:
  // `host` is the main window; `path` the clip to play.
  CVideoDisplay(VideoHost* host, std::wstring path);

  bool CreateView(HWND parent, UINT id) override;
  void OnInitialUpdate() override;
  // Centres the player with the size measured last (also on every size
  // change of the view).
  void RecenterPlayer();

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  void SetUpFile();
  void CenterPlayer();
  void SetMainTitle();
  void StepClip(core::ClipStep step);
  void FocusPlayer();
  std::wstring AskOpenPath() const;
  std::optional<std::wstring> AskCopyPath() const;

  void OnOpenFile();
  void OnSaveCopy();
  void OnPreviousClip();
  void OnNextClip();
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);

  CMediaPlayer2 m_wndMediaPlayer;
  VideoHost* m_pHost;
  std::wstring m_strCurrentFile;
  std::wstring m_strIniPath;
  SIZE m_playerSize{};
  base::Brush m_brBackground;
};

#pragma once
// The video display's handle on its player control (dialog control 1072):
// the clip by path, the display options, play, pause, stop and the play
// state.
#include <windows.h>

#include <string>

#include "player/player_api.h"

class CMediaPlayer2 {
 public:
  void Attach(HWND control) { m_hWnd = control; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // Loads the clip (the empty text closes it); S_OK when it can be played.
  HRESULT SetFileName(const std::wstring& path);
  void SetOption(player::PlayerOption option, bool on);
  player::PlayState GetPlayState() const;
  void Play();
  void Pause();
  void Stop();

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  HWND m_hWnd = nullptr;
};

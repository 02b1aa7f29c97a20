#include "player/media_player2.h"

using player::PlayState;

LRESULT CMediaPlayer2::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return m_hWnd ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

HRESULT CMediaPlayer2::SetFileName(const std::wstring& path) {
  if (!m_hWnd) return E_HANDLE;
  return static_cast<HRESULT>(
      Send(player::kPlayerSetFile, 0, reinterpret_cast<LPARAM>(path.c_str())));
}

void CMediaPlayer2::SetOption(player::PlayerOption option, bool on) {
  Send(player::kPlayerSetOption, static_cast<WPARAM>(option), on ? TRUE : FALSE);
}

PlayState CMediaPlayer2::GetPlayState() const {
  return static_cast<PlayState>(Send(player::kPlayerGetPlayState));
}

void CMediaPlayer2::Play() { Send(player::kPlayerPlay); }
void CMediaPlayer2::Pause() { Send(player::kPlayerPause); }
void CMediaPlayer2::Stop() { Send(player::kPlayerStop); }

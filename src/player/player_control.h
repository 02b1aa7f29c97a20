#pragma once
// The player control: a window class of this program that plays one clip
// file through a DirectShow graph inside its own window. The graph's video
// window is a child of the control, the position bar (dragging seeks) and
// the elapsed and total time lie under the picture, and the space bar plays
// or pauses. Graph events arrive as a window message; the graph goes when
// the clip changes and when the window is destroyed.
#include <dshow.h>
// windowsx.h (through dshow.h) would turn the framework's member of this
// name into a macro call.
#undef SubclassWindow

#include <cstdint>
#include <string>

#include "base/com_ptr.h"
#include "base/wnd.h"
#include "player/player_api.h"

namespace player {

class CPlayerControl : public base::CWnd {
 public:
  // Registers the window class once; dialog templates may then name it.
  static bool Register();

  // The height of the position bar under the picture.
  static constexpr int kBarHeight = 26;
  // The control is never narrower than this, so that the times fit.
  static constexpr int kMinWidth = 240;

 protected:
  const base::MessageMap* GetMessageMap() const override;
  void PostNcDestroy() override { delete this; }

 private:
  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HRESULT Load(const std::wstring& path);
  void Unload();
  void Play();
  void Pause();
  void Stop();
  void SeekTo(std::int64_t milliseconds);
  std::int64_t PositionMs() const;
  void AtEnd();
  void SetState(PlayState state);
  void SizeToClip();
  void Layout();
  void ShowPosition();
  // The flag of `option`, or null for a number that names none.
  bool* OptionFlag(PlayerOption option);

  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnHScroll(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnGetDlgCode(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnSetFile(WPARAM, LPARAM);
  LRESULT OnSetOption(WPARAM, LPARAM);
  LRESULT OnPlay(WPARAM, LPARAM);
  LRESULT OnPause(WPARAM, LPARAM);
  LRESULT OnStop(WPARAM, LPARAM);
  LRESULT OnGetPlayState(WPARAM, LPARAM);
  LRESULT OnGraphEvent(WPARAM, LPARAM);

  base::ComPtr<IGraphBuilder> m_pGraph;
  base::ComPtr<IMediaControl> m_pMediaControl;
  base::ComPtr<IMediaSeeking> m_pSeeking;
  base::ComPtr<IMediaEventEx> m_pEvents;
  base::ComPtr<IVideoWindow> m_pVideoWindow;  // null for a clip without video
  base::ComPtr<IBasicAudio> m_pAudio;
  SIZE m_videoSize{};
  std::int64_t m_durationMs = 0;
  PlayState m_state = PlayState::kStopped;
  bool m_bDragging = false;
  HWND m_hPositionBar = nullptr;
  HWND m_hTimeText = nullptr;
  struct Options {
    bool loop = false;
    bool showPositionBar = true;
    bool mute = false;
    bool autoStart = true;
    bool stretchToFit = false;
    bool autoSize = true;
    bool clickToPause = false;
    bool rewindAtEnd = true;
  } m_options;
};

}  // namespace player

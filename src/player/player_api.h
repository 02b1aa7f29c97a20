#pragma once
// The player control's window class and the messages other windows (and
// tests) send it. Only plain values cross these messages, apart from the
// file path of kPlayerSetFile, which is read during the call.
#include <windows.h>

namespace player {

inline constexpr wchar_t kPlayerClass[] = L"LumoraPlayer";

enum PlayerMessage : UINT {
  // lParam: the clip's path (const wchar_t*); empty or null closes the
  // clip. Returns the HRESULT of loading (S_FALSE for no clip).
  kPlayerSetFile = WM_USER + 1,
  // wParam: a PlayerOption; lParam: nonzero for on.
  kPlayerSetOption,
  kPlayerPlay,
  kPlayerPause,
  kPlayerStop,
  // Returns the PlayState.
  kPlayerGetPlayState,
  // The graph has events waiting (sent by DirectShow to the control).
  kPlayerGraphEvent,
};

enum class PlayState : LRESULT { kStopped = 0, kPaused = 1, kPlaying = 2 };

// The control's display options, numbered as the dispatch identifiers of
// the wrapper's property table.
enum class PlayerOption : UINT {
  kLoop = 0x16,             // at the end, play again from the start (off)
  kShowPositionBar = 0x17,  // position bar and times under the picture (on)
  kMute = 0x18,             // no sound (off)
  kAutoStart = 0x1A,        // a loaded clip starts playing at once (on)
  kStretchToFit = 0x43C,    // the picture fills the control, whatever its size (off)
  kAutoSize = 0x43E,        // the control takes the clip's size when loading (on)
  kClickToPause = 0x440,    // a click on the picture plays or pauses (off)
  kRewindAtEnd = 0x453,     // the end shows the first frame again (on)
};

}  // namespace player

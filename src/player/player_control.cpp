#include "player/player_control.h"

#include <commctrl.h>

#include <algorithm>
#include <new>

#include "base/trace.h"
#include "core/player_rules.h"
#include "dshow/graph_util.h"

namespace player {
namespace {

using base::ComPtr;

const UINT_PTR kPositionTimer = 1;
const UINT kPositionTimerMs = 250;
const int kPositionBarId = 1;
const int kTimeTextId = 2;
const int kTimeTextWidth = 110;
constexpr std::int64_t kUnitsPerMs = 10000;  // DirectShow time: 100 ns

// Ends a graph: no more events to the window, the video window given back,
// the graph stopped and emptied. The interfaces are released by their owner.
void TearDown(IGraphBuilder* graph, IMediaEventEx* events, IVideoWindow* window) {
  ComPtr<IMediaControl> control;
  if (graph && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(control.Put())))) control->Stop();
  if (events) events->SetNotifyWindow(0, 0, 0);
  if (window) {
    window->put_Visible(OAFALSE);
    window->put_MessageDrain(0);
    window->put_Owner(0);
  }
  dshow::RemoveAllFilters(graph);
}

// The filter's input pin is connected: the graph reached it.
bool IsConnected(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put()))) return false;
  ComPtr<IPin> pin, peer;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    if (SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer) return true;
  }
  return false;
}

}  // namespace

bool CPlayerControl::Register() { return base::EnsureClass(kPlayerClass, ClassProc); }

// A control made by a dialog template has no object yet: it gets one that
// lives as long as its window.
LRESULT CALLBACK CPlayerControl::ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE && !FromHandle(hwnd)) {
    auto* control = new (std::nothrow) CPlayerControl;
    if (!control) return FALSE;
    if (!control->SubclassWindow(hwnd)) {
      delete control;
      return FALSE;
    }
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

const base::MessageMap* CPlayerControl::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CPlayerControl::OnCreate>(WM_CREATE),
      base::MessageEntry<&CPlayerControl::OnDestroy>(WM_DESTROY),
      base::MessageEntry<&CPlayerControl::OnSize>(WM_SIZE),
      base::MessageEntry<&CPlayerControl::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&CPlayerControl::OnTimer>(WM_TIMER),
      base::MessageEntry<&CPlayerControl::OnHScroll>(WM_HSCROLL),
      base::MessageEntry<&CPlayerControl::OnKeyDown>(WM_KEYDOWN),
      base::MessageEntry<&CPlayerControl::OnGetDlgCode>(WM_GETDLGCODE),
      base::MessageEntry<&CPlayerControl::OnLButtonDown>(WM_LBUTTONDOWN),
      base::MessageEntry<&CPlayerControl::OnSetFile>(kPlayerSetFile),
      base::MessageEntry<&CPlayerControl::OnSetOption>(kPlayerSetOption),
      base::MessageEntry<&CPlayerControl::OnPlay>(kPlayerPlay),
      base::MessageEntry<&CPlayerControl::OnPause>(kPlayerPause),
      base::MessageEntry<&CPlayerControl::OnStop>(kPlayerStop),
      base::MessageEntry<&CPlayerControl::OnGetPlayState>(kPlayerGetPlayState),
      base::MessageEntry<&CPlayerControl::OnGraphEvent>(kPlayerGraphEvent),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

// ------------------------------------------------------------------ window

LRESULT CPlayerControl::OnCreate(WPARAM, LPARAM) {
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
  const HINSTANCE inst = ::GetModuleHandleW(nullptr);
  m_hPositionBar = ::CreateWindowExW(
      0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS | TBS_BOTH, 0, 0, 0,
      0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPositionBarId)), inst, nullptr);
  m_hTimeText =
      ::CreateWindowExW(0, L"Static", core::PositionText(0, 0).c_str(),
                        WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0, 0, 0, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTimeTextId)), inst, nullptr);
  if (!m_hPositionBar || !m_hTimeText) return -1;
  ::SendMessageW(m_hTimeText, WM_SETFONT,
                 reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  Layout();
  return Default();
}

LRESULT CPlayerControl::OnDestroy(WPARAM, LPARAM) {
  Unload();
  return Default();
}

LRESULT CPlayerControl::OnSize(WPARAM, LPARAM) {
  Layout();
  return 0;
}

// Black behind the picture, the button face behind the position bar.
LRESULT CPlayerControl::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  const HDC dc = reinterpret_cast<HDC>(wParam);
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  RECT bar = rc;
  if (m_options.showPositionBar) rc.bottom = std::max(rc.top, rc.bottom - kBarHeight);
  bar.top = rc.bottom;
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

// The picture at the clip's size, centred in the room above the bar (or
// filling it when stretched); the bar and the times below.
void CPlayerControl::Layout() {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  const int bar = m_options.showPositionBar ? kBarHeight : 0;
  const int roomHeight = std::max(0L, rc.bottom - bar);
  const int textWidth = std::min<int>(kTimeTextWidth, rc.right / 2);
  const int show = m_options.showPositionBar ? SW_SHOW : SW_HIDE;
  ::MoveWindow(m_hPositionBar, 0, roomHeight, rc.right - textWidth, bar, TRUE);
  ::MoveWindow(m_hTimeText, rc.right - textWidth, roomHeight, textWidth, bar, TRUE);
  ::ShowWindow(m_hPositionBar, show);
  ::ShowWindow(m_hTimeText, show);
  if (!m_pVideoWindow) return;
  if (m_options.stretchToFit) {
    m_pVideoWindow->SetWindowPosition(0, 0, rc.right, roomHeight);
  } else {
    const int w = std::min<int>(m_videoSize.cx, rc.right);
    const int h = std::min<int>(m_videoSize.cy, roomHeight);
    m_pVideoWindow->SetWindowPosition(core::CentredOffset(rc.right, w),
                                      core::CentredOffset(roomHeight, h), w, h);
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// The window takes the clip's size (and room for the bar); the owner
// measures it after loading.
void CPlayerControl::SizeToClip() {
  const int width = std::max<int>(m_videoSize.cx, kMinWidth);
  const int height = m_videoSize.cy + (m_options.showPositionBar ? kBarHeight : 0);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

// ------------------------------------------------------------------- clip

LRESULT CPlayerControl::OnSetFile(WPARAM, LPARAM lParam) {
  const auto* path = reinterpret_cast<const wchar_t*>(lParam);
  return Load(path ? path : L"");
}

// Builds the graph for the clip: the GDI renderer first (the default mixing
// renderer needs 3D support that not every system has), then everything
// the file needs. A clip that cannot be rendered leaves no graph behind.
HRESULT CPlayerControl::Load(const std::wstring& path) {
  Unload();
  if (path.empty()) return S_FALSE;
  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> renderer;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(graph.Put()));
  if (SUCCEEDED(hr)) {
    hr = ::CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER,
                            IID_PPV_ARGS(renderer.Put()));
  }
  if (SUCCEEDED(hr)) hr = graph->AddFilter(renderer.Get(), L"Video Renderer");
  if (SUCCEEDED(hr)) hr = graph->RenderFile(path.c_str(), nullptr);
  // The event, sound and video interfaces are asked for by their IIDs: the
  // compiler's headers declare no uuid for them.
  ComPtr<IMediaControl> control;
  ComPtr<IMediaSeeking> seeking;
  ComPtr<IMediaEventEx> events;
  if (SUCCEEDED(hr)) hr = graph.As(control);
  if (SUCCEEDED(hr)) hr = graph.As(seeking);
  if (SUCCEEDED(hr)) hr = graph->QueryInterface(IID_IMediaEventEx, events.PutVoid());
  if (SUCCEEDED(hr))
    hr = events->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hWnd), kPlayerGraphEvent, 0);
  if (FAILED(hr)) {
    base::Trace("player: cannot play the clip, 0x%08lx", static_cast<unsigned long>(hr));
    TearDown(graph.Get(), events.Get(), nullptr);
    return hr;
  }
  m_pGraph = graph;
  m_pMediaControl = control;
  m_pSeeking = seeking;
  m_pEvents = events;
  graph->QueryInterface(IID_IBasicAudio, m_pAudio.PutVoid());

  // A clip without pictures plays its sound with no video window.
  m_videoSize = {};
  ComPtr<IBasicVideo> basic;
  if (IsConnected(renderer.Get()) &&
      SUCCEEDED(graph->QueryInterface(IID_IVideoWindow, m_pVideoWindow.PutVoid())) &&
      SUCCEEDED(graph->QueryInterface(IID_IBasicVideo, basic.PutVoid()))) {
    long w = 0, h = 0;
    basic->GetVideoSize(&w, &h);
    m_videoSize = {w, h};
    m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(m_hWnd));
    m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_pVideoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(m_hWnd));
  } else {
    m_pVideoWindow.Reset();
    graph->RemoveFilter(renderer.Get());
  }

  m_pSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
  LONGLONG duration = 0;
  m_durationMs = SUCCEEDED(m_pSeeking->GetDuration(&duration)) ? duration / kUnitsPerMs : 0;
  ::SendMessageW(m_hPositionBar, TBM_SETRANGEMIN, FALSE, 0);
  ::SendMessageW(m_hPositionBar, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(m_durationMs));
  ::SendMessageW(m_hPositionBar, TBM_SETPAGESIZE, 0, static_cast<LPARAM>(m_durationMs / 10));
  if (m_pAudio) m_pAudio->put_Volume(m_options.mute ? -10000 : 0);

  if (m_options.autoSize) {
    SizeToClip();
  } else {
    Layout();
  }
  // Paused, the renderer shows the first frame until the clip plays. A clip
  // whose data cannot even give that is as unplayable as one that does not
  // render.
  hr = m_pMediaControl->Pause();
  if (FAILED(hr)) {
    base::Trace("player: the clip does not start, 0x%08lx", static_cast<unsigned long>(hr));
    Unload();
    return hr;
  }
  if (m_pVideoWindow) m_pVideoWindow->put_Visible(OATRUE);
  SetState(PlayState::kStopped);
  if (m_options.autoStart) Play();
  return S_OK;
}

void CPlayerControl::Unload() {
  ::KillTimer(m_hWnd, kPositionTimer);
  TearDown(m_pGraph.Get(), m_pEvents.Get(), m_pVideoWindow.Get());
  m_pAudio.Reset();
  m_pVideoWindow.Reset();
  m_pEvents.Reset();
  m_pSeeking.Reset();
  m_pMediaControl.Reset();
  m_pGraph.Reset();
  m_durationMs = 0;
  m_state = PlayState::kStopped;
  if (m_hPositionBar) {
    ::SendMessageW(m_hPositionBar, TBM_SETRANGEMAX, FALSE, 0);
    ::SendMessageW(m_hPositionBar, TBM_SETPOS, TRUE, 0);
    ::SetWindowTextW(m_hTimeText, core::PositionText(0, 0).c_str());
  }
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// ---------------------------------------------------------------- playing

void CPlayerControl::Play() {
  if (!m_pMediaControl || FAILED(m_pMediaControl->Run())) return;
  SetState(PlayState::kPlaying);
}

void CPlayerControl::Pause() {
  if (!m_pMediaControl || FAILED(m_pMediaControl->Pause())) return;
  SetState(PlayState::kPaused);
}

// Back to the first frame, shown paused. The graph stops in between, which
// also ends the finished state of a clip that has played to its end.
void CPlayerControl::Stop() {
  if (!m_pMediaControl) return;
  m_pMediaControl->Stop();
  SeekTo(0);
  m_pMediaControl->Pause();
  SetState(PlayState::kStopped);
}

void CPlayerControl::SeekTo(std::int64_t milliseconds) {
  if (!m_pSeeking) return;
  LONGLONG position = milliseconds * kUnitsPerMs;
  m_pSeeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                           AM_SEEKING_NoPositioning);
}

std::int64_t CPlayerControl::PositionMs() const {
  LONGLONG position = 0;
  if (!m_pSeeking || FAILED(m_pSeeking->GetCurrentPosition(&position))) return 0;
  return position / kUnitsPerMs;
}

// The position bar follows the clip while it plays.
void CPlayerControl::SetState(PlayState state) {
  m_state = state;
  if (state == PlayState::kPlaying) {
    ::SetTimer(m_hWnd, kPositionTimer, kPositionTimerMs, nullptr);
  } else {
    ::KillTimer(m_hWnd, kPositionTimer);
  }
  ShowPosition();
}

void CPlayerControl::ShowPosition() {
  const std::int64_t position = std::min(PositionMs(), m_durationMs);
  if (!m_bDragging) ::SendMessageW(m_hPositionBar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
  ::SetWindowTextW(m_hTimeText, core::PositionText(position, m_durationMs).c_str());
}

LRESULT CPlayerControl::OnTimer(WPARAM id, LPARAM) {
  if (id == kPositionTimer) ShowPosition();
  return 0;
}

// Dragging the bar seeks as it moves; clicks beside the thumb page.
LRESULT CPlayerControl::OnHScroll(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != m_hPositionBar || !m_pSeeking) return 0;
  const int code = LOWORD(wParam);
  m_bDragging = code == TB_THUMBTRACK;
  if (code != TB_ENDTRACK) {
    SeekTo(::SendMessageW(m_hPositionBar, TBM_GETPOS, 0, 0));
  } else {
    ::SetFocus(m_hWnd);  // the space bar belongs to the control again
  }
  ShowPosition();
  return 0;
}

// The space bar plays or pauses.
LRESULT CPlayerControl::OnKeyDown(WPARAM key, LPARAM) {
  if (key != VK_SPACE) return Default();
  if (m_state == PlayState::kPlaying) {
    Pause();
  } else {
    Play();
  }
  return 0;
}

// The space bar's character is the control's, not a dialog mnemonic.
LRESULT CPlayerControl::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTCHARS; }

// Clicks on the picture reach the control through the video window's
// message drain.
LRESULT CPlayerControl::OnLButtonDown(WPARAM, LPARAM) {
  ::SetFocus(m_hWnd);
  if (m_options.clickToPause) OnKeyDown(VK_SPACE, 0);
  return 0;
}

// The end: again from the start, back on the first frame, or held on the
// last one.
void CPlayerControl::AtEnd() {
  if (m_options.loop) {
    SeekTo(0);
    return;
  }
  if (m_options.rewindAtEnd) {
    Stop();
    return;
  }
  m_pMediaControl->Pause();
  SetState(PlayState::kStopped);
}

LRESULT CPlayerControl::OnGraphEvent(WPARAM, LPARAM) {
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (m_pEvents && m_pEvents->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    m_pEvents->FreeEventParams(code, param1, param2);
    switch (code) {
      case EC_COMPLETE:
        AtEnd();
        break;
      case EC_ERRORABORT:
      case EC_USERABORT:
        base::Trace("player: the graph stopped, event %ld", code);
        Stop();
        break;
      default:
        break;
    }
  }
  return 0;
}

// ------------------------------------------------------------ the messages

bool* CPlayerControl::OptionFlag(PlayerOption option) {
  switch (option) {
    case PlayerOption::kLoop:
      return &m_options.loop;
    case PlayerOption::kShowPositionBar:
      return &m_options.showPositionBar;
    case PlayerOption::kMute:
      return &m_options.mute;
    case PlayerOption::kAutoStart:
      return &m_options.autoStart;
    case PlayerOption::kStretchToFit:
      return &m_options.stretchToFit;
    case PlayerOption::kAutoSize:
      return &m_options.autoSize;
    case PlayerOption::kClickToPause:
      return &m_options.clickToPause;
    case PlayerOption::kRewindAtEnd:
      return &m_options.rewindAtEnd;
  }
  return nullptr;
}

// Options that change what is shown take effect at once; the others at
// their next use.
LRESULT CPlayerControl::OnSetOption(WPARAM wParam, LPARAM lParam) {
  const auto option = static_cast<PlayerOption>(wParam);
  bool* flag = OptionFlag(option);
  if (!flag) return FALSE;
  const bool on = lParam != 0;
  if (*flag == on) return TRUE;
  *flag = on;
  if (option == PlayerOption::kMute && m_pAudio) m_pAudio->put_Volume(on ? -10000 : 0);
  if (option == PlayerOption::kShowPositionBar && m_options.autoSize && m_pGraph) {
    SizeToClip();
  } else {
    Layout();
  }
  return TRUE;
}

LRESULT CPlayerControl::OnPlay(WPARAM, LPARAM) {
  Play();
  return 0;
}

LRESULT CPlayerControl::OnPause(WPARAM, LPARAM) {
  Pause();
  return 0;
}

LRESULT CPlayerControl::OnStop(WPARAM, LPARAM) {
  Stop();
  return 0;
}

LRESULT CPlayerControl::OnGetPlayState(WPARAM, LPARAM) { return static_cast<LRESULT>(m_state); }

}  // namespace player

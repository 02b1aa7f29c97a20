#pragma once
// Message-map tables: each window class lists the messages and command ids it
// handles; lookup walks the class's table, then its base class's.
//
//   const base::MessageMap* CMainFrame::GetMessageMap() const {
//     static constexpr base::MsgMapEntry kEntries[] = {
//         base::MessageEntry<&CMainFrame::OnSize>(WM_SIZE),
//         base::CommandEntry<&CMainFrame::OnAppExit>(ID_APP_EXIT),
//     };
//     static const base::MessageMap kMap{CMDIFrameWnd::GetThisMessageMap(), kEntries};
//     return &kMap;
//   }
#include <windows.h>

#include <span>

namespace base {

class CWnd;

// What a command's menu entry and toolbar button show; a window that handles
// the command fills it in when a menu opens or the program goes idle.
struct CommandState {
  UINT id = 0;
  bool enabled = true;
  bool checked = false;  // a check mark on the menu entry, a pressed button
};

// The pseudo message of command-state entries: above every window message,
// so that no message a window receives can match such an entry.
inline constexpr UINT kCommandStateMessage = 0x10000;

struct MsgMapEntry {
  UINT message;  // WM_COMMAND for command entries
  UINT idFirst;  // command id range; 0..0 for message entries
  UINT idLast;
  LRESULT (*call)(CWnd& wnd, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
  const MessageMap* base;
  std::span<const MsgMapEntry> entries;

  const MsgMapEntry* FindMessage(UINT message) const;
  const MsgMapEntry* FindCommand(UINT id) const;
  const MsgMapEntry* FindCommandState(UINT id) const;
};

namespace detail {
template <class>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
  using Class = C;
};
template <auto Fn>
using ClassOf = typename MemberOf<decltype(Fn)>::Class;

template <auto Fn>
LRESULT CallMessage(CWnd& w, WPARAM wp, LPARAM lp) {
  return (static_cast<ClassOf<Fn>&>(w).*Fn)(wp, lp);
}
template <auto Fn>
LRESULT CallCommand(CWnd& w, WPARAM, LPARAM) {
  (static_cast<ClassOf<Fn>&>(w).*Fn)();
  return 0;
}
template <auto Fn>
LRESULT CallCommandRange(CWnd& w, WPARAM wp, LPARAM) {
  (static_cast<ClassOf<Fn>&>(w).*Fn)(LOWORD(wp));
  return 0;
}
template <auto Fn>
LRESULT CallCommandState(CWnd& w, WPARAM, LPARAM lp) {
  (static_cast<ClassOf<Fn>&>(w).*Fn)(*reinterpret_cast<CommandState*>(lp));
  return 0;
}
}  // namespace detail

// Handler: LRESULT T::Fn(WPARAM, LPARAM).
template <auto Fn>
constexpr MsgMapEntry MessageEntry(UINT message) {
  return {message, 0, 0, &detail::CallMessage<Fn>};
}
// Handler: void T::Fn().
template <auto Fn>
constexpr MsgMapEntry CommandEntry(UINT id) {
  return {WM_COMMAND, id, id, &detail::CallCommand<Fn>};
}
// Handler: void T::Fn(UINT id).
template <auto Fn>
constexpr MsgMapEntry CommandRangeEntry(UINT first, UINT last) {
  return {WM_COMMAND, first, last, &detail::CallCommandRange<Fn>};
}

// State rule of a command: void T::Fn(CommandState&). A window with a
// command entry and no state entry shows the command enabled.
template <auto Fn>
constexpr MsgMapEntry CommandStateEntry(UINT id) {
  return {kCommandStateMessage, id, id, &detail::CallCommandState<Fn>};
}
// One state rule for the commands first..last; the rule reads state.id.
template <auto Fn>
constexpr MsgMapEntry CommandStateRangeEntry(UINT first, UINT last) {
  return {kCommandStateMessage, first, last, &detail::CallCommandState<Fn>};
}

}  // namespace base

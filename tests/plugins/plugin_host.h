#pragma once
// A small host for the effect plug-ins: loads one by its full path in the
// test's own folder, calls its entry as the editor does, drives its dialog
// and counts the notifications that reach its window.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "common/effect_params.h"

namespace plugin_test {

// What the tests expect of each plug-in.
struct PluginCase {
  const wchar_t* dll;
  int okNotifications;
  bool acceptsAnyCommand;
  bool hasChannelBox;
  bool hasSlider;  // otherwise Process
  UINT dialogId;
  SIZE dialogSize;
  int bitmapSize;
};

inline constexpr PluginCase kPlugins[] = {
    {L"litefx.dll", 1, false, true, true, 1000, {276, 195}, 48},
    {L"tonefx.dll", 2, true, true, true, 1000, {276, 195}, 48},
    {L"edgefx.dll", 2, true, true, false, 1005, {276, 175}, 52},
    {L"tilefx.dll", 2, true, false, true, 1005, {276, 195}, 48},
    {L"warpfx.dll", 2, true, false, true, 1005, {276, 195}, 48},
};

class PluginHost {
 public:
  static constexpr std::uint32_t kUntouched = 0x12345678;

  explicit PluginHost(const std::wstring& dllName);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  HMODULE Module() const { return m_module; }
  // The entry, found by the name in the plug-in's string 5.
  decltype(&SpecialEffects) Entry() const { return m_entry; }
  HWND NotifyWindow() const { return m_notify; }

  // Calls the entry with a record like the editor's; the status word as the
  // plug-in left it (kUntouched when it wrote nothing).
  std::uint32_t Call(BITMAPINFOHEADER* image, std::uint32_t command = plugins::kEffectCommand);
  void Unload();

  // Notifications so far, and whether any came with a parameter other than 0.
  int Notifications() const { return m_counts.all; }
  bool MalformedNotification() const { return m_counts.malformed; }

  // The plug-in's dialog window, shown or hidden; null when there is none.
  HWND Dialog() const;
  bool DialogVisible() const { return ::IsWindowVisible(Dialog()); }
  HWND Control(int id) const { return ::GetDlgItem(Dialog(), id); }

  // A slider notification as the trackbar sends it, after moving the thumb.
  void Slide(int position, WORD code);
  // The thumb put at `position`, then pressed and let go where it is: a drag
  // that ends where it began.
  void ReleaseSlider(int position);
  // The left button pressed at `from` on the slider (its client
  // coordinates), moved to `to` when that differs, and released there.
  void MouseOnSlider(POINT from, POINT to);
  POINT ThumbCentre() const;
  void SelectChannel(int item);
  void Click(int id);
  void PressCloseBox();
  // Handles what is waiting in this thread's queue.
  static void Pump();

 private:
  struct Counts {
    int all = 0;
    bool malformed = false;
  };
  static LRESULT CALLBACK NotifyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  Counts m_counts;
  HWND m_notify = nullptr;
  HMODULE m_module = nullptr;
  decltype(&SpecialEffects) m_entry = nullptr;
};

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace plugin_test

#pragma once
// The compressor choice for clips through the platform's compressor
// dialog, and the stored choice ("Compressor", "lQ", "Compress") that the
// recorder reads back. The dialog is pre-set to the stored choice by
// simulated keys from timers of its owner, as the platform offers no other
// way to pre-select a compressor by its description.
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <string>
#include <utility>

class DevGraphBuilder;

namespace capturewin {

// Timers of the owner: 1000 selects the stored compressor in the list, then
// 2000 sets the stored quality.
inline constexpr UINT_PTR kPresetListTimer = 1000;
inline constexpr UINT kPresetListMs = 50;
inline constexpr UINT_PTR kPresetQualityTimer = 2000;
inline constexpr UINT kPresetQualityMs = 100;

class CompressorChoice {
 public:
  explicit CompressorChoice(std::wstring iniPath) : m_strIniPath(std::move(iniPath)) {}

  // Runs the compressor dialog for the camera's current format, owned by
  // `owner`, with the pre-set timer started; on OK stores the choice. False
  // when the format is unknown or the user cancelled.
  bool Choose(HWND owner, DevGraphBuilder& graph);

  // One tick of a pre-set timer of `owner` (ticks of other timers are ignored).
  void OnTimer(HWND owner, UINT_PTR timerId);

 private:
  void PresetList(HWND list, const std::string& compressor);
  void Store(const COMPVARS& choice) const;

  std::wstring m_strIniPath;
  // The list's first entry, the platform's uncompressed frames, which has
  // no compressor to describe itself: its text is stored instead.
  std::wstring m_strFirstItem;
};

}  // namespace capturewin

#pragma once
// Names of captured files: "P%07d" + extension in the capture folder, with
// the smallest number from 1 up that is not taken yet.
#include <functional>
#include <string>

namespace core {

// Highest number the seven-digit name can carry.
inline constexpr int kMaxCaptureNumber = 9999999;

// "<folder>\P0000001<extension>" for the first number from 1 to
// `lastNumber` whose name `exists` denies; the empty text when every one is
// taken. `folder` has no
// trailing backslash; `extension` includes its dot (".BMP", ".JPG", ".AVI").
std::wstring FirstFreeCaptureName(const std::wstring& folder, const std::wstring& extension,
                                  const std::function<bool(const std::wstring&)>& exists,
                                  int lastNumber = kMaxCaptureNumber);

}  // namespace core

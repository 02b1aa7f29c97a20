#pragma once
// The rules of the capture settings dialogs that do not need a window: the
// frame-size lists of the Settings dialog, the countdown limit and the
// duration arrows of the clip settings.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The camera sizes the device frame list offers; "800x600" only for a
// camera that has that mode.
std::vector<std::string> DeviceFrameItems(bool offers800x600);

// The window sizes up to a frame width: 160 gives "160x120" only, 176 up to
// "176x144", 320 up to "320x240", 352 up to "352x288", 640 (and 800 on a
// camera with that mode) up to "640x480"; any other width gives none.
std::vector<std::string> WindowItemsUpTo(int frameWidth, bool offers800x600);

// The window size a frame size lays the capture window out for: itself,
// except that 800x600 is shown in the 640x480 layout.
std::string_view LayoutSizeFor(std::string_view frameSize);

// Countdowns longer than a minute are refused; the empty text (nothing to
// store) and 60 itself pass.
inline constexpr int kMaxDelaySeconds = 60;
bool IsDelayTooLong(std::string_view text);

// The duration after an arrow press: the number plus `step`, as decimal.
// The up arrow leaves the text alone when the result would be negative;
// the down arrow has no lower limit. Nothing means "leave it".
std::optional<std::string> StepDuration(std::string_view text, int step);

}  // namespace core

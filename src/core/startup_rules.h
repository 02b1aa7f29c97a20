#pragma once
// The numbers start-up lays its windows out with, and the platform checks it
// makes before it runs at all.
#include <optional>
#include <string_view>

namespace core {

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int x = 0, y = 0, cx = 0, cy = 0;
  bool operator==(const Rect&) const = default;
};

// Narrower primary screens get the "cannot run properly" question.
inline constexpr int kMinimumScreenWidth = 800;

// Outer size of the capture window's frame for a "WindowSize" text; nothing
// for a text that is not one of the five window sizes.
std::optional<Size> CaptureFrameSize(std::string_view windowSize);

// The main frame is 960 x 680 for a 640x480 video window, else 800 x 600.
Size MainFrameSize(std::string_view windowSize);

// A screen no wider than the frame shows the frame maximised.
bool ShowMainFrameMaximised(int screenWidth, const Size& frame);

// The album window's place beside the capture window: from the client widths
// of the main frame and the capture frame and the main client's height.
Rect AlbumFramePlace(int mainClientWidth, int captureClientWidth, int mainClientHeight);

// What the platform version query reports, as far as start-up looks at it.
struct PlatformVersion {
  unsigned long platformId = 0;  // 1 = the consumer (9x) family
  unsigned long major = 0;
  unsigned long buildNumber = 0;  // the whole field, as that family fills it
};

// Windows 98 first edition: version 4.10, build 1998, which the 9x family
// reports as 0x040A07CE in the build-number field.
bool IsWindows98FirstEdition(const PlatformVersion& v);

// The driver's "StatusReport" while the program runs, and after it exits
// (the exit mask also clears the four highest bits, as the driver expects).
inline constexpr unsigned long kDriverInUseBit = 0x100;
inline constexpr unsigned long kDriverExitMask = 0x0FFFFEFF;

}  // namespace core

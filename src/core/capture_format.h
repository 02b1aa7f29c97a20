#pragma once
// The camera frame sizes as the settings file writes them ("352x288") and
// the rule that turns the stored "DeviceResolution" into the size the
// camera is asked for.
#include <string>
#include <string_view>

namespace core {

struct FrameSize {
  int width = 0;
  int height = 0;
  bool operator==(const FrameSize&) const = default;
};

// The numbers at characters 0-2 and 4-6 ("%3dx%3d"), each read as C atoi
// reads it; a shorter text gives 0 for what is missing.
FrameSize FrameSizeAt(std::string_view text);
// Width and height formatted with "%3dx%3d".
std::string FrameSizeText(int width, int height);

struct DeviceResolution {
  FrameSize size;
  // "800x600" on a camera outside the QVC5520 family: the setting is to be
  // rewritten as "640x480".
  bool rewriteTo640 = false;
};
// The size for a stored "DeviceResolution": 352x288 unless the first seven
// characters name one of the camera sizes (case-insensitive); 800x600 only
// for the QVC5520 family, else 640x480.
DeviceResolution ChooseDeviceResolution(std::string_view text, bool qvc5520Family);

// Bytes of a bottom-up 24-bit picture with rows padded to 4 bytes.
unsigned long Dib24ImageBytes(int width, int height);

// A frame size the program makes buffers for: each side from 1 to 4096
// pixels. Anything else a device reports is taken as no format at all.
inline constexpr int kMaxFrameSide = 4096;
bool IsUsableFrameSize(int width, int height);

}  // namespace core

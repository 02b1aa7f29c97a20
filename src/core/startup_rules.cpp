#include "core/startup_rules.h"

#include "core/text.h"

namespace core {

std::optional<Size> CaptureFrameSize(std::string_view windowSize) {
  struct Entry {
    std::string_view text;
    Size size;
  };
  static constexpr Entry kSizes[] = {
      {"160x120", {352, 225}}, {"176x144", {352, 250}}, {"320x240", {352, 340}},
      {"352x288", {352, 390}}, {"640x480", {640, 580}},
  };
  for (const Entry& e : kSizes) {
    if (windowSize == e.text) return e.size;
  }
  return std::nullopt;
}

Size MainFrameSize(std::string_view windowSize) {
  if (ToLowerAscii(windowSize).find("640x480") != std::string::npos) return {960, 680};
  return {800, 600};
}

bool ShowMainFrameMaximised(int screenWidth, const Size& frame) { return screenWidth <= frame.cx; }

Rect AlbumFramePlace(int mainClientWidth, int captureClientWidth, int mainClientHeight) {
  const int freeWidth = mainClientWidth - captureClientWidth;
  return {captureClientWidth + 6, 0, freeWidth - 12, mainClientHeight - 63};
}

bool IsWindows98FirstEdition(const PlatformVersion& v) {
  return v.platformId == 1 && v.major <= 4 && v.buildNumber == 0x040A07CEul;
}

}  // namespace core

#include "core/capture_format.h"

#include <cstdio>

#include "core/text.h"

namespace core {

FrameSize FrameSizeAt(std::string_view text) {
  const auto part = [&](size_t pos) { return pos < text.size() ? AtoiC(text.substr(pos, 3)) : 0; };
  return {part(0), part(4)};
}

std::string FrameSizeText(int width, int height) {
  char text[32];
  std::snprintf(text, sizeof text, "%3dx%3d", width, height);
  return text;
}

DeviceResolution ChooseDeviceResolution(std::string_view text, bool qvc5520Family) {
  const std::string_view head = text.substr(0, 7);
  DeviceResolution result{{352, 288}, false};
  if (EqualsNoCase(head, "800x600")) {
    if (qvc5520Family) {
      result.size = {800, 600};
    } else {
      result.size = {640, 480};
      result.rewriteTo640 = true;
    }
  }
  static constexpr struct {
    const char* text;
    FrameSize size;
  } kSizes[] = {{"640x480", {640, 480}},
                {"352x288", {352, 288}},
                {"320x240", {320, 240}},
                {"176x144", {176, 144}},
                {"160x120", {160, 120}}};
  for (const auto& s : kSizes) {
    if (EqualsNoCase(head, s.text)) result.size = s.size;
  }
  return result;
}

unsigned long Dib24ImageBytes(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return static_cast<unsigned long>((width * 24 + 31) / 32 * 4) *
         static_cast<unsigned long>(height);
}

bool IsUsableFrameSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxFrameSide && height <= kMaxFrameSide;
}

}  // namespace core

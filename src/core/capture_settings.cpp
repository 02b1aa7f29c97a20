#include "core/capture_settings.h"

#include "core/text.h"

namespace core {
namespace {

constexpr std::string_view kSizes[] = {"160x120", "176x144", "320x240", "352x288", "640x480"};
constexpr std::string_view k800x600 = "800x600";

}  // namespace

std::vector<std::string> DeviceFrameItems(bool offers800x600) {
  std::vector<std::string> items(std::begin(kSizes), std::end(kSizes));
  if (offers800x600) items.emplace_back(k800x600);
  return items;
}

std::vector<std::string> WindowItemsUpTo(int frameWidth, bool offers800x600) {
  struct Limit {
    int width;
    std::size_t count;
  };
  static constexpr Limit kLimits[] = {{160, 1}, {176, 2}, {320, 3}, {352, 4}, {640, 5}};
  if (offers800x600 && frameWidth == 800) frameWidth = 640;
  for (const Limit& limit : kLimits) {
    if (limit.width == frameWidth) return {std::begin(kSizes), std::begin(kSizes) + limit.count};
  }
  return {};
}

std::string_view LayoutSizeFor(std::string_view frameSize) {
  return frameSize == k800x600 ? kSizes[4] : frameSize;
}

bool IsDelayTooLong(std::string_view text) {
  return !text.empty() && AtoiC(text) > kMaxDelaySeconds;
}

std::optional<std::string> StepDuration(std::string_view text, int step) {
  const long long next = static_cast<long long>(AtoiC(text)) + step;
  if (step > 0 && next < 0) return std::nullopt;
  return std::to_string(next);
}

}  // namespace core

#pragma once
// Platform-free rules of the video player: where a window is centred, the
// position bar's time text, and which clip of a folder comes before or after
// the one playing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace core {

// The offset that centres `inner` in `outer`; 0 when it does not fit, so
// that a player larger than its view starts at the view's top-left corner.
int CentredOffset(int outer, int inner);

// A play time as "m:ss", or "h:mm:ss" from one hour on; negative times count
// as 0.
std::wstring ClockText(std::int64_t milliseconds);

// The position bar's text: elapsed and total time, "0:03 / 0:10".
std::wstring PositionText(std::int64_t elapsedMs, std::int64_t totalMs);

enum class ClipStep { kPrevious, kNext };

// The index of the clip before or after `current` in `folderOrder` (the
// clips as the folder's search lists them), found by `same`. Without a clip
// before it there is none; a current clip missing from the list has the last
// one before it and none after it.
template <class Same>
std::optional<std::size_t> NeighbourClip(const std::vector<std::wstring>& folderOrder,
                                         ClipStep step, Same same) {
  std::optional<std::size_t> before;
  for (std::size_t i = 0; i < folderOrder.size(); ++i) {
    if (same(folderOrder[i])) {
      if (step == ClipStep::kPrevious) return before;
      if (i + 1 < folderOrder.size()) return i + 1;
      return std::nullopt;
    }
    before = i;
  }
  return step == ClipStep::kPrevious ? before : std::nullopt;
}

}  // namespace core

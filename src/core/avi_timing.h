#pragma once
// Where a recorded frame lands in the clip's video stream, and the size at
// which a clip is closed.
#include <cstdint>

namespace core {

// A clip is closed once its streams hold this many bytes (just under the
// 2 GB that a RIFF file's 32-bit sizes allow with room for the index).
inline constexpr std::uint32_t kAviSizeLimit = 0x78000000;

inline bool ReachedAviSizeLimit(std::uint32_t totalBytes, std::uint32_t limit = kAviSizeLimit) {
  return totalBytes >= limit;
}

// Index of a frame that arrives `elapsedMs` after the clip started, at
// `framesPerSecond`; truncated toward zero.
std::int32_t FrameIndexByTime(std::uint32_t elapsedMs, double framesPerSecond);

// Index of a frame when the sound written so far is the clip's clock:
// `audioBytes` of sound at `bytesPerSecond`. 0 without a usable rate.
std::int32_t FrameIndexBySound(std::int32_t audioBytes, double framesPerSecond,
                               std::uint32_t bytesPerSecond);

}  // namespace core

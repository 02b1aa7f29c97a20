#pragma once
// The simulated camera's test picture: a gradient that moves with the frame
// number, with the frame number itself stamped into the first stored rows as
// 32 black or white pixels, so that a test can predict every pixel of a
// frame and tell which frame a still or a clip holds. Platform-free.
#include <cstddef>
#include <cstdint>

namespace simcam {

enum class PixelFormat { Rgb24, I420 };

// What the camera's property page changes: a brightness offset added to
// every sample (clamped), and the pattern under the frame number stamp.
enum class Pattern { Gradient = 0, Bars = 1 };
inline constexpr int kMinBrightness = -100, kMaxBrightness = 100;
struct PictureLook {
  int brightness = 0;
  Pattern pattern = Pattern::Gradient;
  bool operator==(const PictureLook&) const = default;
};

// Bytes of one frame: RGB24 rows are padded to 4 bytes (bottom-up DIB);
// I420 is the Y plane followed by the quarter-size U and V planes.
size_t FrameBytes(PixelFormat format, int width, int height);

// Draws frame `number` into `dst` (FrameBytes long). Widths of at least 34
// pixels and even sizes are expected (all camera sizes are).
// The stamp stays black and white whatever the look.
void DrawFrame(uint8_t* dst, PixelFormat format, int width, int height, uint32_t number,
               const PictureLook& look = {});

// The frame number stamped into an RGB24 frame or into an I420 frame's Y
// plane. I420 rows run top down: once converted into bottom-up 24-bit rows,
// an I420 frame carries its stamp in the last stored row.
uint32_t ReadFrameNumber(const uint8_t* frame, PixelFormat format);

// The snapshot mark: bit 0 of the frame's first byte.
inline void MarkSnapshot(uint8_t* frame) { frame[0] |= 1; }
inline bool HasSnapshotMark(const uint8_t* frame) { return (frame[0] & 1) != 0; }

}  // namespace simcam

#pragma once
// Motion-JPEG frames: each frame one baseline JPEG picture, encoded from and
// decoded into 24-bit rows in blue, green, red order (rows padded to 4
// bytes, as in a DIB) by libjpeg-turbo. No allocation per frame.
#include <cstddef>
#include <cstdint>

namespace lumjpeg {

// Frames larger than this on either side are refused.
inline constexpr int kMaxSide = 4096;

bool IsFrameSize(int width, int height);

// Bytes of a 24-bit frame with rows padded to 4 bytes.
std::size_t DibBytes(int width, int height);

// The most bytes a compressed frame can take (a baseline JPEG of 4:2:0
// samples never grows beyond this, whatever the quality).
std::size_t MaxJpegBytes(int width, int height);

// JPEG quality 1 to 100 from a compressor quality of 0 to 10,000; any other
// value (the "default" of -1 included) gives 75.
int JpegQuality(std::uint32_t codecQuality);

// Encodes a frame whose rows are stored bottom first (`bottomUp`) or top
// first. The size of the JPEG in `out`, or 0 when it did not fit or failed.
std::size_t EncodeFrame(const std::uint8_t* pixels, int width, int height, bool bottomUp,
                        int quality, std::uint8_t* out, std::size_t capacity);

// Decodes one JPEG picture of exactly width x height into `out` (DibBytes
// long), bottom row first when `bottomUp`. False for malformed data or
// another size.
bool DecodeFrame(const std::uint8_t* data, std::size_t size, int width, int height, bool bottomUp,
                 std::uint8_t* out, std::size_t capacity);

}  // namespace lumjpeg

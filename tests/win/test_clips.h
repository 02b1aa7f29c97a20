#pragma once
// Clips that the tests play or put into an album: the simulated camera's
// moving test picture, uncompressed 24-bit at 30 frames per second, and
// optionally a loud tone as 16-bit PCM sound.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace testing_win {

struct ClipShape {
  int width = 64;
  int height = 48;
  int frames = 3;
  bool tone = false;  // a 1 kHz square wave, 22050 Hz mono, as long as the video
};

// Writes the clip through the AVI file service; false when that failed.
bool WriteClip(const std::filesystem::path& path, const ClipShape& shape = {});

// A grey 16 x 16 JPEG picture.
const std::vector<std::uint8_t>& GreyJpeg();

// A motion-JPEG clip as other programs write them: `frames` times the grey
// JPEG picture, 16 x 16, stream handler and compression "MJPG".
bool WriteMjpegClip(const std::filesystem::path& path, int frames);

}  // namespace testing_win

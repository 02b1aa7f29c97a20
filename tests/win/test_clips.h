#pragma once
// Clips that the tests play or put into an album: the simulated camera's
// moving test picture, uncompressed 24-bit at 30 frames per second, and
// optionally a loud tone as 16-bit PCM sound.
#include <windows.h>

#include <filesystem>

namespace testing_win {

struct ClipShape {
  int width = 64;
  int height = 48;
  int frames = 3;
  bool tone = false;  // a 1 kHz square wave, 22050 Hz mono, as long as the video
};

// Writes the clip through the AVI file service; false when that failed.
bool WriteClip(const std::filesystem::path& path, const ClipShape& shape = {});

}  // namespace testing_win

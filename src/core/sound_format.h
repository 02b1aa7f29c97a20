#pragma once
// The sound format of a recording, taken from its settings text such as
// "8.000KHz  8bits  mono" (rate, bits and channels joined by two blanks).
#include <cstdint>
#include <string_view>

namespace core {

// The fields of a PCM wave format record.
struct SoundFormat {
  std::uint16_t formatTag = 1;  // PCM
  std::uint16_t channels = 2;
  std::uint32_t samplesPerSec = 8000;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 8;
};

// Starts from PCM, stereo, 8 bits, 8000 samples per second; every known part
// found in `text` sets its field (a later part of the same kind wins). Bytes
// per second and block alignment follow from the result.
SoundFormat ParseSoundFormat(std::string_view text);

}  // namespace core

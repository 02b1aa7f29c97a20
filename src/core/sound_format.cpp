#include "core/sound_format.h"

namespace core {
namespace {

struct RatePart {
  std::string_view text;
  std::uint32_t rate;
};

constexpr RatePart kRates[] = {
    {"8.000KHz", 8000},   {"11.025KHz", 11025}, {"12.000KHz", 12000},
    {"16.000KHz", 16000}, {"22.050KHz", 22050}, {"24.000KHz", 24000},
    {"32.000KHz", 32000}, {"44.100KHz", 44100}, {"48.000KHz", 48000},
};

bool Has(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

SoundFormat ParseSoundFormat(std::string_view text) {
  SoundFormat f;
  if (Has(text, "mono")) f.channels = 1;
  if (Has(text, "stereo")) f.channels = 2;
  if (Has(text, "8bits")) f.bitsPerSample = 8;
  if (Has(text, "16bits")) f.bitsPerSample = 16;
  for (const RatePart& r : kRates) {
    if (Has(text, r.text)) f.samplesPerSec = r.rate;
  }
  f.avgBytesPerSec = f.samplesPerSec * f.bitsPerSample * f.channels / 8;
  f.blockAlign = static_cast<std::uint16_t>(f.bitsPerSample * f.channels / 8);
  return f;
}

}  // namespace core

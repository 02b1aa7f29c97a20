// The settings values the program parses: the compressor, the sound format
// and the frame sizes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/capture_format.h"
#include "core/compress_text.h"
#include "core/sound_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  core::ParseCompressText(text);
  core::ParseSoundFormat(text);
  const core::FrameSize frame = core::FrameSizeAt(text);
  core::Dib24ImageBytes(frame.width, frame.height);
  core::ChooseDeviceResolution(text, size % 2 == 0);
  return 0;
}

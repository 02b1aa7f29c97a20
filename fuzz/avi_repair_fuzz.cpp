// Cut-off clips and the recorder's notes: any bytes as a clip to repair and
// as a note. A repair that succeeds must give a complete clip that holds the
// same chunks; a note that reads must read again the same after writing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/avi_repair.h"

namespace {

core::ClipNote VideoAndSound() {
  core::ClipNote note;
  note.clip = "clip.avi";
  core::AviStreamNote video;
  video.type = core::FourCc("vids");
  video.scale = 1;
  video.rate = 30;
  video.format.assign(40, 0);
  core::AviStreamNote sound;
  sound.type = core::FourCc("auds");
  sound.scale = 1;
  sound.rate = 8000;
  sound.format.assign(16, 0);
  note.streams = {video, sound};
  return note;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file(data, data + size);
  static const core::ClipNote note = VideoAndSound();
  core::MemorySource source(file);
  core::IsCompleteAvi(source);
  const auto chunks = core::FindRecordedChunks(source, note);
  core::MemorySink sink;
  if (core::WriteRepairedAvi(note, source, chunks, sink)) {
    core::MemorySource repaired(sink.bytes);
    if (!core::IsCompleteAvi(repaired)) __builtin_trap();
    if (core::FindRecordedChunks(repaired, note).size() != chunks.size()) __builtin_trap();
  }

  const auto parsed =
      core::ParseClipNote(std::string_view(reinterpret_cast<const char*>(data), size));
  if (parsed) {
    const auto again = core::ParseClipNote(core::FormatClipNote(*parsed));
    if (!again || again->clip != parsed->clip || again->streams.size() != parsed->streams.size()) {
      __builtin_trap();
    }
  }
  return 0;
}

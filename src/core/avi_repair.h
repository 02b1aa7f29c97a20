#pragma once
// Reading and repairing the AVI files the recorder writes. The platform's AVI
// service writes the chunks of a clip as they come and its headers and index
// only when the file is closed, so a recording cut off by a killed process or
// a full disk leaves the chunks without headers or index, and no player opens
// it. The recorder keeps a note of its streams while it records; with that
// note the chunks present make a complete clip again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// What a stream header and format hold for one stream of a clip.
struct AviStreamNote {
  std::uint32_t type = 0;     // 'vids' or 'auds' as a little-endian FOURCC
  std::uint32_t handler = 0;  // the compressor's FOURCC, 0 for none
  std::uint32_t scale = 0;
  std::uint32_t rate = 0;
  std::uint32_t sampleSize = 0;  // 0: every chunk is one sample
  std::uint32_t quality = 0;
  std::int16_t frame[4] = {};    // left, top, right, bottom
  std::vector<std::uint8_t> format;  // BITMAPINFOHEADER or WAVEFORMATEX bytes
};

// The note kept while a clip is recorded: its path (UTF-8) and its streams.
struct ClipNote {
  std::string clip;
  std::vector<AviStreamNote> streams;
};

std::string FormatClipNote(const ClipNote& note);
// Nothing when the text is not a whole note with at least one stream.
std::optional<ClipNote> ParseClipNote(std::string_view text);

// Random access to a file's bytes.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // False when the `count` bytes at `offset` cannot all be read.
  virtual bool Read(std::uint64_t offset, void* out, std::size_t count) const = 0;
};

// Where a repaired clip is written, front to back.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const void* data, std::size_t count) = 0;
};

// Bytes in memory as a file to read, and a file written to memory.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}
  std::uint64_t Size() const override { return m_bytes.size(); }
  bool Read(std::uint64_t offset, void* out, std::size_t count) const override;

 private:
  const std::vector<std::uint8_t>& m_bytes;
};

class MemorySink : public ByteSink {
 public:
  bool Write(const void* data, std::size_t count) override;
  std::vector<std::uint8_t> bytes;
};

// One chunk of a clip's movie data: the offset of its 8-byte header, its id
// and the size of its data.
struct AviChunk {
  std::uint64_t offset = 0;
  std::uint32_t id = 0;
  std::uint32_t size = 0;
};

// True when the file is one complete AVI: a RIFF 'AVI ' form that fills the
// file, with its header list, movie list and index inside it.
bool IsCompleteAvi(const ByteSource& file);

// The complete chunks of the note's streams, in file order, from the movie
// list when the file has headers or else from the first chunk found near the
// file's start. The walk ends at the index, at a torn chunk (its data runs
// past the end of the file) or at anything that is not a chunk of a stream.
std::vector<AviChunk> FindRecordedChunks(const ByteSource& file, const ClipNote& note);

// Writes a complete clip: headers made from the note and the chunks' counts,
// the chunks' bytes copied from `file`, and an index of them. False when
// there is no chunk to keep, a read fails or a write fails.
bool WriteRepairedAvi(const ClipNote& note, const ByteSource& file,
                      const std::vector<AviChunk>& chunks, ByteSink& out);

// A FOURCC from its four characters.
constexpr std::uint32_t FourCc(const char (&s)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

}  // namespace core

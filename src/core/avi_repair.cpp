#include "core/avi_repair.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace core {

namespace {

constexpr std::uint32_t kRiff = FourCc("RIFF");
constexpr std::uint32_t kAvi = FourCc("AVI ");
constexpr std::uint32_t kList = FourCc("LIST");
constexpr std::uint32_t kHdrl = FourCc("hdrl");
constexpr std::uint32_t kMovi = FourCc("movi");
constexpr std::uint32_t kIdx1 = FourCc("idx1");
constexpr std::uint32_t kJunk = FourCc("JUNK");
constexpr std::uint32_t kVids = FourCc("vids");
constexpr std::uint32_t kAuds = FourCc("auds");
constexpr std::uint32_t kKeyFrame = 0x10;  // AVIIF_KEYFRAME
constexpr std::uint32_t kHasIndex = 0x10;  // AVIF_HASINDEX
constexpr std::size_t kMaxStreams = 10;
constexpr std::size_t kMaxFormatBytes = 4096;
// No frame or sound block of a recording comes near this; a larger size is
// not a chunk header but other bytes.
constexpr std::uint32_t kMaxChunkBytes = 64u << 20;
// How far from the file's start the first chunk of a file without headers
// is looked for (the service reserves a few kilobytes for its headers).
constexpr std::size_t kFirstChunkSearch = 1u << 20;
constexpr std::uint64_t kMaxRiffBytes = 0xFFFFFFF0u;

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint64_t Padded(std::uint64_t size) { return size + (size & 1); }

// ---- the note's text ----

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text) {
  if (text.size() % 2 != 0 || text.size() / 2 > kMaxFormatBytes) return std::nullopt;
  std::vector<std::uint8_t> bytes(text.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char* first = text.data() + 2 * i;
    auto [end, ec] = std::from_chars(first, first + 2, bytes[i], 16);
    if (ec != std::errc() || end != first + 2) return std::nullopt;
  }
  return bytes;
}

// The next space-separated word of `text`, removed from it.
std::string_view NextWord(std::string_view& text) {
  const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
  text.remove_prefix(start);
  const std::size_t end = std::min(text.find(' '), text.size());
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

template <class T>
bool ReadNumber(std::string_view& text, T& value) {
  const std::string_view word = NextWord(text);
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size() && !word.empty();
}

std::optional<AviStreamNote> ParseStream(std::string_view text) {
  AviStreamNote s;
  if (!ReadNumber(text, s.type) || !ReadNumber(text, s.handler) || !ReadNumber(text, s.scale) ||
      !ReadNumber(text, s.rate) || !ReadNumber(text, s.sampleSize) ||
      !ReadNumber(text, s.quality)) {
    return std::nullopt;
  }
  for (std::int16_t& side : s.frame) {
    if (!ReadNumber(text, side)) return std::nullopt;
  }
  auto format = FromHex(NextWord(text));
  if (!format || format->empty() || !NextWord(text).empty()) return std::nullopt;
  if ((s.type != kVids && s.type != kAuds) || s.scale == 0 || s.rate == 0) return std::nullopt;
  s.format = std::move(*format);
  return s;
}

// ---- reading chunks ----

// Stream number and type of a chunk id such as "00db" or "01wb"; the chunk
// belongs to the note when its stream exists and the type fits the stream.
bool IsStreamChunk(std::uint32_t id, const ClipNote& note) {
  const char c[4] = {static_cast<char>(id), static_cast<char>(id >> 8),
                     static_cast<char>(id >> 16), static_cast<char>(id >> 24)};
  if (c[0] < '0' || c[0] > '9' || c[1] < '0' || c[1] > '9') return false;
  const std::size_t stream = static_cast<std::size_t>((c[0] - '0') * 10 + (c[1] - '0'));
  if (stream >= note.streams.size()) return false;
  const std::string_view kind(c + 2, 2);
  if (note.streams[stream].type == kAuds) return kind == "wb";
  return kind == "db" || kind == "dc" || kind == "pc";
}

bool ReadHeader(const ByteSource& file, std::uint64_t offset, std::uint32_t& id,
                std::uint32_t& size) {
  std::uint8_t header[8];
  if (!file.Read(offset, header, sizeof header)) return false;
  id = Le32(header);
  size = Le32(header + 4);
  return true;
}

// The start of the movie data: inside the movie list of a file with a RIFF
// header, else nothing.
std::optional<std::uint64_t> MovieListData(const ByteSource& file) {
  std::uint8_t head[12];
  if (file.Size() < 12 || !file.Read(0, head, sizeof head)) return std::nullopt;
  if (Le32(head) != kRiff || Le32(head + 8) != kAvi) return std::nullopt;
  std::uint64_t pos = 12;
  std::uint32_t id = 0, size = 0;
  while (pos + 12 <= file.Size() && ReadHeader(file, pos, id, size)) {
    std::uint8_t type[4];
    if (id == kList && file.Read(pos + 8, type, 4) && Le32(type) == kMovi) return pos + 12;
    pos += 8 + Padded(size);
  }
  return std::nullopt;
}

// A chunk of the note's streams whose data fits in the file.
bool IsWholeChunk(const ByteSource& file, std::uint64_t offset, const ClipNote& note,
                  AviChunk& chunk) {
  if (!ReadHeader(file, offset, chunk.id, chunk.size)) return false;
  chunk.offset = offset;
  return IsStreamChunk(chunk.id, note) && chunk.size <= kMaxChunkBytes &&
         offset + 8 + chunk.size <= file.Size();
}

// The first chunk of a file without headers: a chunk of the note's streams
// followed by another one or by the end of the file.
std::optional<std::uint64_t> FirstChunk(const ByteSource& file, const ClipNote& note) {
  const std::uint64_t limit = std::min<std::uint64_t>(file.Size(), kFirstChunkSearch);
  for (std::uint64_t pos = 0; pos + 8 <= limit; pos += 2) {
    AviChunk chunk, next;
    if (!IsWholeChunk(file, pos, note, chunk)) continue;
    const std::uint64_t after = pos + 8 + Padded(chunk.size);
    if (after + 8 > file.Size() || IsWholeChunk(file, after, note, next)) return pos;
  }
  return std::nullopt;
}

// ---- writing ----

class Bytes {
 public:
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U16(std::uint16_t v) {
    m_bytes.push_back(static_cast<std::uint8_t>(v));
    m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void Append(const std::vector<std::uint8_t>& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    if (bytes.size() & 1) m_bytes.push_back(0);
  }
  const std::vector<std::uint8_t>& Get() const { return m_bytes; }

 private:
  std::vector<std::uint8_t> m_bytes;
};

struct StreamCount {
  std::uint32_t chunks = 0;
  std::uint64_t bytes = 0;
  std::uint32_t largest = 0;
};

std::uint32_t StreamOf(std::uint32_t id) {
  return static_cast<std::uint32_t>(((id & 0xFF) - '0') * 10 + (((id >> 8) & 0xFF) - '0'));
}

std::uint32_t Length(const AviStreamNote& s, const StreamCount& c) {
  return static_cast<std::uint32_t>(s.sampleSize ? c.bytes / s.sampleSize : c.chunks);
}

void MainHeader(Bytes& out, const ClipNote& note, const std::vector<StreamCount>& counts) {
  std::uint32_t microSecPerFrame = 0, frames = 0, width = 0, height = 0, largest = 0;
  for (std::size_t i = 0; i < note.streams.size(); ++i) {
    const AviStreamNote& s = note.streams[i];
    largest = std::max(largest, counts[i].largest);
    if (s.type != kVids || frames) continue;
    microSecPerFrame = static_cast<std::uint32_t>(1000000ull * s.scale / s.rate);
    frames = counts[i].chunks;
    width = static_cast<std::uint32_t>(s.frame[2] - s.frame[0]);
    height = static_cast<std::uint32_t>(s.frame[3] - s.frame[1]);
  }
  out.U32(FourCc("avih"));
  out.U32(56);
  for (std::uint32_t v : {microSecPerFrame, 0u, 0u, kHasIndex, frames, 0u,
                          static_cast<std::uint32_t>(note.streams.size()), largest, width, height,
                          0u, 0u, 0u, 0u}) {
    out.U32(v);
  }
}

void StreamList(Bytes& out, const AviStreamNote& s, const StreamCount& count) {
  const std::uint32_t formatBytes = static_cast<std::uint32_t>(Padded(s.format.size()));
  out.U32(kList);
  out.U32(4 + 8 + 56 + 8 + formatBytes);
  out.U32(FourCc("strl"));
  out.U32(FourCc("strh"));
  out.U32(56);
  for (std::uint32_t v : {s.type, s.handler, 0u}) out.U32(v);
  out.U16(0);  // priority
  out.U16(0);  // language
  for (std::uint32_t v : {0u, s.scale, s.rate, 0u, Length(s, count), count.largest, s.quality,
                          s.sampleSize}) {
    out.U32(v);
  }
  for (std::int16_t side : s.frame) out.U16(static_cast<std::uint16_t>(side));
  out.U32(FourCc("strf"));
  out.U32(static_cast<std::uint32_t>(s.format.size()));
  out.Append(s.format);
}

bool CopyChunk(const ByteSource& file, const AviChunk& chunk, ByteSink& out) {
  std::uint8_t header[8];
  std::memcpy(header, &chunk.id, 4);
  std::memcpy(header + 4, &chunk.size, 4);
  if (!out.Write(header, sizeof header)) return false;
  std::vector<std::uint8_t> buffer(std::min<std::uint32_t>(chunk.size, 256u << 10));
  for (std::uint32_t done = 0; done < chunk.size;) {
    const std::size_t n = std::min<std::size_t>(buffer.size(), chunk.size - done);
    if (!file.Read(chunk.offset + 8 + done, buffer.data(), n) || !out.Write(buffer.data(), n)) {
      return false;
    }
    done += static_cast<std::uint32_t>(n);
  }
  const std::uint8_t pad = 0;
  return !(chunk.size & 1) || out.Write(&pad, 1);
}

}  // namespace

bool MemorySource::Read(std::uint64_t offset, void* out, std::size_t count) const {
  if (offset > m_bytes.size() || count > m_bytes.size() - offset) return false;
  std::memcpy(out, m_bytes.data() + offset, count);
  return true;
}

bool MemorySink::Write(const void* data, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes.insert(bytes.end(), p, p + count);
  return true;
}

std::string FormatClipNote(const ClipNote& note) {
  std::string text = "clip=" + note.clip + "\n";
  for (const AviStreamNote& s : note.streams) {
    text += "stream=";
    for (std::uint32_t v : {s.type, s.handler, s.scale, s.rate, s.sampleSize, s.quality}) {
      text += std::to_string(v) + " ";
    }
    for (std::int16_t side : s.frame) text += std::to_string(side) + " ";
    text += Hex(s.format) + "\n";
  }
  return text;
}

std::optional<ClipNote> ParseClipNote(std::string_view text) {
  ClipNote note;
  bool hasClip = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.substr(0, 5) == "clip=" && !hasClip) {
      note.clip = std::string(line.substr(5));
      // No file name has control characters; a line end in one would not
      // read back.
      if (std::any_of(note.clip.begin(), note.clip.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return std::nullopt;
      }
      hasClip = !note.clip.empty();
    } else if (line.substr(0, 7) == "stream=" && note.streams.size() < kMaxStreams) {
      auto stream = ParseStream(line.substr(7));
      if (!stream) return std::nullopt;
      note.streams.push_back(std::move(*stream));
    } else if (!line.empty()) {
      return std::nullopt;
    }
  }
  if (!hasClip || note.streams.empty()) return std::nullopt;
  return note;
}

bool IsCompleteAvi(const ByteSource& file) {
  std::uint8_t head[12];
  if (file.Size() < 12 || !file.Read(0, head, sizeof head)) return false;
  if (Le32(head) != kRiff || Le32(head + 8) != kAvi) return false;
  const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(Le32(head + 4));
  if (riffEnd > file.Size()) return false;
  bool headers = false, movie = false, index = false;
  std::uint64_t pos = 12;
  std::uint32_t id = 0, size = 0;
  while (pos + 8 <= riffEnd && ReadHeader(file, pos, id, size)) {
    if (pos + 8 + size > riffEnd) return false;
    std::uint8_t type[4] = {};
    if (id == kList && size >= 4 && file.Read(pos + 8, type, 4)) {
      headers |= Le32(type) == kHdrl;
      movie |= Le32(type) == kMovi;
    }
    index |= id == kIdx1 && size % 16 == 0;
    pos += 8 + Padded(size);
  }
  return headers && movie && index;
}

std::vector<AviChunk> FindRecordedChunks(const ByteSource& file, const ClipNote& note) {
  std::vector<AviChunk> chunks;
  std::optional<std::uint64_t> pos = MovieListData(file);
  if (!pos) pos = FirstChunk(file, note);
  if (!pos) return chunks;
  std::uint64_t bytes = 0;
  while (*pos + 8 <= file.Size()) {
    AviChunk chunk;
    if (!IsWholeChunk(file, *pos, note, chunk)) {
      if (chunk.id != kJunk || *pos + 8 + chunk.size > file.Size()) break;
    } else {
      bytes += 24 + Padded(chunk.size);  // the chunk and its index entry
      if (bytes > kMaxRiffBytes - kFirstChunkSearch) break;
      chunks.push_back(chunk);
    }
    *pos += 8 + Padded(chunk.size);
  }
  return chunks;
}

bool WriteRepairedAvi(const ClipNote& note, const ByteSource& file,
                      const std::vector<AviChunk>& chunks, ByteSink& out) {
  if (chunks.empty() || note.streams.empty()) return false;
  std::vector<StreamCount> counts(note.streams.size());
  std::uint64_t movieBytes = 4;
  for (const AviChunk& c : chunks) {
    const std::uint32_t stream = StreamOf(c.id);
    if (stream >= counts.size()) return false;
    ++counts[stream].chunks;
    counts[stream].bytes += c.size;
    counts[stream].largest = std::max(counts[stream].largest, c.size);
    movieBytes += 8 + Padded(c.size);
  }

  Bytes headers;
  Bytes streams;
  for (std::size_t i = 0; i < note.streams.size(); ++i) StreamList(streams, note.streams[i], counts[i]);
  Bytes mainHeader;
  MainHeader(mainHeader, note, counts);
  const std::uint64_t headerListBytes = 4 + mainHeader.Get().size() + streams.Get().size();
  const std::uint64_t indexBytes = 16ull * chunks.size();
  const std::uint64_t riffBytes = 4 + 8 + headerListBytes + 8 + movieBytes + 8 + indexBytes;
  if (riffBytes > kMaxRiffBytes) return false;

  headers.U32(kRiff);
  headers.U32(static_cast<std::uint32_t>(riffBytes));
  headers.U32(kAvi);
  headers.U32(kList);
  headers.U32(static_cast<std::uint32_t>(headerListBytes));
  headers.U32(kHdrl);
  headers.Append(mainHeader.Get());
  headers.Append(streams.Get());
  headers.U32(kList);
  headers.U32(static_cast<std::uint32_t>(movieBytes));
  headers.U32(kMovi);
  if (!out.Write(headers.Get().data(), headers.Get().size())) return false;

  Bytes index;
  index.U32(kIdx1);
  index.U32(static_cast<std::uint32_t>(indexBytes));
  std::uint32_t offset = 4;  // from the 'movi' type, as players expect
  for (const AviChunk& c : chunks) {
    if (!CopyChunk(file, c, out)) return false;
    index.U32(c.id);
    index.U32(c.size ? kKeyFrame : 0);
    index.U32(offset);
    index.U32(c.size);
    offset += static_cast<std::uint32_t>(8 + Padded(c.size));
  }
  return out.Write(index.Get().data(), index.Get().size());
}

}  // namespace core

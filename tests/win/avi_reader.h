#pragma once
// Reads back what an AVI file holds, chunk by chunk, without the platform's
// AVI service: the stream headers and formats, the data chunks of 'movi' in
// file order and the 'idx1' index. Enough to check a written clip exactly.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_win {

struct AviStream {
  std::string type;  // "vids", "auds"
  std::uint32_t handler = 0, flags = 0, scale = 0, rate = 0, start = 0, length = 0;
  std::uint32_t suggestedBufferSize = 0, sampleSize = 0;
  std::vector<unsigned char> format;  // the 'strf' chunk
};

struct AviChunk {
  std::string id;  // "00db", "01wb", ...
  std::vector<unsigned char> data;
};

struct AviIndexEntry {
  std::string id;
  std::uint32_t flags = 0, offset = 0, size = 0;
};

struct AviFile {
  bool riff = false;  // "RIFF" .... "AVI "
  std::uint32_t microSecPerFrame = 0, totalFrames = 0, width = 0, height = 0;
  std::vector<AviStream> streams;
  std::vector<AviChunk> chunks;
  std::vector<AviIndexEntry> index;
  bool hasIndex = false;

  std::vector<const AviChunk*> ChunksOf(int stream) const {
    std::vector<const AviChunk*> out;
    for (const AviChunk& c : chunks) {
      if (c.id.size() == 4 && (c.id[0] - '0') * 10 + (c.id[1] - '0') == stream) out.push_back(&c);
    }
    return out;
  }
};

namespace avi_detail {

inline std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
inline std::string Id(const std::vector<unsigned char>& b, std::size_t at) {
  return at + 4 <= b.size() ? std::string(reinterpret_cast<const char*>(&b[at]), 4) : std::string();
}

// Walks the chunks of [begin, end); lists are entered.
inline void Walk(const std::vector<unsigned char>& b, std::size_t begin, std::size_t end,
                 AviFile& avi, const std::string& list) {
  std::size_t at = begin;
  while (at + 8 <= end) {
    const std::string id = Id(b, at);
    const std::uint32_t size = U32(b, at + 4);
    const std::size_t body = at + 8;
    if (body + size > end) break;
    if (id == "LIST") {
      Walk(b, body + 4, body + size, avi, Id(b, body));
    } else if (id == "avih") {
      avi.microSecPerFrame = U32(b, body);
      avi.totalFrames = U32(b, body + 16);
      avi.width = U32(b, body + 32);
      avi.height = U32(b, body + 36);
    } else if (id == "strh") {
      AviStream s;
      s.type = Id(b, body);
      s.handler = U32(b, body + 4);
      s.flags = U32(b, body + 8);
      s.scale = U32(b, body + 20);
      s.rate = U32(b, body + 24);
      s.start = U32(b, body + 28);
      s.length = U32(b, body + 32);
      s.suggestedBufferSize = U32(b, body + 36);
      s.sampleSize = U32(b, body + 44);
      avi.streams.push_back(s);
    } else if (id == "strf" && !avi.streams.empty()) {
      avi.streams.back().format.assign(b.begin() + body, b.begin() + body + size);
    } else if (id == "idx1") {
      avi.hasIndex = true;
      for (std::size_t e = body; e + 16 <= body + size; e += 16) {
        avi.index.push_back({Id(b, e), U32(b, e + 4), U32(b, e + 8), U32(b, e + 12)});
      }
    } else if (list == "movi" || list == "rec ") {
      avi.chunks.push_back(
          {id, std::vector<unsigned char>(b.begin() + body, b.begin() + body + size)});
    }
    at = body + size + (size & 1);
  }
}

}  // namespace avi_detail

inline AviFile ReadAvi(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
  AviFile avi;
  if (b.size() < 12 || avi_detail::Id(b, 0) != "RIFF" || avi_detail::Id(b, 8) != "AVI ") return avi;
  avi.riff = true;
  const std::size_t end = std::min<std::size_t>(b.size(), 8 + std::size_t{avi_detail::U32(b, 4)});
  avi_detail::Walk(b, 12, end, avi, "AVI ");
  return avi;
}

}  // namespace testing_win

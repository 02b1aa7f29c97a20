#pragma once
// The persisted compressor choice: "0" for none, or "FF" followed by one
// ",%02X" group per byte of the compressor-choice record (its first field is
// the record's own length, little-endian) and then of the compressor's state.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Offsets of the fields the recorder uses inside the compressor-choice record.
inline constexpr std::size_t kCompressRecordHandler = 16;
inline constexpr std::size_t kCompressRecordQuality = 48;
inline constexpr std::size_t kCompressRecordStateSize = 60;

struct CompressChoice {
  enum class Kind {
    kNone,     // record uncompressed frames
    kInvalid,  // the length field claims more bytes than the text holds
    kCodec,    // compress with `handler` at `quality`
  };
  Kind kind = Kind::kNone;
  std::uint32_t handler = 0;  // four-character code of the compressor
  std::uint32_t quality = 0;  // 0 to 10,000
  // The record as stored (its length field's worth of bytes). Fields beyond
  // a short record read as 0.
  std::vector<std::uint8_t> record;
};

// Reads the text back byte by byte, one byte every three characters. A first
// byte other than 0xFF means no compression. The compressor's state bytes
// that follow the record are not needed and not read.
CompressChoice ParseCompressText(std::string_view text);

// The text of a choice: "FF", then ",%02X" for each byte of the record and
// then for each byte of the compressor's state.
std::string FormatCompressText(std::span<const std::uint8_t> record,
                               std::span<const std::uint8_t> state);

}  // namespace core

#include "core/compress_text.h"

namespace core {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte written at character position 3 * index: the hexadecimal digits
// found there, as "%x" reads them (a missing number reads as 0).
std::uint8_t ByteAt(std::string_view text, std::size_t index) {
  std::size_t pos = 3 * index;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  std::uint32_t value = 0;
  for (; pos < text.size() && HexDigit(text[pos]) >= 0; ++pos) {
    value = value * 16 + static_cast<std::uint32_t>(HexDigit(text[pos]));
  }
  return static_cast<std::uint8_t>(value);
}

std::uint32_t Field32(const std::vector<std::uint8_t>& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (offset + i < record.size()) value |= std::uint32_t{record[offset + i]} << (8 * i);
  }
  return value;
}

}  // namespace

CompressChoice ParseCompressText(std::string_view text) {
  CompressChoice choice;
  if (text.size() < 2 || ByteAt(text, 0) != 0xFF) return choice;
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < 4; ++i) length |= std::uint32_t{ByteAt(text, 1 + i)} << (8 * i);
  if (length > (text.size() - 2) / 3) {
    choice.kind = CompressChoice::Kind::kInvalid;
    return choice;
  }
  // Record byte j is text byte j + 1.
  choice.record.resize(length);
  for (std::size_t j = 0; j < length; ++j) choice.record[j] = ByteAt(text, j + 1);
  choice.kind = CompressChoice::Kind::kCodec;
  choice.handler = Field32(choice.record, kCompressRecordHandler);
  choice.quality = Field32(choice.record, kCompressRecordQuality);
  return choice;
}

std::string FormatCompressText(std::span<const std::uint8_t> record,
                               std::span<const std::uint8_t> state) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "FF";
  text.reserve(2 + 3 * (record.size() + state.size()));
  for (std::span<const std::uint8_t> part : {record, state}) {
    for (std::uint8_t b : part) {
      text += ',';
      text += kDigits[b >> 4];
      text += kDigits[b & 15];
    }
  }
  return text;
}

}  // namespace core

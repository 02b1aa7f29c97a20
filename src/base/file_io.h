#pragma once
// Whole-file reads, and writes that replace a file only by a complete new one.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace base {

// The bytes of a file of at most `maxBytes`; nothing when it cannot be read
// or is larger.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::size_t maxBytes);

// Writes the bytes to a temporary file in the destination's folder and moves
// it over the destination, so a failed write leaves the old file as it was
// and no half-written one behind.
bool ReplaceFileWith(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// Handed to a producer of a file's bytes: false when they could not all be written.
using ByteWriter = std::function<bool(const void* data, std::size_t size)>;
// The same for bytes that `produce` writes in pieces; nothing is replaced
// when it returns false.
bool ReplaceFileWithOutputOf(const std::wstring& path,
                             const std::function<bool(const ByteWriter&)>& produce);

// The same for a copy of the file `source`.
bool ReplaceFileWithCopyOf(const std::wstring& path, const std::wstring& source);

}  // namespace base

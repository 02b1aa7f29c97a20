#include "base/file_io.h"

#include <windows.h>

#include <atomic>

#include "base/handles.h"

namespace base {
namespace {

// Writes in pieces a DWORD can count.
bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPiece = std::size_t{1} << 24;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(size < kPiece ? size : kPiece);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
    data += chunk;
    size -= chunk;
  }
  return true;
}

// A name beside the destination that no other save of this process uses.
std::wstring TemporaryNameFor(const std::wstring& path) {
  static std::atomic<unsigned> s_next{0};
  return path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(++s_next) + L".tmp";
}

// Moves the complete temporary file over the destination; a temporary file
// that was not completed or cannot be moved goes.
bool MoveInPlace(const std::wstring& temporary, const std::wstring& path, bool complete) {
  if (complete && ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::size_t maxBytes) {
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes)
    return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - done);
    if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr) || got == 0) return {};
    done += got;
  }
  return bytes;
}

bool ReplaceFileWith(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  return ReplaceFileWithOutputOf(
      path, [&bytes](const ByteWriter& write) { return write(bytes.data(), bytes.size()); });
}

bool ReplaceFileWithOutputOf(const std::wstring& path,
                             const std::function<bool(const ByteWriter&)>& produce) {
  const std::wstring temporary = TemporaryNameFor(path);
  bool written = false;
  {
    base::FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    written = produce([&file](const void* data, std::size_t size) {
      return WriteAll(file.Get(), static_cast<const std::uint8_t*>(data), size);
    });
  }
  return MoveInPlace(temporary, path, written);
}

bool ReplaceFileWithCopyOf(const std::wstring& path, const std::wstring& source) {
  const std::wstring temporary = TemporaryNameFor(path);
  return MoveInPlace(temporary, path, ::CopyFileW(source.c_str(), temporary.c_str(), TRUE) != FALSE);
}

}  // namespace base

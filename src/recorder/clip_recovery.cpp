#include "recorder/clip_recovery.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/strings.h"

namespace recorder {

namespace {

constexpr std::size_t kMaxNoteBytes = 64 * 1024;

// A file read through a window of its bytes, so that the many small reads
// of a chunk walk do not each go to the system.
class FileSource : public core::ByteSource {
 public:
  explicit FileSource(const std::wstring& path)
      : m_file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size{};
    if (m_file && ::GetFileSizeEx(m_file.Get(), &size)) m_size = static_cast<std::uint64_t>(size.QuadPart);
  }
  explicit operator bool() const { return static_cast<bool>(m_file); }
  std::uint64_t Size() const override { return m_size; }

  bool Read(std::uint64_t offset, void* out, std::size_t count) const override {
    if (offset > m_size || count > m_size - offset) return false;
    if (count > kWindow) return ReadFromFile(offset, out, count);
    if (offset < m_windowStart || offset + count > m_windowStart + m_window.size()) {
      m_window.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, m_size - offset)));
      if (!ReadFromFile(offset, m_window.data(), m_window.size())) {
        m_window.clear();
        return false;
      }
      m_windowStart = offset;
    }
    std::memcpy(out, m_window.data() + (offset - m_windowStart), count);
    return true;
  }

 private:
  static constexpr std::size_t kWindow = 64 * 1024;

  bool ReadFromFile(std::uint64_t offset, void* out, std::size_t count) const {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(m_file.Get(), at, nullptr, FILE_BEGIN)) return false;
    auto* bytes = static_cast<std::uint8_t*>(out);
    while (count > 0) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 24));
      if (!::ReadFile(m_file.Get(), bytes, want, &got, nullptr) || got == 0) return false;
      bytes += got;
      count -= got;
    }
    return true;
  }

  base::FileHandle m_file;
  std::uint64_t m_size = 0;
  mutable std::vector<std::uint8_t> m_window;
  mutable std::uint64_t m_windowStart = 0;
};

class WriterSink : public core::ByteSink {
 public:
  explicit WriterSink(const base::ByteWriter& write) : m_write(write) {}
  bool Write(const void* data, std::size_t count) override { return m_write(data, count); }

 private:
  const base::ByteWriter& m_write;
};

// A file name for a clip's note: a hash of its path, in any letter case.
std::wstring NoteName(const std::wstring& clip) {
  std::uint32_t hash = 2166136261u;
  for (wchar_t c : clip) {
    hash = (hash ^ static_cast<std::uint32_t>(::towlower(c))) * 16777619u;
  }
  return base::FormatW(L"%08lx.txt", static_cast<unsigned long>(hash));
}

}  // namespace

core::AviStreamNote NoteOfStream(IAVIStream* stream) {
  core::AviStreamNote note;
  AVISTREAMINFOA info{};
  if (!stream || FAILED(::AVIStreamInfoA(stream, &info, sizeof info))) return note;
  note.type = info.fccType;
  note.handler = info.fccHandler;
  note.scale = info.dwScale;
  note.rate = info.dwRate;
  note.sampleSize = info.dwSampleSize;
  note.quality = info.dwQuality;
  const LONG sides[4] = {info.rcFrame.left, info.rcFrame.top, info.rcFrame.right,
                         info.rcFrame.bottom};
  for (int i = 0; i < 4; ++i) note.frame[i] = static_cast<std::int16_t>(sides[i]);
  LONG size = 0;
  if (SUCCEEDED(::AVIStreamReadFormat(stream, 0, nullptr, &size)) && size > 0 &&
      static_cast<std::size_t>(size) <= kMaxNoteBytes) {
    note.format.resize(static_cast<std::size_t>(size));
    if (FAILED(::AVIStreamReadFormat(stream, 0, note.format.data(), &size))) note.format.clear();
  }
  return note;
}

std::wstring NotePathFor(const std::wstring& folder, const std::wstring& clip) {
  return folder + L"\\" + NoteName(clip);
}

bool WriteClipNote(const std::wstring& notePath, const core::ClipNote& note) {
  const std::wstring folder = notePath.substr(0, notePath.find_last_of(L'\\'));
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::string text = core::FormatClipNote(note);
  return base::ReplaceFileWith(notePath, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool IsCompleteClip(const std::wstring& clip) {
  FileSource source(clip);
  return source && core::IsCompleteAvi(source);
}

RepairResult RepairClip(const core::ClipNote& note) {
  const std::wstring clip = base::Widen(note.clip, CP_UTF8);
  std::vector<core::AviChunk> chunks;
  {
    FileSource source(clip);
    if (!source || core::IsCompleteAvi(source)) return RepairResult::kNotNeeded;
    chunks = core::FindRecordedChunks(source, note);
    if (chunks.empty()) return RepairResult::kNothingToKeep;
  }
  // The clip is open only while its copy is written, so that the copy can
  // then be moved over it.
  const bool repaired = base::ReplaceFileWithOutputOf(clip, [&](const base::ByteWriter& write) {
    FileSource source(clip);
    WriterSink sink(write);
    return source && core::WriteRepairedAvi(note, source, chunks, sink);
  });
  return repaired ? RepairResult::kRepaired : RepairResult::kFailed;
}

std::vector<std::wstring> RepairCutOffClips(const std::wstring& folder) {
  std::vector<std::wstring> repaired;
  if (folder.empty()) return repaired;
  std::vector<std::wstring> notes;
  WIN32_FIND_DATAW found{};
  {
    base::FindHandle find(::FindFirstFileW((folder + L"\\*.txt").c_str(), &found));
    if (!find) return repaired;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) notes.push_back(found.cFileName);
    } while (::FindNextFileW(find.Get(), &found));
  }
  for (const std::wstring& name : notes) {
    const std::wstring notePath = folder + L"\\" + name;
    const auto bytes = base::ReadWholeFile(notePath, kMaxNoteBytes);
    if (!bytes) continue;
    const auto note = core::ParseClipNote(std::string_view(
        reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    const RepairResult result = note ? RepairClip(*note) : RepairResult::kNothingToKeep;
    if (result == RepairResult::kFailed) continue;
    if (result == RepairResult::kRepaired) repaired.push_back(base::Widen(note->clip, CP_UTF8));
    ::DeleteFileW(notePath.c_str());  // the program's own note, not a file of the user
  }
  ::RemoveDirectoryW(folder.c_str());  // only when no note is left
  return repaired;
}

}  // namespace recorder

#include "recorder/avi_recorder.h"

#include <cstring>
#include <utility>

#include "base/strings.h"
#include "base/trace.h"
#include "core/avi_timing.h"
#include "core/compress_text.h"
#include "recorder/clip_recovery.h"
#include "settings/settings_file.h"

namespace recorder {

std::atomic<bool> bProcessing{false};
std::atomic<LONG> g_lVideoFrameCounter{0};

namespace {

// Counts a stream write in progress for as long as it lives.
class WritingScope {
 public:
  explicit WritingScope(std::atomic<DWORD>& counter) : m_counter(counter) { ++m_counter; }
  ~WritingScope() { --m_counter; }
  WritingScope(const WritingScope&) = delete;
  WritingScope& operator=(const WritingScope&) = delete;

 private:
  std::atomic<DWORD>& m_counter;
};

// The compressor a choice names; 0 for none.
DWORD CompressorOf(const core::CompressChoice& choice) {
  return choice.kind == core::CompressChoice::Kind::kCodec ? choice.handler : 0;
}

}  // namespace

AviRecorder::AviRecorder(Clock clock, DWORD sizeLimit)
    : m_clock(std::move(clock)), m_dwSizeLimit(sizeLimit) {}

AviRecorder::~AviRecorder() {
  // The sound capture is closed before its recorder goes, so nothing writes
  // any more; take the lock anyway rather than release under a write.
  std::lock_guard<std::mutex> lock(m_lock);
  ReleaseAll();
  FinishNote();
}

DWORD AviRecorder::Open(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  ReleaseAll();
  FinishNote();
  m_strClipPath = path;
  ::AVIFileInit();
  m_hrLast =
      ::AVIFileOpenA(m_pFile.Put(), base::Narrow(path).c_str(), OF_CREATE | OF_WRITE, nullptr);
  if (FAILED(m_hrLast) || !m_pFile) {
    base::Trace("AviRecorder: AVIFileOpen failed 0x%08lx\n", m_hrLast);
    m_pFile.Reset();
    ::AVIFileExit();
    return kAviCreateFileFailed;
  }
  m_bAviLibraryOpen = true;
  m_dwLibraryThread = ::GetCurrentThreadId();
  return kAviOk;
}

DWORD AviRecorder::CreateVideoStream(BITMAPINFOHEADER header, DWORD rate, DWORD scale) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_pFile) return kAviNoFile;
  m_frameHeader = header;
  m_streamInfo = AVISTREAMINFOA{};
  m_streamInfo.fccType = streamtypeVIDEO;
  m_streamInfo.dwScale = scale;
  m_streamInfo.dwRate = rate;
  m_streamInfo.dwSuggestedBufferSize = header.biSizeImage;
  ::SetRect(&m_streamInfo.rcFrame, 0, 0, header.biWidth, header.biHeight);
  m_dFramesPerSecond = scale ? static_cast<double>(rate) / scale : 0.0;
  const std::string compress =
      settings::Read(settings::kCompress,
                     m_strSettingsPath.empty() ? settings::SettingsPath() : m_strSettingsPath);
  // A compressed stream names its compressor in the stream header, where
  // players look for it.
  m_streamInfo.fccHandler = CompressorOf(core::ParseCompressText(compress));

  m_hrLast = ::AVIFileCreateStreamA(m_pFile.Get(), m_pVideoStream.Put(), &m_streamInfo);
  if (FAILED(m_hrLast) || !m_pVideoStream) {
    m_pVideoStream.Reset();
    return kAviCreateStreamFailed;
  }

  if (compress == "0") {
    m_pWrittenVideoStream = m_pVideoStream;
  } else if (HRESULT hr = MakeCompressedStream(compress); FAILED(hr)) {
    m_hrLast = hr;
    m_pVideoStream.Reset();
    return kAviCreateStreamFailed;
  }

  // A record whose length field does not fit its text leaves no written
  // stream, and setting the format fails like any other refusal.
  const LONG formatSize = static_cast<LONG>(m_frameHeader.biSize + 4 * m_frameHeader.biClrUsed);
  m_hrLast = m_pWrittenVideoStream
                 ? ::AVIStreamSetFormat(m_pWrittenVideoStream.Get(), 0, &m_frameHeader, formatSize)
                 : AVIERR_BADFORMAT;
  if (FAILED(m_hrLast)) {
    base::Trace("AviRecorder: AVIStreamSetFormat failed 0x%08lx\n", m_hrLast);
    m_pWrittenVideoStream.Reset();
    m_pVideoStream.Reset();
    return kAviSetFormatFailed;
  }
  return kAviOk;
}

// Sets up the written video stream for a compressor-choice text that is not
// "0": uncompressed when it does not start with byte 0xFF, none at all when
// its length field is too large, else the chosen codec at its quality.
HRESULT AviRecorder::MakeCompressedStream(const std::string& compressText) {
  const core::CompressChoice choice = core::ParseCompressText(compressText);
  switch (choice.kind) {
    case core::CompressChoice::Kind::kNone:
      m_pWrittenVideoStream = m_pVideoStream;
      return S_OK;
    case core::CompressChoice::Kind::kInvalid:
      m_pWrittenVideoStream.Reset();
      return S_OK;
    case core::CompressChoice::Kind::kCodec:
      break;
  }
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = choice.handler;
  options.dwKeyFrameEvery = 0;
  options.dwQuality = choice.quality;
  options.dwBytesPerSecond = 0;
  options.dwFlags = AVICOMPRESSF_VALID;
  return ::AVIMakeCompressedStream(m_pWrittenVideoStream.Put(), m_pVideoStream.Get(), &options,
                                   nullptr);
}

DWORD AviRecorder::CreateAudioStream(const WAVEFORMATEX& format) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_pFile) return kAviNoFile;
  m_soundFormat = format;
  m_streamInfo = AVISTREAMINFOA{};
  m_streamInfo.fccType = streamtypeAUDIO;
  m_streamInfo.dwScale = format.nBlockAlign;
  m_streamInfo.dwRate = format.nAvgBytesPerSec;
  m_streamInfo.dwSuggestedBufferSize = format.nBlockAlign;
  m_streamInfo.dwSampleSize = 0;
  m_hrLast = ::AVIFileCreateStreamA(m_pFile.Get(), m_pAudioStream.Put(), &m_streamInfo);
  if (FAILED(m_hrLast) || !m_pAudioStream) {
    m_pAudioStream.Reset();
    return kAviCreateStreamFailed;
  }
  m_hrLast = ::AVIStreamSetFormat(m_pAudioStream.Get(), 0, &m_soundFormat, sizeof(WAVEFORMATEX));
  if (FAILED(m_hrLast)) {
    m_pAudioStream.Reset();
    return kAviSetFormatFailed;
  }
  return kAviOk;
}

void AviRecorder::Start() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_dwStartTick = m_clock();
  m_bStarted = true;
  m_lVideoSamples = 0;
  m_lAudioBytes = 0;
  m_dwTotalBytes = 0;
  m_lRewriteCount = 0;
  g_lVideoFrameCounter = 0;
  m_lLastFrameIndex = 0x7FFFFFFF;
  WriteNote();
}

// Notes the streams as the AVI service will describe them in the headers it
// writes at the close: the file's own streams, which a compressor has given
// its output format (a compressing stream itself cannot be asked for it).
void AviRecorder::WriteNote() {
  if (m_strNoteFolder.empty() || !m_pFile || !m_pWrittenVideoStream) return;
  core::ClipNote note;
  note.clip = base::Narrow(m_strClipPath, CP_UTF8);
  note.streams.push_back(NoteOfStream(m_pVideoStream.Get()));
  if (m_pAudioStream) note.streams.push_back(NoteOfStream(m_pAudioStream.Get()));
  const std::wstring path = NotePathFor(m_strNoteFolder, m_strClipPath);
  if (WriteClipNote(path, note)) m_strNotePath = path;
}

// A clip closed complete needs no repair; the note of one that is not stays
// for the repair at the next start.
void AviRecorder::FinishNote() {
  if (m_strNotePath.empty()) return;
  if (IsCompleteClip(m_strClipPath)) ::DeleteFileW(m_strNotePath.c_str());
  m_strNotePath.clear();
}

LONG AviRecorder::FrameIndexNow() const {
  if (m_pAudioStream) {
    return core::FrameIndexBySound(m_lAudioBytes, m_dFramesPerSecond,
                                   m_soundFormat.nAvgBytesPerSec);
  }
  return core::FrameIndexByTime(m_clock() - m_dwStartTick, m_dFramesPerSecond);
}

DWORD AviRecorder::WriteVideoFrame(const void* data, LONG bytes) {
  if (core::ReachedAviSizeLimit(m_dwTotalBytes, m_dwSizeLimit)) {
    Close();
    return kAviSizeLimitReached;
  }
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_pWrittenVideoStream) return kAviNoStream;
  if (!m_bStarted) return kAviNotStarted;
  if (!data || bytes != static_cast<LONG>(m_frameHeader.biSizeImage)) return kAviFrameSizeMismatch;
  WritingScope writing(m_dwWriting);

  const LONG index = FrameIndexNow();
  if (index == m_lLastFrameIndex) {
    ++m_lRewriteCount;
    return kAviOk;
  }
  m_lLastFrameIndex = index;
  m_hrLast = ::AVIStreamWrite(m_pWrittenVideoStream.Get(), index, 1, const_cast<void*>(data), bytes,
                              AVIIF_KEYFRAME, &m_lSampWritten, &m_lVideoBytesWritten);
  if (FAILED(m_hrLast)) return kAviWriteFailed;
  m_dwTotalBytes += static_cast<DWORD>(m_lVideoBytesWritten);
  m_lVideoSamples += m_lSampWritten;
  g_lVideoFrameCounter += m_lSampWritten;
  return kAviOk;
}

DWORD AviRecorder::WriteAudioData(const void* data, LONG bytes) {
  if (core::ReachedAviSizeLimit(m_dwTotalBytes, m_dwSizeLimit)) {
    Close();
    return kAviSizeLimitReached;
  }
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_bStarted) return kAviNotStarted;
  if (!m_pAudioStream) return kAviNoStream;
  const LONG block = m_soundFormat.nBlockAlign;
  if (!data || bytes < 0 || block == 0) return kAviWriteFailed;
  WritingScope writing(m_dwWriting);

  // Sound is only ever appended: at the stream's end, which is the sound
  // written so far in blocks. Asking the stream (rather than dividing the
  // byte count) keeps the position right on AVI services that count the
  // stream's length in chunks, where a computed position is refused.
  m_hrLast = ::AVIStreamWrite(
      m_pAudioStream.Get(),
      ::AVIStreamStart(m_pAudioStream.Get()) + ::AVIStreamLength(m_pAudioStream.Get()),
      bytes / block, const_cast<void*>(data), bytes, AVIIF_KEYFRAME, &m_lSampWritten,
      &m_lAudioBytesWritten);
  if (FAILED(m_hrLast)) return kAviWriteFailed;
  m_lAudioBytes += bytes;
  m_dwTotalBytes += static_cast<DWORD>(m_lAudioBytesWritten);
  return kAviOk;
}

DWORD AviRecorder::Close() {
  if (bProcessing.exchange(true)) return kAviOk;
  std::unique_lock<std::mutex> lock(m_lock, std::try_to_lock);
  if (!lock.owns_lock() || m_dwWriting != 0) {
    bProcessing = false;
    return kAviCloseBusy;
  }
  ReleaseAll();
  FinishNote();
  m_dwStartTick = 0;
  m_bStarted = false;
  m_lVideoSamples = 0;
  m_lAudioBytes = 0;
  // Cleared too, so that after a size-limit close the next write finds no
  // stream rather than the limit again.
  m_dwTotalBytes = 0;
  g_lVideoFrameCounter = 0;
  bProcessing = false;
  return kAviOk;
}

// Streams first, then the file (which writes the index and headers as it
// goes), then the AVI service once for the file. The service is left on the
// thread that opened it: a size-limit close on the wave-in thread leaves it
// to the next release on the opening thread.
void AviRecorder::ReleaseAll() {
  m_pWrittenVideoStream.Reset();
  m_pVideoStream.Reset();
  m_pAudioStream.Reset();
  m_pFile.Reset();
  if (m_bAviLibraryOpen && ::GetCurrentThreadId() == m_dwLibraryThread) {
    m_bAviLibraryOpen = false;
    ::AVIFileExit();
  }
}

HRESULT AviRecorder::LastResult() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_hrLast;
}
LONG AviRecorder::VideoSamples() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_lVideoSamples;
}
LONG AviRecorder::AudioBytes() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_lAudioBytes;
}
LONG AviRecorder::RewriteCount() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_lRewriteCount;
}
bool AviRecorder::HasVideoStream() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return static_cast<bool>(m_pWrittenVideoStream);
}
bool AviRecorder::HasAudioStream() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return static_cast<bool>(m_pAudioStream);
}
bool AviRecorder::IsOpen() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return static_cast<bool>(m_pFile);
}

}  // namespace recorder

#pragma once
// Writes one AVI clip through the platform's AVI file service: a video
// stream of 24-bit frames (optionally compressed by the chosen codec) and an
// optional PCM sound stream. Frames are placed by elapsed time, or by the
// sound written so far when the clip has sound, so the clip plays at its
// frame rate however irregularly frames arrive; a frame that lands on the
// position of the one before is dropped and counted.
//
// Video writes and Close come from the user-interface thread, sound writes
// from the wave-in thread. One lock serialises the stream writes (the AVI
// file service is not safe for concurrent writes to one file) and keeps a
// close from releasing the streams under a running write: Close never waits
// for it but answers kAviCloseBusy, and the caller retries.
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "base/com_ptr.h"
#include "core/avi_timing.h"

namespace recorder {

// Result codes of the recorder.
inline constexpr DWORD kAviOk = 0;  // also: frame dropped, or another close runs
inline constexpr DWORD kAviNoFile = 0x40000001;
inline constexpr DWORD kAviNoStream = 0x40000002;
inline constexpr DWORD kAviNotStarted = 0x40000003;
inline constexpr DWORD kAviCreateFileFailed = 0x80000001;
inline constexpr DWORD kAviCreateStreamFailed = 0x80000002;
inline constexpr DWORD kAviSetFormatFailed = 0x80000003;
inline constexpr DWORD kAviFrameSizeMismatch = 0x80000004;
inline constexpr DWORD kAviWriteFailed = 0x80000005;
inline constexpr DWORD kAviSizeLimitReached = 0x80000007;  // the clip has been closed
inline constexpr DWORD kAviCloseBusy = 0x80000009;         // a write is in progress

// A close is in progress (process-wide, so that a size-limit close from one
// thread does not overlap a close from the other).
extern std::atomic<bool> bProcessing;
// Video samples written since the last Start, for diagnostics.
extern std::atomic<LONG> g_lVideoFrameCounter;

class AviRecorder {
 public:
  // Milliseconds of a monotonic clock; wraps like the platform's tick counts.
  using Clock = std::function<DWORD()>;

  // `sizeLimit`: the bytes after which a write closes the clip.
  explicit AviRecorder(Clock clock = &::timeGetTime, DWORD sizeLimit = core::kAviSizeLimit);
  ~AviRecorder();
  AviRecorder(const AviRecorder&) = delete;
  AviRecorder& operator=(const AviRecorder&) = delete;

  // The settings file whose "Compress" value CreateVideoStream reads; the
  // program's own settings file unless set.
  void SetSettingsPath(std::wstring path) { m_strSettingsPath = std::move(path); }
  // The folder where Start notes the clip's streams, so that a clip whose
  // recording is cut off can be repaired; no note when empty.
  void SetNoteFolder(std::wstring folder) { m_strNoteFolder = std::move(folder); }

  DWORD Open(const std::wstring& path);
  DWORD CreateVideoStream(BITMAPINFOHEADER header, DWORD rate, DWORD scale);
  DWORD CreateAudioStream(const WAVEFORMATEX& format);
  void Start();
  DWORD WriteVideoFrame(const void* data, LONG bytes);
  DWORD WriteAudioData(const void* data, LONG bytes);
  DWORD Close();

  // Read-outs for the view's diagnostics and the tests.
  HRESULT LastResult() const;
  LONG VideoSamples() const;
  LONG AudioBytes() const;
  DWORD TotalBytes() const { return m_dwTotalBytes.load(); }
  LONG RewriteCount() const;
  bool HasVideoStream() const;
  bool HasAudioStream() const;
  bool IsOpen() const;

 private:
  HRESULT MakeCompressedStream(const std::string& compressText);
  LONG FrameIndexNow() const;
  void ReleaseAll();
  void WriteNote();
  void FinishNote();

  Clock m_clock;
  DWORD m_dwSizeLimit;
  std::wstring m_strSettingsPath;
  std::wstring m_strNoteFolder;
  std::wstring m_strClipPath;
  std::wstring m_strNotePath;  // the note of the clip being written
  mutable std::mutex m_lock;

  LONG m_lSampWritten = 0;
  LONG m_lVideoBytesWritten = 0;
  LONG m_lAudioBytesWritten = 0;
  HRESULT m_hrLast = S_OK;
  AVISTREAMINFOA m_streamInfo{};
  base::ComPtr<IAVIFile> m_pFile;
  base::ComPtr<IAVIStream> m_pVideoStream;
  base::ComPtr<IAVIStream> m_pAudioStream;
  base::ComPtr<IAVIStream> m_pWrittenVideoStream;  // compressed, or the video stream
  bool m_bAviLibraryOpen = false;                  // AVIFileInit done for this file
  DWORD m_dwLibraryThread = 0;                     // the thread that did it
  BITMAPINFOHEADER m_frameHeader{};
  WAVEFORMATEX m_soundFormat{};
  double m_dFramesPerSecond = 0;
  DWORD m_dwStartTick = 0;
  bool m_bStarted = false;
  LONG m_lVideoSamples = 0;
  LONG m_lAudioBytes = 0;
  std::atomic<DWORD> m_dwTotalBytes{0};
  std::atomic<DWORD> m_dwWriting{0};
  LONG m_lLastFrameIndex = 0x7FFFFFFF;
  LONG m_lRewriteCount = 0;
};

}  // namespace recorder

#include "recorder/sound_capture.h"

#include <new>

#include "base/trace.h"
#include "recorder/avi_recorder.h"

namespace recorder {

std::atomic<bool> g_bRecording{false};
std::atomic<bool> g_bErrorPosted{false};

bool SoundCapture::Open(const WAVEFORMATEX& format, AviRecorder* recorder, HWND notify) {
  Close();
  m_format = format;
  m_format.cbSize = 0;
  m_pRecorder = recorder;
  m_hNotify = notify;
  m_lBuffersDelivered = 0;
  m_bStop = false;
  MMRESULT result = ::waveInOpen(&m_hWaveIn, WAVE_MAPPER, &m_format,
                                 reinterpret_cast<DWORD_PTR>(&SoundCapture::OnWaveIn),
                                 reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
  if (result != MMSYSERR_NOERROR) {
    base::Trace("SoundCapture: waveInOpen failed %u\n", result);
    m_hWaveIn = nullptr;
    m_bStop = true;
    return false;
  }

  // 20 ms of sound per buffer, whole sample frames only.
  DWORD bytes = m_format.nAvgBytesPerSec / 50;
  if (m_format.nBlockAlign > 1) bytes -= bytes % m_format.nBlockAlign;
  for (int i = 0; i < kBufferCount; ++i) {
    m_buffers[i].reset(new (std::nothrow) char[bytes ? bytes : 1]);
    WAVEHDR& h = m_headers[i];
    h = WAVEHDR{};
    h.lpData = m_buffers[i].get();
    h.dwBufferLength = bytes;
    if (!m_buffers[i] || bytes == 0 ||
        ::waveInPrepareHeader(m_hWaveIn, &h, sizeof(h)) != MMSYSERR_NOERROR) {
      TakeBackBuffers(i);
      return false;
    }
    m_deviceBuffers.Queued();
    if (::waveInAddBuffer(m_hWaveIn, &h, sizeof(h)) != MMSYSERR_NOERROR) {
      m_deviceBuffers.Returned();
      TakeBackBuffers(i + 1);
      return false;
    }
  }
  if (::waveInStart(m_hWaveIn) != MMSYSERR_NOERROR) {
    TakeBackBuffers(kBufferCount);
    return false;
  }
  return true;
}

void SoundCapture::Close() {
  if (!m_hWaveIn) return;
  m_bStop = true;
  ::waveInStop(m_hWaveIn);
  TakeBackBuffers(kBufferCount);
}

// Ends the device's use of the first `prepared` buffers, frees them and
// closes the device. A reset hands every queued buffer back through the
// callback; it is repeated while buffers are out, since a callback that
// began before the stop may have queued its buffer again after a reset.
void SoundCapture::TakeBackBuffers(int prepared) {
  m_bStop = true;
  bool allBack = false;
  for (int attempt = 0; attempt < kResetAttempts && !allBack; ++attempt) {
    ::waveInReset(m_hWaveIn);
    allBack = m_deviceBuffers.WaitAllReturned(kReturnWaitMs);
  }
  if (!allBack) {
    // Freeing now could let the device write into freed memory: keep the
    // buffers for the rest of the run instead.
    base::Trace("SoundCapture: %ld buffers not returned\n", m_deviceBuffers.Count());
    for (auto& buffer : m_buffers) buffer.release();
  }
  for (int i = 0; i < prepared; ++i)
    ::waveInUnprepareHeader(m_hWaveIn, &m_headers[i], sizeof(WAVEHDR));
  for (auto& buffer : m_buffers) buffer.reset();
  ::waveInClose(m_hWaveIn);
  m_hWaveIn = nullptr;
}

void CALLBACK SoundCapture::OnWaveIn(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                     DWORD_PTR) {
  if (message != WIM_DATA || !instance || !param1) return;
  auto* self = reinterpret_cast<SoundCapture*>(instance);
  auto* header = reinterpret_cast<WAVEHDR*>(param1);
  try {
    self->OnData(header);
  } catch (...) {
    base::Trace("SoundCapture: a sound buffer was lost\n");
  }
  // The last use of `self`: once every buffer is back, Close may free it.
  if (self->m_bStop || ::waveInAddBuffer(self->m_hWaveIn, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
    self->m_deviceBuffers.Returned();
}

// On the wave-in thread: nothing here may throw or touch a window other
// than by posting to it.
void SoundCapture::OnData(WAVEHDR* header) {
  if (g_bRecording && m_pRecorder && header->dwBytesRecorded > 0) {
    const DWORD result =
        m_pRecorder->WriteAudioData(header->lpData, static_cast<LONG>(header->dwBytesRecorded));
    if (result == kAviSizeLimitReached && m_hNotify && !g_bErrorPosted.exchange(true)) {
      ::PostMessageW(m_hNotify, WM_RECORDING_ERROR, 1, 0);
    }
  }
  if (header->dwBytesRecorded > 0) ++m_lBuffersDelivered;
  header->dwBytesRecorded = 0;
}

}  // namespace recorder

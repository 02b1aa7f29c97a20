#pragma once
// Microphone sound for a recording: the default wave-in device fills 48
// buffers of 20 ms each; the wave-in thread hands every filled buffer to the
// recorder while a clip records and queues it again.
#include <windows.h>
// Needs the types of windows.h.
#include <mmsystem.h>

#include <atomic>
#include <memory>

#include "recorder/device_buffers.h"

namespace recorder {

class AviRecorder;

// Posted to the capture view when a sound write reached the clip's size
// limit (wParam 1).
inline constexpr UINT WM_RECORDING_ERROR = WM_USER + 15;

// Set by the capture view while a clip records; the sound thread writes only then.
extern std::atomic<bool> g_bRecording;
// Set once a recording-error notice is on its way, so that only one is posted.
extern std::atomic<bool> g_bErrorPosted;

class SoundCapture {
 public:
  static constexpr int kBufferCount = 48;

  SoundCapture() = default;
  ~SoundCapture() { Close(); }
  SoundCapture(const SoundCapture&) = delete;
  SoundCapture& operator=(const SoundCapture&) = delete;

  // Opens the default wave-in device in `format` and starts it; filled
  // buffers go to `recorder`, errors are posted to `notify`. False (and
  // nothing open) when the device or any buffer cannot be set up.
  bool Open(const WAVEFORMATEX& format, AviRecorder* recorder, HWND notify);
  // Stops the device, takes back and frees every buffer, closes the device.
  void Close();
  bool IsOpen() const { return m_hWaveIn != nullptr; }

  // Buffers with sound handed over since Open.
  LONG BuffersDelivered() const { return m_lBuffersDelivered.load(); }
  // Buffers the device holds (all of them while open, none after Close).
  LONG BuffersWithDevice() const { return m_deviceBuffers.Count(); }

 private:
  static void CALLBACK OnWaveIn(HWAVEIN device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                DWORD_PTR param2);
  void OnData(WAVEHDR* header);
  void TakeBackBuffers(int prepared);

  // How long Close waits for the device to hand back its buffers.
  static constexpr int kResetAttempts = 10;
  static constexpr DWORD kReturnWaitMs = 200;

  HWAVEIN m_hWaveIn = nullptr;
  WAVEFORMATEX m_format{};
  WAVEHDR m_headers[kBufferCount]{};
  std::unique_ptr<char[]> m_buffers[kBufferCount];
  std::atomic<bool> m_bStop{true};
  AviRecorder* m_pRecorder = nullptr;
  HWND m_hNotify = nullptr;
  std::atomic<LONG> m_lBuffersDelivered{0};
  DeviceBuffers m_deviceBuffers;
};

}  // namespace recorder

// Sound capture from the default wave-in device (under the tests, the sound
// server's null source), into a clip, and clips played back through
// DirectShow.
#include <windows.h>
// Needs the types of windows.h.
#include <dshow.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "avi_reader.h"
#include "base/com_ptr.h"
#include "recorder/avi_recorder.h"
#include "recorder/sound_capture.h"
#include "temp_folder.h"

namespace {

using recorder::AviRecorder;
using recorder::SoundCapture;
using testing_win::ReadAvi;
using testing_win::TempFolder;

WAVEFORMATEX Sound(DWORD rate, WORD bits, WORD channels) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<WORD>(bits * channels / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

class SoundCaptureTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
  void TearDown() override {
    recorder::g_bRecording = false;
    ::CoUninitialize();
  }

  // Records 30 fps video with sound into `clip` until `ms` of sound have
  // arrived (the sound server may take a moment to start delivering; 8 s at
  // most); the frames follow the sound bytes.
  void Record(const std::wstring& clip, const WAVEFORMATEX& format, DWORD ms) {
    AviRecorder rec;
    ASSERT_EQ(rec.Open(clip), recorder::kAviOk);
    BITMAPINFOHEADER h{sizeof(BITMAPINFOHEADER), 32, 24, 1, 24, BI_RGB, 32 * 3 * 24, 0, 0, 0, 0};
    ASSERT_EQ(rec.CreateVideoStream(h, 30, 1), recorder::kAviOk);
    SoundCapture sound;
    ASSERT_TRUE(sound.Open(format, &rec, nullptr)) << "no wave-in device: is the sound server up?";
    ASSERT_EQ(rec.CreateAudioStream(format), recorder::kAviOk);
    rec.Start();
    recorder::g_bRecording = true;
    std::vector<unsigned char> frame(h.biSizeImage, 0x40);
    const DWORD wanted = format.nAvgBytesPerSec / 1000 * ms;
    const DWORD end = ::GetTickCount() + 8000;
    while (static_cast<DWORD>(rec.AudioBytes()) < wanted &&
           static_cast<LONG>(end - ::GetTickCount()) > 0) {
      frame[0]++;
      EXPECT_EQ(rec.WriteVideoFrame(frame.data(), h.biSizeImage), recorder::kAviOk);
      ::Sleep(33);
    }
    sound.Close();
    recorder::g_bRecording = false;
    EXPECT_FALSE(sound.IsOpen());
    EXPECT_GE(sound.BuffersDelivered(), static_cast<LONG>(ms / 20));
    EXPECT_GE(static_cast<DWORD>(rec.AudioBytes()), wanted);
    EXPECT_GT(rec.VideoSamples(), 1);
    EXPECT_EQ(rec.Close(), recorder::kAviOk);
  }

  TempFolder m_folder;
};

TEST_F(SoundCaptureTest, SoundFromTheDefaultSourceLandsInTheClip) {
  const std::wstring clip = (m_folder.Path() / L"sound.avi").wstring();
  const WAVEFORMATEX format = Sound(22050, 16, 1);
  Record(clip, format, 1500);

  const auto avi = ReadAvi(clip);
  ASSERT_EQ(avi.streams.size(), 2u);
  const auto& auds = avi.streams[1];
  EXPECT_EQ(auds.type, "auds");
  EXPECT_EQ(auds.scale, 2u);
  EXPECT_EQ(auds.rate, 44100u);
  std::size_t bytes = 0;
  for (const auto* chunk : avi.ChunksOf(1)) {
    EXPECT_EQ(chunk->data.size() % 2, 0u);
    bytes += chunk->data.size();
  }
  // 20 ms buffers for at least 1.5 s, and the video as long as the sound.
  EXPECT_GE(bytes, 44100u * 3 / 2);
  const double soundSeconds = bytes / 44100.0;
  EXPECT_NEAR(avi.streams[0].length / 30.0, soundSeconds, 0.2);
}

TEST_F(SoundCaptureTest, AnOpenThatFailsLeavesNothingOpen) {
  AviRecorder rec;
  SoundCapture sound;
  WAVEFORMATEX bad = Sound(8000, 8, 1);
  bad.wFormatTag = 0x7777;
  EXPECT_FALSE(sound.Open(bad, &rec, nullptr));
  EXPECT_FALSE(sound.IsOpen());
  sound.Close();
}

// Close frees the buffers only once the device has handed every one back
// through its callback, also while sound is flowing into a clip.
TEST_F(SoundCaptureTest, CloseTakesBackEveryBufferBeforeFreeing) {
  const std::wstring clip = (m_folder.Path() / L"close.avi").wstring();
  AviRecorder rec;
  ASSERT_EQ(rec.Open(clip), recorder::kAviOk);
  const WAVEFORMATEX format = Sound(44100, 16, 2);
  ASSERT_EQ(rec.CreateAudioStream(format), recorder::kAviOk);
  rec.Start();
  recorder::g_bRecording = true;
  SoundCapture sound;
  for (int round = 0; round < 5; ++round) {
    ASSERT_TRUE(sound.Open(format, &rec, nullptr)) << "no wave-in device";
    EXPECT_EQ(sound.BuffersWithDevice(), SoundCapture::kBufferCount);
    const DWORD end = ::GetTickCount() + 5000;
    while (sound.BuffersDelivered() < 3 && static_cast<LONG>(end - ::GetTickCount()) > 0)
      ::Sleep(5);
    sound.Close();
    EXPECT_EQ(sound.BuffersWithDevice(), 0) << round;
  }
  recorder::g_bRecording = false;
  EXPECT_GT(rec.AudioBytes(), 0);
  EXPECT_EQ(rec.Close(), recorder::kAviOk);
}

TEST(DeviceBuffers, TheWaitEndsWithTheLastBufferHandedBack) {
  recorder::DeviceBuffers buffers;
  EXPECT_TRUE(buffers.WaitAllReturned(0));  // none queued
  for (int i = 0; i < 3; ++i) buffers.Queued();
  std::thread device([&] {
    buffers.Returned();
    buffers.Returned();
  });
  device.join();
  EXPECT_FALSE(buffers.WaitAllReturned(50));
  std::thread last([&] {
    ::Sleep(100);
    buffers.Returned();
  });
  EXPECT_TRUE(buffers.WaitAllReturned(5000));
  last.join();
  buffers.Queued();  // a new round waits again
  EXPECT_FALSE(buffers.WaitAllReturned(0));
  buffers.Returned();
}

// Plays a clip to its end through DirectShow with the GDI renderer.
HRESULT PlayToEnd(const std::wstring& clip, long* eventCode) {
  base::ComPtr<IGraphBuilder> graph;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, graph.PutVoid());
  if (FAILED(hr)) return hr;
  base::ComPtr<IBaseFilter> renderer;
  hr = ::CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          renderer.PutVoid());
  if (FAILED(hr)) return hr;
  if (FAILED(hr = graph->AddFilter(renderer.Get(), L"Video Renderer"))) return hr;
  if (FAILED(hr = graph->RenderFile(clip.c_str(), nullptr))) return hr;
  base::ComPtr<IMediaControl> control;
  base::ComPtr<IMediaEvent> events;
  if (FAILED(hr = graph.As(control)) ||
      FAILED(hr = graph->QueryInterface(IID_IMediaEvent, events.PutVoid()))) {
    return hr;
  }
  if (FAILED(hr = control->Run())) return hr;
  hr = events->WaitForCompletion(10000, eventCode);
  control->Stop();
  return hr;
}

TEST_F(SoundCaptureTest, ClipsPlayThroughDirectShow) {
  const std::wstring clip = (m_folder.Path() / L"play.avi").wstring();
  Record(clip, Sound(8000, 8, 1), 1000);
  long code = 0;
  EXPECT_EQ(PlayToEnd(clip, &code), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
}

}  // namespace

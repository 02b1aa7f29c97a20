// The frame grabber on its own: samples from a real memory allocator are fed
// through its input pin as the streaming thread would.
#include "capture/frame_grabber.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/com_ptr.h"
#include "base/handles.h"
#include "capture/camera_finder.h"

struct FrameGrabberProbe {
  static dshow::CritSec& LatestLock(FrameGrabberFilter& grabber) { return grabber.m_csLatest; }
};

namespace {

using base::ComPtr;

class FrameGrabber : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(m_com.Result()));
    m_grabber = ComPtr<FrameGrabberFilter>::Attach(new FrameGrabberFilter);
    ComPtr<IPin> pin;
    ASSERT_EQ(m_grabber->FindPin(L"Input", pin.Put()), S_OK);
    ASSERT_EQ(pin->QueryInterface(IID_IMemInputPin, m_input.PutVoid()), S_OK);
    ASSERT_EQ(::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IMemAllocator, m_allocator.PutVoid()),
              S_OK);
    ALLOCATOR_PROPERTIES want{1, 4096, 1, 0}, got{};
    ASSERT_EQ(m_allocator->SetProperties(&want, &got), S_OK);
    ASSERT_EQ(m_allocator->Commit(), S_OK);
    ASSERT_EQ(m_grabber->Pause(), S_OK);  // a stopped filter refuses samples
    capture::g_bKnownCamera = true;
  }
  void TearDown() override {
    if (m_grabber) m_grabber->Stop();
    if (m_allocator) m_allocator->Decommit();
    capture::g_bKnownCamera = false;
  }

  // One frame of `length` bytes, every byte `value` (bit 0 is the mark).
  HRESULT Feed(unsigned char value, long length) {
    ComPtr<IMediaSample> sample;
    HRESULT hr = m_allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0);
    if (FAILED(hr)) return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::fill(data, data + length, value);
    sample->SetActualDataLength(length);
    return m_input->Receive(sample.Get());
  }

  base::ComScope m_com;
  ComPtr<FrameGrabberFilter> m_grabber;
  ComPtr<IMemInputPin> m_input;
  ComPtr<IMemAllocator> m_allocator;
  std::vector<unsigned char> m_latest = std::vector<unsigned char>(100, 0xEE);
  std::vector<unsigned char> m_snapshot = std::vector<unsigned char>(100, 0xEE);
};

TEST_F(FrameGrabber, KeepsTheNewestFrameThatFits) {
  m_grabber->SetBuffers(m_latest.data(), m_snapshot.data(), 100);
  // Before the first frame nothing is copied, and that is no failure.
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_EQ(m_latest[0], 0xEE);

  ASSERT_EQ(Feed(0x20, 100), S_OK);
  ASSERT_EQ(Feed(0x40, 60), S_OK);
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_EQ(m_latest[0], 0x40);
  EXPECT_EQ(m_latest[59], 0x40);
  EXPECT_EQ(m_latest[60], 0xEE);  // only the frame's own length is copied

  // A frame above the capacity is not kept: the previous one stays.
  ASSERT_EQ(Feed(0x60, 101), S_OK);
  std::fill(m_latest.begin(), m_latest.end(), 0);
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_EQ(m_latest[0], 0x40);
  EXPECT_EQ(m_grabber->Statistics().frames, 3u);
  EXPECT_EQ(m_grabber->Statistics().kept, 2u);
}

TEST_F(FrameGrabber, NewBuffersForgetTheOldFrame) {
  m_grabber->SetBuffers(m_latest.data(), m_snapshot.data(), 100);
  ASSERT_EQ(Feed(0x21, 100), S_OK);
  // Smaller targets after a format change: the old 100-byte frame must not
  // be copied into them.
  std::vector<unsigned char> small(10, 0xEE), smallSnap(10, 0xEE);
  m_grabber->SetBuffers(small.data(), smallSnap.data(), 10);
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_FALSE(m_grabber->GetSnapshot());
  EXPECT_EQ(small[0], 0xEE);
  // No buffers at all: frames pass and nothing is kept.
  m_grabber->SetBuffers(nullptr, nullptr, 0);
  EXPECT_EQ(Feed(0x41, 10), S_OK);
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_FALSE(m_grabber->GetSnapshot());
}

TEST_F(FrameGrabber, SnapshotNeedsTheMarkTheKnownCameraAndDetection) {
  m_grabber->SetBuffers(m_latest.data(), m_snapshot.data(), 100);
  ASSERT_EQ(Feed(0x10, 100), S_OK);  // unmarked
  EXPECT_FALSE(m_grabber->GetSnapshot());

  capture::g_bKnownCamera = false;  // a camera of another maker
  ASSERT_EQ(Feed(0x11, 100), S_OK);
  EXPECT_FALSE(m_grabber->GetSnapshot());
  capture::g_bKnownCamera = true;

  m_grabber->EnableSnapshot(false);  // recording
  ASSERT_EQ(Feed(0x13, 100), S_OK);
  EXPECT_FALSE(m_grabber->GetSnapshot());
  m_grabber->EnableSnapshot(true);

  ASSERT_EQ(Feed(0x15, 100), S_OK);
  ASSERT_EQ(Feed(0x20, 100), S_OK);  // an unmarked frame does not replace it
  EXPECT_TRUE(m_grabber->GetSnapshot());
  EXPECT_EQ(m_snapshot[0], 0x15);
  EXPECT_FALSE(m_grabber->GetSnapshot());  // taken once
}

TEST_F(FrameGrabber, SecondMarkedFrameWinsAndDisablingDropsAWaitingOne) {
  m_grabber->SetBuffers(m_latest.data(), m_snapshot.data(), 100);
  ASSERT_EQ(Feed(0x31, 100), S_OK);
  ASSERT_EQ(Feed(0x33, 100), S_OK);
  EXPECT_TRUE(m_grabber->GetSnapshot());
  EXPECT_EQ(m_snapshot[99], 0x33);

  ASSERT_EQ(Feed(0x35, 100), S_OK);
  m_grabber->EnableSnapshot(false);
  m_grabber->EnableSnapshot(true);
  EXPECT_FALSE(m_grabber->GetSnapshot());

  // A marked frame above the capacity is no snapshot either.
  ASSERT_EQ(Feed(0x37, 101), S_OK);
  EXPECT_FALSE(m_grabber->GetSnapshot());
}

// While the UI thread holds the newest frame, a frame that comes is not
// kept as the newest; a press of the camera's button must not vanish with it.
TEST_F(FrameGrabber, ABusyNewestFrameDoesNotSkipTheSnapshot) {
  m_grabber->SetBuffers(m_latest.data(), m_snapshot.data(), 100);
  ASSERT_EQ(Feed(0x10, 100), S_OK);
  base::KernelHandle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  base::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread ui([&] {
    dshow::AutoLock lock(FrameGrabberProbe::LatestLock(*m_grabber.Get()));
    ::SetEvent(held.Get());
    ::WaitForSingleObject(release.Get(), INFINITE);
  });
  ::WaitForSingleObject(held.Get(), INFINITE);
  const HRESULT fed = Feed(0x51, 100);
  ::SetEvent(release.Get());
  ui.join();
  ASSERT_EQ(fed, S_OK);
  EXPECT_TRUE(m_grabber->GetSnapshot());
  EXPECT_EQ(m_snapshot[99], 0x51);
  EXPECT_TRUE(m_grabber->CopyLatestFrame());
  EXPECT_EQ(m_latest[99], 0x10);  // the busy frame was not kept as the newest
}

TEST_F(FrameGrabber, AcceptsVideoOfAnySubtypeOnly) {
  ComPtr<IPin> pin;
  ASSERT_EQ(m_grabber->FindPin(L"Input", pin.Put()), S_OK);
  AM_MEDIA_TYPE video{};
  video.majortype = MEDIATYPE_Video;
  video.subtype = MEDIASUBTYPE_YUY2;
  EXPECT_EQ(pin->QueryAccept(&video), S_OK);
  AM_MEDIA_TYPE audio{};
  audio.majortype = MEDIATYPE_Audio;
  EXPECT_EQ(pin->QueryAccept(&audio), S_FALSE);
}

}  // namespace

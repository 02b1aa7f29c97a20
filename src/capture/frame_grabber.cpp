#include "capture/frame_grabber.h"

#include <cstring>
#include <new>

#include "capture/camera_finder.h"

FrameGrabberFilter::FrameGrabberFilter() : CTransInPlaceFilter(GUID_NULL) {}

FrameGrabberFilter::~FrameGrabberFilter() {
  dshow::AutoLock latest(m_csLatest);
  dshow::AutoLock snapshot(m_csSnapshot);
  m_pLatestTarget = m_pSnapshotTarget = nullptr;
  m_dwCapacity = m_dwFrameLength = 0;
  m_dwSnapshotCapacity = m_dwSnapshotLength = 0;
}

HRESULT FrameGrabberFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Video ? S_OK : E_FAIL;
}

// Both locks, always in this order (the streaming thread never holds both).
void FrameGrabberFilter::SetBuffers(unsigned char* latestTarget, unsigned char* snapshotTarget,
                                    unsigned long frameBytes) {
  dshow::AutoLock latest(m_csLatest);
  dshow::AutoLock snapshot(m_csSnapshot);
  m_pLatestTarget = latestTarget;
  m_pSnapshotTarget = snapshotTarget;
  m_pLatest.reset();
  m_pSnapshot.reset();
  m_dwCapacity = m_dwSnapshotCapacity = 0;
  // What the old buffers held is gone with them: nothing to copy out until
  // the next frame (the old length may exceed the new targets).
  m_dwFrameLength = m_dwSnapshotLength = 0;
  m_bSnapshotReady = false;
  if (frameBytes == 0) return;
  m_pLatest.reset(new (std::nothrow) unsigned char[frameBytes]);
  if (m_pLatest) m_dwCapacity = frameBytes;
  m_pSnapshot.reset(new (std::nothrow) unsigned char[frameBytes]);
  if (m_pSnapshot) m_dwSnapshotCapacity = frameBytes;
}

void FrameGrabberFilter::EnableSnapshot(bool on) {
  m_bSnapshotDisabled = !on;
  if (!on) m_bSnapshotReady = false;
}

bool FrameGrabberFilter::CopyLatestFrame() {
  dshow::AutoLock lock(m_csLatest);
  if (m_dwFrameLength == 0) return true;
  if (m_pLatestTarget) std::memcpy(m_pLatestTarget, m_pLatest.get(), m_dwFrameLength);
  return true;
}

bool FrameGrabberFilter::GetSnapshot() {
  if (!capture::g_bKnownCamera) return false;
  dshow::AutoLock lock(m_csSnapshot);
  if (!m_pSnapshotTarget || !m_pSnapshot || !m_bSnapshotReady) return false;
  m_bSnapshotReady = false;
  std::memcpy(m_pSnapshotTarget, m_pSnapshot.get(), m_dwSnapshotLength);
  return true;
}

// Streaming thread: at most two straight copies and no allocation; it waits
// only for a snapshot-marked frame while the UI thread copies the last one.
HRESULT FrameGrabberFilter::Transform(IMediaSample* sample) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || !data) return S_OK;
  const long actual = sample->GetActualDataLength();
  ++m_counters.frames;
  if (actual <= 0) return S_OK;
  const unsigned long length = static_cast<unsigned long>(actual);
  if (m_csLatest.TryEnter()) {
    if (m_pLatest && length <= m_dwCapacity) {
      std::memcpy(m_pLatest.get(), data, length);
      m_dwFrameLength = length;
      ++m_counters.kept;
      ++m_counters.copies;
    }
    m_csLatest.Leave();
  }
  if (!m_bSnapshotDisabled && capture::g_bKnownCamera && (data[0] & 1) != 0) {
    dshow::AutoLock lock(m_csSnapshot);
    if (m_pSnapshot && length <= m_dwSnapshotCapacity) {
      std::memcpy(m_pSnapshot.get(), data, length);
      m_dwSnapshotLength = length;
      m_bSnapshotReady = true;
      ++m_counters.copies;
    }
  }
  return S_OK;
}

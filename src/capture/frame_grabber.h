#pragma once
// The pass-through filter "App Transform" between the camera and the
// preview: every frame goes on unchanged, and on the way the newest frame
// and the newest snapshot-marked frame are kept for the capture view.
#include <atomic>
#include <memory>

#include "dshow/lock.h"
#include "dshow/trans_in_place.h"

class FrameGrabberFilter : public dshow::CTransInPlaceFilter {
 public:
  FrameGrabberFilter();
  ~FrameGrabberFilter() override;

  // UI thread. Targets are not owned; both side buffers are made anew with
  // `frameBytes` (capacity 0 when that fails or is 0).
  void SetBuffers(unsigned char* latestTarget, unsigned char* snapshotTarget,
                  unsigned long frameBytes);
  void EnableSnapshot(bool on);
  // Copies the newest frame to the latest-frame target (true, and nothing
  // copied, before the first frame).
  bool CopyLatestFrame();
  // Copies a waiting snapshot frame to the snapshot target.
  bool GetSnapshot();

  // Counts for the benchmark: frames seen, frames kept as the newest, and
  // frame copies made on the streaming thread.
  struct Counters {
    std::atomic<unsigned long> frames{0}, kept{0}, copies{0};
  };
  const Counters& Statistics() const { return m_counters; }

 protected:
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE&, const AM_MEDIA_TYPE&) override { return S_OK; }
  HRESULT GetMediaType(int, AM_MEDIA_TYPE&) override { return E_UNEXPECTED; }
  HRESULT Transform(IMediaSample* sample) override;

 private:
  friend struct FrameGrabberProbe;  // the tests hold the locks from another thread

  // The newest frame: held by the UI thread while it replaces or reads the
  // buffer; the streaming thread only tries it, so it never waits, and a
  // frame that comes while the UI thread holds it is simply not kept.
  dshow::CritSec m_csLatest;
  unsigned char* m_pLatestTarget = nullptr;
  std::unique_ptr<unsigned char[]> m_pLatest;
  unsigned long m_dwCapacity = 0;
  unsigned long m_dwFrameLength = 0;
  // The snapshot frame has a lock of its own that the streaming thread does
  // wait for: a press of the camera's button marks one frame only, so that
  // frame must never be skipped. The UI thread holds it only for a copy.
  dshow::CritSec m_csSnapshot;
  unsigned char* m_pSnapshotTarget = nullptr;
  std::unique_ptr<unsigned char[]> m_pSnapshot;
  unsigned long m_dwSnapshotCapacity = 0;
  unsigned long m_dwSnapshotLength = 0;
  std::atomic<bool> m_bSnapshotReady{false};
  std::atomic<bool> m_bSnapshotDisabled{false};
  Counters m_counters;
};

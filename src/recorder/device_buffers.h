#pragma once
// Counts the sound buffers a wave-in device holds. The device's thread
// reports each buffer it does not queue again; the owner waits until every
// buffer is back before it frees them, so that no callback still runs on a
// buffer being freed. After its last report the callback touches nothing of
// this object but the event it signals.
#include <windows.h>

#include <atomic>

#include "base/handles.h"

namespace recorder {

class DeviceBuffers {
 public:
  DeviceBuffers() : m_allReturned(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
  DeviceBuffers(const DeviceBuffers&) = delete;
  DeviceBuffers& operator=(const DeviceBuffers&) = delete;

  // Owner's thread, before the buffer goes to the device.
  void Queued() {
    if (m_count++ == 0) ::ResetEvent(m_allReturned.Get());
  }
  // Any thread: the device gave the buffer back for good.
  void Returned() {
    const HANDLE allReturned = m_allReturned.Get();
    if (--m_count == 0) ::SetEvent(allReturned);
  }
  // True once no buffer is with the device any more; false after `ms`.
  bool WaitAllReturned(DWORD ms) const {
    return ::WaitForSingleObject(m_allReturned.Get(), ms) == WAIT_OBJECT_0;
  }
  LONG Count() const { return m_count.load(); }

 private:
  std::atomic<LONG> m_count{0};
  base::KernelHandle m_allReturned;
};

}  // namespace recorder

#pragma once
// The simulated camera's one output pin: capture category, the frame sizes
// and format of the installed camera, and the streaming thread that draws
// the test picture 30 times a second, marks snapshot frames and notices the
// device being unplugged.
#include <dshow.h>

#include <atomic>
#include <string>

#include "base/handles.h"
#include "dshow/pins.h"
#include "footprint.h"
#include "picture.h"

namespace simcam {

class CapturePin : public dshow::OutputPin, public IAMStreamConfig, public IKsPropertySet {
 public:
  explicit CapturePin(dshow::Filter& filter);
  ~CapturePin() override;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return Pin::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  // IAMStreamConfig
  STDMETHODIMP SetFormat(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetFormat(AM_MEDIA_TYPE** mt) override;
  STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
  STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override;
  // IKsPropertySet: the pin category only.
  STDMETHODIMP Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override {
    return E_PROP_ID_UNSUPPORTED;
  }
  STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceBytes, void* data,
                   DWORD dataBytes, DWORD* returned) override;
  STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int index, AM_MEDIA_TYPE& mt) override;

  void StartStreaming();
  // Asks the thread to deliver no more frames without waiting for it: while
  // the graph pauses, a renderer downstream may hold it inside Receive
  // until the graph runs or stops again.
  void PauseStreaming();
  // Ends the thread and waits for it (downstream filters are stopped by then).
  void StopStreaming();

 protected:
  HRESULT QueryExtraInterface(REFIID riid, void** ppv) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& wanted) override;
  HRESULT CompleteConnect(IPin* peer) override;

 private:
  struct Format {
    int width = 352;
    int height = 288;
    REFERENCE_TIME frameTime = 333333;  // 30 frames per second
  };

  int SizeCount() const;
  bool IsOfferedSize(int width, int height) const;
  bool BuildType(const Format& format, AM_MEDIA_TYPE& mt) const;
  bool ParseType(const AM_MEDIA_TYPE& mt, Format& format) const;
  static DWORD WINAPI ThreadEntry(void* self);
  void Stream();
  void DeliverFrame(REFERENCE_TIME index);
  bool CheckPresence();
  void AnnounceRemoval();

  const Family m_family;
  const PixelFormat m_pixelFormat;
  const std::wstring m_interfaceKey;
  const Format m_startFormat;  // the size set with `simcamctl size`
  Format m_format;  // guarded by the filter's state lock; fixed while streaming
  base::KernelHandle m_thread;
  base::KernelHandle m_stop;
  // Streaming-thread state.
  uint32_t m_frameNumber = 0;
  unsigned long m_snapRequests = 0;
  bool m_bLinked = true;
};

}  // namespace simcam

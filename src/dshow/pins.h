#pragma once
// Pins of the program's own filters: the connection protocol shared by both
// directions, the output side with allocator negotiation and delivery, and
// the input side with IMemInputPin.
#include <dshow.h>

#include <atomic>
#include <string>

#include "base/com_ptr.h"
#include "dshow/media_type.h"

namespace dshow {

class Filter;

class Pin : public IPin {
 public:
  Pin(Filter& filter, PIN_DIRECTION direction, const wchar_t* name);
  virtual ~Pin() = default;
  Pin(const Pin&) = delete;
  Pin& operator=(const Pin&) = delete;

  // IUnknown: a pin lives and dies with its filter.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPin, the parts both directions share.
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;

  // S_OK when the pin can carry this type.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) = 0;
  // The pin's preferred types in order: S_OK with `mt` filled, or
  // VFW_S_NO_MORE_ITEMS past the end.
  virtual HRESULT GetMediaType(int index, AM_MEDIA_TYPE& mt) = 0;
  // Stopped to paused, and back.
  virtual HRESULT Active() { return S_OK; }
  virtual void Inactive() {}

  bool IsConnected() const { return static_cast<bool>(m_peer); }
  IPin* Peer() const { return m_peer.Get(); }
  const AM_MEDIA_TYPE& CurrentType() const { return m_type.Get(); }
  const std::wstring& Name() const { return m_name; }

 protected:
  // Further interfaces of the pin.
  virtual HRESULT QueryExtraInterface(REFIID, void**) { return E_NOINTERFACE; }
  // Runs once peer and type are set; a failure undoes the connection.
  virtual HRESULT CompleteConnect(IPin*) { return S_OK; }
  virtual void BreakConnect() {}
  // Takes `peer` and `mt` as the connection.
  HRESULT SetConnection(IPin* peer, const AM_MEDIA_TYPE& mt);
  void ClearConnection();

  Filter& m_filter;

 private:
  PIN_DIRECTION m_direction;
  std::wstring m_name;
  base::ComPtr<IPin> m_peer;
  MediaType m_type;
};

class OutputPin : public Pin {
 public:
  OutputPin(Filter& filter, const wchar_t* name) : Pin(filter, PINDIR_OUTPUT, name) {}

  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
  STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  // Commits the allocator (and decommits it, which also wakes a waiting
  // GetDeliveryBuffer).
  HRESULT Active() override;
  void Inactive() override;

  HRESULT GetDeliveryBuffer(base::ComPtr<IMediaSample>& sample);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 protected:
  // Agrees on the allocator with the downstream pin: its own allocator if
  // it offers one, else a memory allocator, sized by DecideBufferSize.
  virtual HRESULT DecideAllocator(IMemInputPin* input, base::ComPtr<IMemAllocator>& allocator);
  virtual HRESULT DecideBufferSize(IMemAllocator*, const ALLOCATOR_PROPERTIES&) { return E_FAIL; }
  HRESULT CompleteConnect(IPin* peer) override;
  void BreakConnect() override;

 private:
  HRESULT TryConnect(IPin* receivePin, const AM_MEDIA_TYPE& mt);
  HRESULT TryAllocator(IMemInputPin* input, IMemAllocator* allocator,
                       const ALLOCATOR_PROPERTIES& wanted);

  base::ComPtr<IMemInputPin> m_input;
  base::ComPtr<IMemAllocator> m_allocator;
};

class InputPin : public Pin, public IMemInputPin {
 public:
  InputPin(Filter& filter, const wchar_t* name) : Pin(filter, PINDIR_INPUT, name) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return Pin::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EndOfStream() override { return S_OK; }
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  // IMemInputPin
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
  STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

  IMemAllocator* Allocator() const { return m_allocator.Get(); }
  bool IsFlushing() const { return m_bFlushing.load(); }

 protected:
  // One sample on the streaming thread, while the filter is not stopped.
  virtual HRESULT OnReceive(IMediaSample* sample) = 0;
  HRESULT QueryExtraInterface(REFIID riid, void** ppv) override;
  void BreakConnect() override;

 private:
  base::ComPtr<IMemAllocator> m_allocator;
  std::atomic<bool> m_bFlushing{false};
};

}  // namespace dshow

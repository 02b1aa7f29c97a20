#include "dshow/pins.h"

#include <algorithm>
#include <cstring>

#include "dshow/enumerators.h"
#include "dshow/filter.h"

namespace dshow {

// ---- Pin ----

Pin::Pin(Filter& filter, PIN_DIRECTION direction, const wchar_t* name)
    : m_filter(filter), m_direction(direction), m_name(name) {}

STDMETHODIMP Pin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IPin) {
    return GiveOut<IPin>(this, reinterpret_cast<IPin**>(ppv));
  }
  return QueryExtraInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) Pin::AddRef() { return m_filter.AddRef(); }
STDMETHODIMP_(ULONG) Pin::Release() { return m_filter.Release(); }

HRESULT Pin::SetConnection(IPin* peer, const AM_MEDIA_TYPE& mt) {
  if (!m_type.Set(mt)) return E_OUTOFMEMORY;
  const HRESULT hr = peer->QueryInterface(IID_PPV_ARGS(m_peer.Put()));
  if (FAILED(hr)) m_type.Clear();
  return hr;
}

void Pin::ClearConnection() {
  BreakConnect();
  m_peer.Reset();
  m_type.Clear();
}

STDMETHODIMP Pin::Disconnect() {
  AutoLock lock(m_filter.StateLock());
  if (!m_filter.IsStopped()) return VFW_E_NOT_STOPPED;
  if (!m_peer) return S_FALSE;
  ClearConnection();
  return S_OK;
}

STDMETHODIMP Pin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  AutoLock lock(m_filter.StateLock());
  *pin = nullptr;
  if (!m_peer) return VFW_E_NOT_CONNECTED;
  return GiveOut(m_peer.Get(), pin);
}

STDMETHODIMP Pin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  AutoLock lock(m_filter.StateLock());
  *mt = AM_MEDIA_TYPE{};
  if (!m_peer) return VFW_E_NOT_CONNECTED;
  return CopyMediaType(*mt, m_type.Get()) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Pin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->dir = m_direction;
  const size_t n = std::min(m_name.size(), static_cast<size_t>(MAX_PIN_NAME - 1));
  std::memcpy(info->achName, m_name.c_str(), n * sizeof(wchar_t));
  info->achName[n] = L'\0';
  info->pFilter = nullptr;
  return GiveOut<IBaseFilter>(&m_filter, &info->pFilter);
}

STDMETHODIMP Pin::QueryDirection(PIN_DIRECTION* dir) {
  if (!dir) return E_POINTER;
  *dir = m_direction;
  return S_OK;
}

STDMETHODIMP Pin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  const size_t bytes = (m_name.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, m_name.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP Pin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return CheckMediaType(*mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP Pin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  return CreateMediaTypeEnumerator(m_filter, *this, ppEnum);
}

STDMETHODIMP Pin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

// ---- OutputPin ----

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) {
  if (!receivePin) return E_POINTER;
  AutoLock lock(m_filter.StateLock());
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  if (!m_filter.IsStopped()) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION dir;
  if (FAILED(receivePin->QueryDirection(&dir)) || dir != PINDIR_INPUT) {
    return VFW_E_INVALID_DIRECTION;
  }
  const bool complete =
      mt && mt->majortype != GUID_NULL && mt->subtype != GUID_NULL && mt->formattype != GUID_NULL;
  if (complete) return TryConnect(receivePin, *mt);

  // Our own preferences first, then the receiver's.
  for (int i = 0;; ++i) {
    MediaType candidate;
    if (GetMediaType(i, *candidate.Mutable()) != S_OK) break;
    if (MatchesPartial(candidate.Get(), mt) && TryConnect(receivePin, candidate.Get()) == S_OK) {
      return S_OK;
    }
  }
  base::ComPtr<IEnumMediaTypes> types;
  if (SUCCEEDED(receivePin->EnumMediaTypes(types.Put()))) {
    AM_MEDIA_TYPE* candidate = nullptr;
    ULONG fetched = 0;
    while (types->Next(1, &candidate, &fetched) == S_OK && fetched == 1) {
      const bool connected =
          MatchesPartial(*candidate, mt) && TryConnect(receivePin, *candidate) == S_OK;
      DeleteMediaType(candidate);
      if (connected) return S_OK;
    }
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::TryConnect(IPin* receivePin, const AM_MEDIA_TYPE& mt) {
  if (CheckMediaType(mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  HRESULT hr = SetConnection(receivePin, mt);
  if (FAILED(hr)) return hr;
  hr = receivePin->ReceiveConnection(this, &mt);
  if (hr == S_OK) {
    hr = CompleteConnect(receivePin);
    if (hr == S_OK) return S_OK;
    receivePin->Disconnect();
  }
  ClearConnection();
  return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT OutputPin::CompleteConnect(IPin* peer) {
  HRESULT hr = peer->QueryInterface(IID_PPV_ARGS(m_input.Put()));
  if (FAILED(hr)) return hr;
  hr = DecideAllocator(m_input.Get(), m_allocator);
  if (FAILED(hr)) m_input.Reset();
  return hr;
}

void OutputPin::BreakConnect() {
  if (m_allocator) m_allocator->Decommit();
  m_allocator.Reset();
  m_input.Reset();
}

HRESULT OutputPin::TryAllocator(IMemInputPin* input, IMemAllocator* allocator,
                                const ALLOCATOR_PROPERTIES& wanted) {
  HRESULT hr = DecideBufferSize(allocator, wanted);
  if (FAILED(hr)) return hr;
  return input->NotifyAllocator(allocator, FALSE);
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* input, base::ComPtr<IMemAllocator>& allocator) {
  ALLOCATOR_PROPERTIES wanted{};
  input->GetAllocatorRequirements(&wanted);  // optional for the downstream pin
  if (SUCCEEDED(input->GetAllocator(allocator.Put())) &&
      SUCCEEDED(TryAllocator(input, allocator.Get(), wanted))) {
    return S_OK;
  }
  HRESULT hr = ::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(allocator.Put()));
  if (SUCCEEDED(hr)) hr = TryAllocator(input, allocator.Get(), wanted);
  if (FAILED(hr)) allocator.Reset();
  return hr;
}

HRESULT OutputPin::Active() { return m_allocator ? m_allocator->Commit() : S_OK; }

void OutputPin::Inactive() {
  if (m_allocator) m_allocator->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(base::ComPtr<IMediaSample>& sample) {
  if (!m_allocator) return VFW_E_NO_ALLOCATOR;
  return m_allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) {
  return m_input ? m_input->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndOfStream() { return Peer() ? Peer()->EndOfStream() : S_OK; }
HRESULT OutputPin::DeliverBeginFlush() { return Peer() ? Peer()->BeginFlush() : S_OK; }
HRESULT OutputPin::DeliverEndFlush() { return Peer() ? Peer()->EndFlush() : S_OK; }
HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return Peer() ? Peer()->NewSegment(start, stop, rate) : S_OK;
}

// ---- InputPin ----

STDMETHODIMP InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  AutoLock lock(m_filter.StateLock());
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  if (!m_filter.IsStopped()) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION dir;
  if (FAILED(connector->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) {
    return VFW_E_INVALID_DIRECTION;
  }
  if (CheckMediaType(*mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  HRESULT hr = SetConnection(connector, *mt);
  if (SUCCEEDED(hr)) hr = CompleteConnect(connector);
  if (FAILED(hr)) ClearConnection();
  return hr;
}

HRESULT InputPin::QueryExtraInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMemInputPin) {
    return GiveOut<IMemInputPin>(this, reinterpret_cast<IMemInputPin**>(ppv));
  }
  return E_NOINTERFACE;
}

void InputPin::BreakConnect() { m_allocator.Reset(); }

STDMETHODIMP InputPin::BeginFlush() {
  m_bFlushing = true;
  return S_OK;
}

STDMETHODIMP InputPin::EndFlush() {
  m_bFlushing = false;
  return S_OK;
}

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  *allocator = nullptr;
  if (!m_allocator) {
    const HRESULT hr = ::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(m_allocator.Put()));
    if (FAILED(hr)) return hr;
  }
  return GiveOut(m_allocator.Get(), allocator);
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (!allocator) return E_POINTER;
  return allocator->QueryInterface(IID_PPV_ARGS(m_allocator.Put()));
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (m_filter.IsStopped()) return VFW_E_WRONG_STATE;
  if (m_bFlushing) return S_FALSE;
  return OnReceive(sample);
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  if (!samples || !processed) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count && hr == S_OK) {
    hr = Receive(samples[*processed]);
    if (hr == S_OK) ++*processed;
  }
  return hr;
}

}  // namespace dshow

#include "dshow/filter.h"

#include <algorithm>
#include <cstring>

#include "dshow/enumerators.h"
#include "dshow/pins.h"

namespace dshow {

Filter::Filter(const CLSID& clsid) : m_clsid(clsid) {}

Filter::~Filter() = default;

STDMETHODIMP Filter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter ||
      riid == IID_IBaseFilter) {
    return GiveOut<IBaseFilter>(this, reinterpret_cast<IBaseFilter**>(ppv));
  }
  return QueryExtraInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) Filter::AddRef() { return ++m_cRef; }

STDMETHODIMP_(ULONG) Filter::Release() {
  const ULONG n = --m_cRef;
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP Filter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = m_clsid;
  return S_OK;
}

STDMETHODIMP Filter::Stop() {
  AutoLock lock(m_csState);
  if (IsStopped()) return S_OK;
  for (int i = 0; i < GetPinCount(); ++i) GetPin(i)->Inactive();
  m_state = State_Stopped;
  OnStop();
  return S_OK;
}

STDMETHODIMP Filter::Pause() {
  AutoLock lock(m_csState);
  if (State() == State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      const HRESULT hr = GetPin(i)->Active();
      if (FAILED(hr)) {
        for (int j = 0; j < i; ++j) GetPin(j)->Inactive();
        return hr;
      }
    }
  } else if (State() == State_Running) {
    OnPauseFromRun();
  }
  m_state = State_Paused;
  return IsLive() ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP Filter::Run(REFERENCE_TIME tStart) {
  AutoLock lock(m_csState);
  if (State() == State_Running) return S_OK;
  if (State() == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  m_tStart = tStart;
  m_state = State_Running;
  return OnRun();
}

STDMETHODIMP Filter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = State();
  return *state == State_Paused && IsLive() ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP Filter::SetSyncSource(IReferenceClock* clock) {
  AutoLock lock(m_csLinks);
  if (clock) return clock->QueryInterface(IID_PPV_ARGS(m_clock.Put()));
  m_clock.Reset();
  return S_OK;
}

STDMETHODIMP Filter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  AutoLock lock(m_csLinks);
  *clock = nullptr;
  if (m_clock) GiveOut(m_clock.Get(), clock);
  return S_OK;
}

bool Filter::ClockTime(REFERENCE_TIME& now) {
  base::ComPtr<IReferenceClock> clock;
  {
    AutoLock lock(m_csLinks);
    clock = m_clock;
  }
  return clock && SUCCEEDED(clock->GetTime(&now));
}

STDMETHODIMP Filter::EnumPins(IEnumPins** ppEnum) { return CreatePinEnumerator(*this, ppEnum); }

STDMETHODIMP Filter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  for (int i = 0; i < GetPinCount(); ++i) {
    if (GetPin(i)->Name() == id) return GiveOut<IPin>(GetPin(i), pin);
  }
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP Filter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  AutoLock lock(m_csLinks);
  const size_t n = std::min(m_name.size(), static_cast<size_t>(MAX_FILTER_NAME - 1));
  std::memcpy(info->achName, m_name.c_str(), n * sizeof(wchar_t));
  info->achName[n] = L'\0';
  info->pGraph = nullptr;
  if (m_pGraph) GiveOut(m_pGraph, &info->pGraph);
  return S_OK;
}

STDMETHODIMP Filter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  AutoLock lock(m_csLinks);
  m_pGraph = graph;
  m_pSink = nullptr;
  if (graph) {
    base::ComPtr<IMediaEventSink> sink;
    // Kept without a reference: the graph outlives its membership.
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(sink.Put())))) m_pSink = sink.Get();
  }
  try {
    m_name = name ? name : L"";
  } catch (...) {  // no exception leaves a COM method
    m_name.clear();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

STDMETHODIMP Filter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

void Filter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = nullptr;
  {
    AutoLock lock(m_csLinks);
    sink = m_pSink;
  }
  if (sink) sink->Notify(code, param1, param2);
}

}  // namespace dshow

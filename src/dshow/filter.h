#pragma once
// The shared part of the program's own filters: IBaseFilter with its state
// machine, graph membership, clock and event sink. The pins belong to the
// derived filter and share its reference count.
#include <dshow.h>

#include <atomic>
#include <string>

#include "base/com_ptr.h"
#include "dshow/lock.h"

namespace dshow {

class Pin;

// Hands an interface out through an out-parameter with the reference the
// caller then owns.
template <class T>
HRESULT GiveOut(T* p, T** out) {
  if (!out) return E_POINTER;
  *out = p;
  if (p) p->AddRef();
  return p ? S_OK : E_NOINTERFACE;
}

class Filter : public IBaseFilter {
 public:
  explicit Filter(const CLSID& clsid);
  virtual ~Filter();
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPersist
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP GetState(DWORD msTimeout, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

  virtual int GetPinCount() = 0;
  virtual Pin* GetPin(int index) = 0;

  FILTER_STATE State() const { return m_state.load(); }
  bool IsStopped() const { return State() == State_Stopped; }
  CritSec& StateLock() { return m_csState; }
  REFERENCE_TIME StartTime() const { return m_tStart; }
  // The graph's clock now, or false without a clock.
  bool ClockTime(REFERENCE_TIME& now);
  // Sends an event to the graph's event sink (no-op outside a graph).
  void NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

 protected:
  // Further interfaces of the derived filter.
  virtual HRESULT QueryExtraInterface(REFIID, void**) { return E_NOINTERFACE; }
  // Hooks run under the state lock after the pins changed state.
  virtual HRESULT OnRun() { return S_OK; }
  virtual void OnPauseFromRun() {}
  virtual void OnStop() {}
  // Live sources have no data while paused: GetState says VFW_S_CANT_CUE.
  virtual bool IsLive() const { return false; }

 private:
  std::atomic<ULONG> m_cRef{1};
  CLSID m_clsid;
  CritSec m_csState;
  // Guards clock, graph and sink; the streaming thread takes only this one,
  // never the state lock that Stop holds while it waits for that thread.
  CritSec m_csLinks;
  std::atomic<FILTER_STATE> m_state{State_Stopped};
  REFERENCE_TIME m_tStart = 0;
  base::ComPtr<IReferenceClock> m_clock;
  // The graph owns the filter, so the filter keeps no reference on the
  // graph or its event sink (that would be a cycle).
  IFilterGraph* m_pGraph = nullptr;
  IMediaEventSink* m_pSink = nullptr;
  std::wstring m_name;
};

}  // namespace dshow

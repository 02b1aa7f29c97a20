#pragma once
// The simulated camera's DirectShow filter: a live video capture source
// with one capture pin.
#include <dshow.h>

#include "capture_pin.h"
#include "dshow/filter.h"

namespace simcam {

// {8E2F4A61-3B7C-4D2E-9A15-6C0B7D3E51A4}
inline constexpr CLSID kCameraClsid = {
    0x8e2f4a61, 0x3b7c, 0x4d2e, {0x9a, 0x15, 0x6c, 0x0b, 0x7d, 0x3e, 0x51, 0xa4}};
inline constexpr wchar_t kCameraName[] = L"Lumora Simulated USB Camera";

// It names its property page (brightness and pattern of the test picture).
class CameraFilter : public dshow::Filter, public ISpecifyPropertyPages {
 public:
  CameraFilter();
  ~CameraFilter() override;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return Filter::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Filter::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Filter::Release(); }
  // ISpecifyPropertyPages
  STDMETHODIMP GetPages(CAUUID* pages) override;

  int GetPinCount() override { return 1; }
  dshow::Pin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }

  // Filters alive in this process (for DllCanUnloadNow).
  static long LiveCount();

 protected:
  HRESULT OnRun() override;
  void OnPauseFromRun() override { m_pin.PauseStreaming(); }
  void OnStop() override { m_pin.StopStreaming(); }
  bool IsLive() const override { return true; }
  HRESULT QueryExtraInterface(REFIID riid, void** ppv) override;

 private:
  CapturePin m_pin;
};

}  // namespace simcam

#pragma once
// The simulated camera's property page: brightness and pattern of the test
// picture. Changes are applied as they are made (the platform's property
// frame may never call Apply), by writing them to the driver key, from
// which the capture pin draws the next frame.
#include <ocidl.h>
#include <windows.h>

#include <atomic>

namespace simcam {

// {5B0C6E2A-8D47-4F31-B6E9-2A7D4C19F083}
inline constexpr CLSID kPicturePageClsid = {
    0x5b0c6e2a, 0x8d47, 0x4f31, {0xb6, 0xe9, 0x2a, 0x7d, 0x4c, 0x19, 0xf0, 0x83}};
inline constexpr wchar_t kPicturePageName[] = L"Lumora Simulated Camera Picture";

class PicturePage : public IPropertyPage {
 public:
  explicit PicturePage(HINSTANCE module);
  virtual ~PicturePage();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPropertyPage
  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT show) override;
  STDMETHODIMP Move(LPCRECT rect) override;
  STDMETHODIMP IsPageDirty() override { return S_FALSE; }
  STDMETHODIMP Apply() override { return S_OK; }  // applied as made
  STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

  // Pages alive in this process (for DllCanUnloadNow).
  static long LiveCount();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit(HWND dialog);
  void OnChange(HWND dialog);

  std::atomic<ULONG> m_cRef{1};
  HINSTANCE m_module;
  HWND m_hDialog = nullptr;
  bool m_bFilling = false;  // the controls are being set up, not changed
};

}  // namespace simcam

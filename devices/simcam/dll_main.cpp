// simcam.dll: the COM server of the simulated camera's filter and its
// registration in the video input device category.
#include <dshow.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "base/com_ptr.h"
#include "camera_filter.h"
#include "picture_page.h"

namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_serverLocks{0};

// One factory per class: the camera filter and its property page.
template <class Object, class Interface>
class ClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // One static factory for the module's lifetime.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      auto object = base::ComPtr<Interface>::Attach(Create());
      return object->QueryInterface(riid, ppv);
    } catch (...) {  // no exception leaves a COM method
      return E_OUTOFMEMORY;
    }
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    g_serverLocks += lock ? 1 : -1;
    return S_OK;
  }

 private:
  static Object* Create();
};

template <>
simcam::CameraFilter* ClassFactory<simcam::CameraFilter, IBaseFilter>::Create() {
  return new simcam::CameraFilter;
}
template <>
simcam::PicturePage* ClassFactory<simcam::PicturePage, IPropertyPage>::Create() {
  return new simcam::PicturePage(g_module);
}

ClassFactory<simcam::CameraFilter, IBaseFilter> g_filterFactory;
ClassFactory<simcam::PicturePage, IPropertyPage> g_pageFactory;

std::wstring ClsidText(const CLSID& clsid = simcam::kCameraClsid) {
  wchar_t text[64] = L"";
  ::StringFromGUID2(clsid, text, ARRAYSIZE(text));
  return text;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = ::GetModuleFileNameW(g_module, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

bool SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool ok =
      ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

// The class key of a COM class served by this module.
bool RegisterComClass(const CLSID& clsid, const wchar_t* name, const std::wstring& path) {
  const std::wstring key = L"CLSID\\" + ClsidText(clsid);
  return SetText(HKEY_CLASSES_ROOT, key, nullptr, name) &&
         SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, path) &&
         SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel", L"Both");
}

HRESULT RegisterInCategory(IFilterMapper2* mapper) {
  REGPINTYPES type = {&MEDIATYPE_Video, &MEDIASUBTYPE_NULL};
  REGFILTERPINS2 pin{};
  pin.dwFlags = REG_PINFLAG_B_OUTPUT;
  pin.cInstances = 1;
  pin.nMediaTypes = 1;
  pin.lpMediaType = &type;
  pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
  REGFILTER2 filter{};
  filter.dwVersion = 2;
  filter.dwMerit = MERIT_DO_NOT_USE;
  filter.cPins2 = 1;
  filter.rgPins2 = &pin;
  return mapper->RegisterFilter(simcam::kCameraClsid, simcam::kCameraName, nullptr,
                                &CLSID_VideoInputDeviceCategory, ClsidText().c_str(), &filter);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid == simcam::kCameraClsid) return g_filterFactory.QueryInterface(riid, ppv);
  if (clsid == simcam::kPicturePageClsid) return g_pageFactory.QueryInterface(riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow() {
  return simcam::CameraFilter::LiveCount() == 0 && simcam::PicturePage::LiveCount() == 0 &&
                 g_serverLocks == 0
             ? S_OK
             : S_FALSE;
}

HRESULT WINAPI DllRegisterServer() try {
  const std::wstring path = ModulePath();
  if (path.empty() || !RegisterComClass(simcam::kCameraClsid, simcam::kCameraName, path) ||
      !RegisterComClass(simcam::kPicturePageClsid, simcam::kPicturePageName, path)) {
    return SELFREG_E_CLASS;
  }
  base::ComPtr<IFilterMapper2> mapper;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(mapper.Put()));
  if (SUCCEEDED(hr)) hr = RegisterInCategory(mapper.Get());
  return hr;
} catch (...) {
  return E_OUTOFMEMORY;
}

HRESULT WINAPI DllUnregisterServer() try {
  base::ComPtr<IFilterMapper2> mapper;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(mapper.Put()));
  if (SUCCEEDED(hr)) {
    mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, ClsidText().c_str(),
                             simcam::kCameraClsid);
  }
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText()).c_str());
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText(simcam::kPicturePageClsid)).c_str());
  return S_OK;
} catch (...) {
  return E_OUTOFMEMORY;
}

}  // extern "C"

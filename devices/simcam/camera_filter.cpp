#include "camera_filter.h"

#include <atomic>

#include "picture_page.h"

namespace simcam {
namespace {
std::atomic<long> g_liveFilters{0};
}

CameraFilter::CameraFilter() : Filter(kCameraClsid), m_pin(*this) { ++g_liveFilters; }

CameraFilter::~CameraFilter() {
  m_pin.StopStreaming();
  --g_liveFilters;
}

long CameraFilter::LiveCount() { return g_liveFilters.load(); }

HRESULT CameraFilter::QueryExtraInterface(REFIID riid, void** ppv) {
  if (riid != IID_ISpecifyPropertyPages) return E_NOINTERFACE;
  return dshow::GiveOut<ISpecifyPropertyPages>(this,
                                               reinterpret_cast<ISpecifyPropertyPages**>(ppv));
}

STDMETHODIMP CameraFilter::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->pElems = static_cast<GUID*>(::CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->cElems = 1;
  pages->pElems[0] = kPicturePageClsid;
  return S_OK;
}

HRESULT CameraFilter::OnRun() {
  m_pin.StartStreaming();
  return S_OK;
}

}  // namespace simcam

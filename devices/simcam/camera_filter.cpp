#include "camera_filter.h"

#include <atomic>

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

HRESULT CameraFilter::OnRun() {
  m_pin.StartStreaming();
  return S_OK;
}

}  // namespace simcam

#include "clip_playback.h"

#include <dshow.h>

namespace e2e {

HRESULT PlayToEnd(const std::filesystem::path& clip, long* eventCode) {
  IGraphBuilder* graph = nullptr;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, reinterpret_cast<void**>(&graph));
  if (FAILED(hr)) return hr;
  IBaseFilter* renderer = nullptr;
  IMediaControl* control = nullptr;
  IMediaEvent* events = nullptr;
  hr = ::CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          reinterpret_cast<void**>(&renderer));
  if (SUCCEEDED(hr)) hr = graph->AddFilter(renderer, L"Video Renderer");
  if (SUCCEEDED(hr)) hr = graph->RenderFile(clip.wstring().c_str(), nullptr);
  if (SUCCEEDED(hr))
    hr = graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
  if (SUCCEEDED(hr)) hr = graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
  if (SUCCEEDED(hr)) hr = control->Run();
  if (SUCCEEDED(hr)) {
    hr = events->WaitForCompletion(15000, eventCode);
    control->Stop();
  }
  if (events) events->Release();
  if (control) control->Release();
  if (renderer) renderer->Release();
  graph->Release();
  return hr;
}

}  // namespace e2e

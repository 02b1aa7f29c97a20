#include "dshow/graph_util.h"

#include <vector>

namespace dshow {

using base::ComPtr;

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
  ComPtr<IEnumPins> pins;
  if (!filter || FAILED(filter->EnumPins(pins.Put()))) return {};
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION d;
    if (SUCCEEDED(pin->QueryDirection(&d)) && d == dir) return pin;
  }
  return {};
}

std::wstring FriendlyName(IMoniker* moniker) {
  ComPtr<IPropertyBag> bag;
  if (!moniker || FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(bag.Put())))) {
    return {};
  }
  VARIANT value;
  ::VariantInit(&value);
  std::wstring name;
  if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR &&
      value.bstrVal) {
    name = value.bstrVal;
  }
  ::VariantClear(&value);
  return name;
}

void RemoveDownstream(IFilterGraph* graph, IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (!filter || !graph || FAILED(filter->EnumPins(pins.Put()))) return;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    ComPtr<IPin> peer;
    PIN_DIRECTION dir;
    if (FAILED(pin->ConnectedTo(peer.Put())) || FAILED(peer->QueryDirection(&dir)) ||
        dir != PINDIR_INPUT) {
      continue;
    }
    PIN_INFO info{};
    if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) continue;
    auto next = ComPtr<IBaseFilter>::Attach(info.pFilter);
    RemoveDownstream(graph, next.Get());
    graph->Disconnect(peer.Get());
    graph->Disconnect(pin.Get());
    graph->RemoveFilter(next.Get());
  }
}

void RemoveAllFilters(IFilterGraph* graph) {
  if (!graph) return;
  // Removing changes the enumeration: take the filters first.
  std::vector<ComPtr<IBaseFilter>> filters;
  ComPtr<IEnumFilters> all;
  if (FAILED(graph->EnumFilters(all.Put()))) return;
  ComPtr<IBaseFilter> filter;
  while (all->Next(1, filter.Put(), nullptr) == S_OK) filters.push_back(filter);
  for (const auto& f : filters) graph->RemoveFilter(f.Get());
}

}  // namespace dshow

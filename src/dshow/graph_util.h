#pragma once
// Small steps on filter graphs that the capture graph and the player share:
// finding a filter's pin, reading a moniker's name, taking the filters
// behind a filter out of its graph.
#include <dshow.h>

#include <string>

#include "base/com_ptr.h"

namespace dshow {

// The first pin of `filter` in direction `dir`, or null.
base::ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION dir);

// The friendly name of a device or codec moniker, or "" when unreadable.
std::wstring FriendlyName(IMoniker* moniker);

// Disconnects and removes from `graph` every filter downstream of `filter`,
// deepest first; `filter` itself stays.
void RemoveDownstream(IFilterGraph* graph, IBaseFilter* filter);

// Takes every filter out of `graph`, so that none is left connected to a
// graph that goes away.
void RemoveAllFilters(IFilterGraph* graph);

}  // namespace dshow

#pragma once
// The enumerators a filter hands out for its pins and a pin for its media
// types. Each keeps the filter alive while it exists.
#include <dshow.h>

namespace dshow {

class Filter;
class Pin;

HRESULT CreatePinEnumerator(Filter& filter, IEnumPins** ppEnum);
HRESULT CreateMediaTypeEnumerator(Filter& filter, Pin& pin, IEnumMediaTypes** ppEnum);

}  // namespace dshow

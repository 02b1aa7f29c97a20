#include "dshow/enumerators.h"

#include <atomic>
#include <new>

#include "dshow/filter.h"
#include "dshow/pins.h"

namespace dshow {
namespace {

// The reference counting and position shared by both enumerators.
template <class Interface>
class Enumerator : public Interface {
 public:
  explicit Enumerator(Filter& filter) : m_filter(filter) { m_filter.AddRef(); }
  virtual ~Enumerator() { m_filter.Release(); }
  Enumerator(const Enumerator&) = delete;
  Enumerator& operator=(const Enumerator&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == __uuidof(Interface))
      return GiveOut<Interface>(this, reinterpret_cast<Interface**>(ppv));
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG n = --m_cRef;
    if (n == 0) delete this;
    return n;
  }
  STDMETHODIMP Skip(ULONG count) override {
    m_position += count;
    return m_position <= Count() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    m_position = 0;
    return S_OK;
  }

 protected:
  virtual ULONG Count() = 0;
  Filter& m_filter;
  ULONG m_position = 0;

 private:
  std::atomic<ULONG> m_cRef{1};
};

class PinEnumerator : public Enumerator<IEnumPins> {
 public:
  using Enumerator::Enumerator;

  STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
    if (!pins || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && m_position < Count(); ++n, ++m_position) {
      GiveOut<IPin>(m_filter.GetPin(static_cast<int>(m_position)), &pins[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Clone(IEnumPins** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    auto* copy = new (std::nothrow) PinEnumerator(m_filter);
    if (!copy) return E_OUTOFMEMORY;
    copy->m_position = m_position;
    *ppEnum = copy;
    return S_OK;
  }

 protected:
  ULONG Count() override { return static_cast<ULONG>(m_filter.GetPinCount()); }
};

class MediaTypeEnumerator : public Enumerator<IEnumMediaTypes> {
 public:
  MediaTypeEnumerator(Filter& filter, Pin& pin) : Enumerator(filter), m_pin(pin) {}

  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
    if (!types || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    while (n < count) {
      MediaType mt;
      if (m_pin.GetMediaType(static_cast<int>(m_position), *mt.Mutable()) != S_OK) break;
      types[n] = CreateMediaType(mt.Get());
      if (!types[n]) break;
      ++n;
      ++m_position;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    auto* copy = new (std::nothrow) MediaTypeEnumerator(m_filter, m_pin);
    if (!copy) return E_OUTOFMEMORY;
    copy->m_position = m_position;
    *ppEnum = copy;
    return S_OK;
  }

 protected:
  // The types are produced on demand; the count only bounds Skip.
  ULONG Count() override {
    ULONG n = 0;
    for (;; ++n) {
      MediaType mt;
      if (m_pin.GetMediaType(static_cast<int>(n), *mt.Mutable()) != S_OK) return n;
    }
  }

 private:
  Pin& m_pin;
};

}  // namespace

HRESULT CreatePinEnumerator(Filter& filter, IEnumPins** ppEnum) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = new (std::nothrow) PinEnumerator(filter);
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateMediaTypeEnumerator(Filter& filter, Pin& pin, IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = new (std::nothrow) MediaTypeEnumerator(filter, pin);
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

}  // namespace dshow

#pragma once
// An owning interface pointer: AddRef on copy, Release on reset.
#include <unknwn.h>

#include <utility>

namespace base {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : m_p(other.m_p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }

  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.m_p = p;
    return c;
  }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // For out-parameters of creating calls.
  T** Put() {
    Reset();
    return &m_p;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  template <class U>
  HRESULT As(ComPtr<U>& out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(__uuidof(U), out.PutVoid());
  }

 private:
  T* m_p = nullptr;
};

}  // namespace base

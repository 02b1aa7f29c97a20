#pragma once
// Runs a function when the scope ends, however it ends (a return or an
// exception): for flags and states that must not stay set.
#include <utility>

namespace base {

template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : m_f(std::move(f)) {}
  ~ScopeExit() { m_f(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F m_f;
};

}  // namespace base

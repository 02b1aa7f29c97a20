#pragma once
// A critical section and its scope guard.
#include <windows.h>

namespace dshow {

class CritSec {
 public:
  CritSec() { ::InitializeCriticalSection(&m_cs); }
  ~CritSec() { ::DeleteCriticalSection(&m_cs); }
  CritSec(const CritSec&) = delete;
  CritSec& operator=(const CritSec&) = delete;
  void Enter() { ::EnterCriticalSection(&m_cs); }
  bool TryEnter() { return ::TryEnterCriticalSection(&m_cs) != FALSE; }
  void Leave() { ::LeaveCriticalSection(&m_cs); }

 private:
  CRITICAL_SECTION m_cs;
};

class AutoLock {
 public:
  explicit AutoLock(CritSec& cs) : m_cs(cs) { m_cs.Enter(); }
  ~AutoLock() { m_cs.Leave(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  CritSec& m_cs;
};

}  // namespace dshow

#pragma once
// An entry of a loaded module, typed as the caller declares it.
#include <windows.h>

namespace base {

// Null when the module or the entry is missing.
template <class Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through void*: FARPROC's own type matches no real entry.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace base

#include "base/trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace base {

void Trace(const char* format, ...) {
  char buf[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  ::OutputDebugStringA(buf);
}

}  // namespace base

#pragma once
// Diagnostic traces: OutputDebugStringA, invisible to the user.
namespace base {

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace base

#include "core/capture_naming.h"

#include <cstdio>

namespace core {

std::wstring FirstFreeCaptureName(const std::wstring& folder, const std::wstring& extension,
                                  const std::function<bool(const std::wstring&)>& exists,
                                  int lastNumber) {
  for (int n = 1; n <= lastNumber; ++n) {
    wchar_t number[16];
    std::swprintf(number, sizeof number / sizeof number[0], L"\\P%07d", n);
    std::wstring name = folder + number + extension;
    if (!exists(name)) return name;
  }
  return {};
}

}  // namespace core

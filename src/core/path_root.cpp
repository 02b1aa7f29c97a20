#include "core/path_root.h"

namespace core {

std::wstring PathRoot(const std::wstring& path) {
  std::size_t end = std::wstring::npos;
  if (path.compare(0, 2, L"\\\\") == 0) {
    const std::size_t server = path.find(L'\\', 2);
    if (server != std::wstring::npos) end = path.find(L'\\', server + 1);
  } else {
    end = path.find(L'\\');
  }
  if (end == std::wstring::npos) return path + L'\\';
  return path.substr(0, end + 1);
}

}  // namespace core

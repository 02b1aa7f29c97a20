// Driver INF files that the remover reads.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/inf_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  core::InfNamesCamera(in);
  core::PrecompiledInfPath(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

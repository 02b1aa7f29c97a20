// The settings file's text: any bytes, looked up and rewritten.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (std::string_view section : {"Setting", "ALBUM", ""}) {
    for (std::string_view key : {"AlbumNum", "Compress", "Album1", ""}) {
      const auto found = core::IniFind(text, section, key);
      core::IniResult(found, "d", 10);
      const std::string changed = core::IniReplace(text, section, key, "value");
      core::IniFind(changed, section, key);
    }
  }
  return 0;
}

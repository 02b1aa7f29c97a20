#pragma once
// Playing a recorded clip back the way a user's player does.
#include <windows.h>

#include <filesystem>

namespace e2e {

// Plays a clip to its end through DirectShow with the GDI renderer; S_OK
// with EC_COMPLETE in `eventCode` when it played. COM must be initialised.
HRESULT PlayToEnd(const std::filesystem::path& clip, long* eventCode);

}  // namespace e2e

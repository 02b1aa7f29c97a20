#pragma once
// Finds the camera through the registry entries of its driver: the device
// interfaces of the video device class, their "Linked" marks, and the
// family's TWAIN.INI that names the driver's own registry key.
#include <atomic>
#include <string>

namespace capture {

// Set by FindCamera; read by the frame grabber, the capture view and start-up.
// The grabber reads the first on the streaming thread, hence atomic.
extern std::atomic<bool> g_bKnownCamera;  // a linked device of the vendor's prefix
extern bool g_bQvc5520Family;    // allows 800x600 and the still-size property
extern bool g_bQvc318Family;
extern std::string g_strDriverRegistryPath;  // below HKEY_LOCAL_MACHINE

inline constexpr char kNoDriverRegistryPath[] = "NULLRegistryPath";

// True when a linked camera device is present.
bool FindCamera();

}  // namespace capture

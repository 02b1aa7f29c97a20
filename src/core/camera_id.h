#pragma once
// How a device instance text names the camera and its family, and where the
// family's still-image driver keeps its TWAIN.INI.
#include <string>
#include <string_view>

namespace core {

struct CameraFamily {
  bool known = false;    // vendor prefix "USB\VID_0D7C"
  bool qvc5520 = false;  // "PID_41A0" or "PID_41AF"
  bool qvc318 = false;   // "PID_41C8"
  std::string folder;    // "QV5520\", "QFC419\", "NULL", or empty when not known
};

// An upper-cased instance that may be the camera: the vendor's prefix or the
// placeholder "USB\VID_FFFF".
bool IsCameraInstance(std::string_view upperInstance);

CameraFamily ClassifyCamera(std::string_view upperInstance);

// windowsFolder + "twain_32\" (with a backslash between when needed) +
// family folder + "TWAIN.INI".
std::string TwainIniPath(std::string_view windowsFolder, std::string_view familyFolder);

}  // namespace core

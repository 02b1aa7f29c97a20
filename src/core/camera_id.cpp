#include "core/camera_id.h"

namespace core {
namespace {

bool Contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

}  // namespace

bool IsCameraInstance(std::string_view upperInstance) {
  return Contains(upperInstance, "USB\\VID_FFFF") || Contains(upperInstance, "USB\\VID_0D7C");
}

CameraFamily ClassifyCamera(std::string_view upperInstance) {
  CameraFamily family;
  if (!Contains(upperInstance, "USB\\VID_0D7C")) return family;
  family.known = true;
  family.folder = "NULL";
  if (Contains(upperInstance, "PID_41A0") || Contains(upperInstance, "PID_41AF")) {
    family.qvc5520 = true;
    family.folder = "QV5520\\";
  }
  if (Contains(upperInstance, "PID_41C8")) {
    family.qvc318 = true;
    family.folder = "QFC419\\";
  }
  return family;
}

std::string TwainIniPath(std::string_view windowsFolder, std::string_view familyFolder) {
  std::string path(windowsFolder);
  path += (!path.empty() && path.back() == '\\') ? "twain_32\\" : "\\twain_32\\";
  path += familyFolder;
  path += "TWAIN.INI";
  return path;
}

}  // namespace core

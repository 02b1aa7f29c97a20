#pragma once
// The simulated camera's driver footprint in the registry and the Windows
// folder: what a real camera's driver installation leaves for the program
// to find (device interface with its "Linked" mark, the family's TWAIN.INI,
// the driver key and the still-image service key).
#include <string>

#include "picture.h"

namespace simcam {

enum class Family { Qvc5520, Qvc318, Generic, None };

// Parses "qvc5520", "qvc318", "generic" or "none"; false for anything else.
bool ParseFamily(const std::wstring& text, Family& family);

// Below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kDeviceClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6994AD05-93EF-11D0-A3CC-00A0C9223196}";
inline constexpr wchar_t kDriverKey[] =
    L"SYSTEM\\CurrentControlSet\\Services\\QV818UCM\\Parameters";
inline constexpr wchar_t kServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Snapvisor";
inline constexpr wchar_t kServiceValue[] = L"{E5BAEA70-7F2C-49F3-BEC5-BAEDEA26DFB4}";
// "StatusReport" as installed: high bits set so that the program's exit mask
// can be seen.
inline constexpr unsigned long kInstalledStatusReport = 0xF0000001ul;

// The device instance text of a family ("" for none).
std::wstring DeviceInstance(Family family);

// The device interface's key below HKEY_LOCAL_MACHINE ("" for none); its
// "#GLOBAL\Control" subkey holds "Linked".
std::wstring InterfaceKey(Family family);

// The installed device's interface key below HKEY_LOCAL_MACHINE, "" when
// no device is installed.
std::wstring InstalledInterfaceKey();
// The installed device's family (None without a device).
Family InstalledFamily();
// "Linked" of the installed device: false when absent or unreadable.
bool IsLinked();
// "Linked" below a known interface key (cheaper than finding the key).
bool IsLinkedAt(const std::wstring& interfaceKey);
// Sets "Linked" of the installed device; false without a device.
bool SetLinked(bool linked);

// The driver key's own values through which simcamctl steers the camera
// filter running inside the program: the output format (0 RGB24, 1 I420),
// the frame size the camera starts with (width << 16 | height, 0 for
// 352x288; a size outside the usual list is offered as an extra one) and a
// counter of snapshot-button presses.
inline constexpr wchar_t kFormatValue[] = L"SimFormat";
inline constexpr wchar_t kSizeValue[] = L"SimSize";
inline constexpr wchar_t kSnapRequestsValue[] = L"SimSnapRequests";
unsigned long ReadDriverValue(const wchar_t* name);  // 0 when absent
bool WriteDriverValue(const wchar_t* name, unsigned long value);
// The look of the test picture that the camera's property page sets, kept
// in the driver key like a real driver keeps its picture settings; values
// outside their range read as the default.
inline constexpr wchar_t kBrightnessValue[] = L"SimBrightness";
inline constexpr wchar_t kPatternValue[] = L"SimPattern";
PictureLook ReadPictureLook();
bool WritePictureLook(const PictureLook& look);
// What the driver does when it hands out a snapshot frame: it sets
// "usb_snapshot_status" and the still-image service's value to 1.
void ReportSnapshot(Family family);

// Writes the whole footprint for `family` (removing any earlier one first).
bool InstallFootprint(Family family);
// Removes every trace of every family.
bool RemoveFootprint();

}  // namespace simcam

#pragma once
// The simulated camera's driver footprint in the registry and the Windows
// folder: what a real camera's driver installation leaves for the program
// to find (device interface with its "Linked" mark, the family's TWAIN.INI,
// the driver key and the still-image service key).
#include <string>

namespace simcam {

enum class Family { Qvc5520, Qvc318, Generic, None };

// Parses "qvc5520", "qvc318", "generic" or "none"; false for anything else.
bool ParseFamily(const std::wstring& text, Family& family);

// Below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kDeviceClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6994AD05-93EF-11D0-A3CC-00A0C9223196}";
inline constexpr wchar_t kDriverKey[] = L"SYSTEM\\CurrentControlSet\\Services\\QV818UCM\\Parameters";
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

// Writes the whole footprint for `family` (removing any earlier one first).
bool InstallFootprint(Family family);
// Removes every trace of every family.
bool RemoveFootprint();

}  // namespace simcam

// simcamctl: drives the simulated camera from the command line.
//   simcamctl install [qvc5520|qvc318|generic]   footprint and filter registration, and
//                                                the program's video compressor
//   simcamctl uninstall                          removes both
//   simcamctl plug | unplug                      sets the device's "Linked"
//   simcamctl snap                               marks the next frame as a snapshot
//   simcamctl format rgb24|i420                  output format of the next connection
//   simcamctl size WxH                           the camera's first frame size (e.g. 854x480)
//   simcamctl family qvc5520|qvc318|generic|none switches (or removes) the device
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/handles.h"
#include "footprint.h"

namespace {

int Usage() {
  std::fputs(
      "usage: simcamctl install [qvc5520|qvc318|generic] | uninstall | plug | unplug | snap\n"
      "       | format rgb24|i420 | size WxH | family qvc5520|qvc318|generic|none\n",
      stderr);
  return 2;
}

int Fail(const char* what) {
  std::fprintf(stderr, "simcamctl: %s\n", what);
  return 1;
}

// A file beside this tool ("" when the tool's own path is unknown).
std::wstring BesideThisTool(const wchar_t* name) {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  const std::wstring self(path, n);
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

// Calls DllRegisterServer or DllUnregisterServer of simcam.dll beside this tool.
bool CallServerEntry(const char* entry) {
  const std::wstring dll = BesideThisTool(L"simcam.dll");
  if (dll.empty()) return false;
  base::ComScope com;
  base::Module module(::LoadLibraryW(dll.c_str()));
  if (!module) return false;
  using Entry = HRESULT(WINAPI*)();
  auto fn = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), entry)));
  return fn && SUCCEEDED(fn());
}

// Writes the footprint of `family` and registers (or, for none, removes)
// the filter, keeping the chosen output format.
int SwitchFamily(simcam::Family family) {
  const unsigned long format = simcam::ReadDriverValue(simcam::kFormatValue);
  const unsigned long size = simcam::ReadDriverValue(simcam::kSizeValue);
  if (!simcam::InstallFootprint(family))
    return Fail("could not write the camera's registry entries");
  simcam::WriteDriverValue(simcam::kFormatValue, format);
  simcam::WriteDriverValue(simcam::kSizeValue, size);
  if (family == simcam::Family::None) {
    CallServerEntry("DllUnregisterServer");
    return 0;
  }
  return CallServerEntry("DllRegisterServer") ? 0 : Fail("could not register the camera filter");
}

// The program's video compressor, as an installation of the program leaves
// it: the driver in the system folder (the codec service opens it by file
// name, and a path with a blank in it would break that) and its Drivers32
// value. It stays when the camera is uninstalled.
constexpr wchar_t kCodecFile[] = L"lumjpeg.dll";
constexpr wchar_t kDrivers32Key[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr wchar_t kCodecValue[] = L"vidc.mjpg";

bool InstallVideoCodec() {
  const std::wstring source = BesideThisTool(kCodecFile);
  wchar_t system[MAX_PATH] = L"";
  const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
  if (source.empty() || n == 0 || n >= MAX_PATH) return false;
  const std::wstring target = std::wstring(system, n) + L"\\" + kCodecFile;
  if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) return false;
  base::RegKey key;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDrivers32Key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD bytes = static_cast<DWORD>((std::wcslen(kCodecFile) + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), kCodecValue, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(kCodecFile), bytes) == ERROR_SUCCESS;
}

int Install(int argc, wchar_t** argv) {
  simcam::Family family = simcam::Family::Qvc5520;
  if (argc > 2 && (!simcam::ParseFamily(argv[2], family) || family == simcam::Family::None)) {
    return Usage();
  }
  // A compressor in use (a program still running) cannot be replaced;
  // the camera is installed all the same.
  if (!InstallVideoCodec())
    std::fputs("simcamctl: could not install the video compressor\n", stderr);
  simcam::WriteDriverValue(simcam::kFormatValue, 0);
  simcam::WriteDriverValue(simcam::kSizeValue, 0);
  return SwitchFamily(family);
}

int Uninstall() {
  CallServerEntry("DllUnregisterServer");
  return simcam::RemoveFootprint() ? 0 : Fail("could not remove the camera's registry entries");
}

int Format(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring name = argv[2];
  if (name != L"rgb24" && name != L"i420") return Usage();
  return simcam::WriteDriverValue(simcam::kFormatValue, name == L"i420" ? 1 : 0)
             ? 0
             : Fail("camera not installed");
}

// "WxH" with sides of 34 to 4095 pixels (the test picture's stamp needs 33).
int Size(int argc, wchar_t** argv) {
  unsigned width = 0, height = 0;
  wchar_t rest = 0;
  if (argc < 3 || swscanf(argv[2], L"%ux%u%lc", &width, &height, &rest) != 2 || width < 34 ||
      height < 2 || width > 4095 || height > 4095) {
    return Usage();
  }
  return simcam::WriteDriverValue(simcam::kSizeValue, width << 16 | height)
             ? 0
             : Fail("camera not installed");
}

int Family(int argc, wchar_t** argv) {
  simcam::Family family;
  if (argc < 3 || !simcam::ParseFamily(argv[2], family)) return Usage();
  return SwitchFamily(family);
}

int Snap() {
  const unsigned long presses = simcam::ReadDriverValue(simcam::kSnapRequestsValue);
  return simcam::WriteDriverValue(simcam::kSnapRequestsValue, presses + 1)
             ? 0
             : Fail("camera not installed");
}

int Main(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring verb = argv[1];
  if (verb == L"install") return Install(argc, argv);
  if (verb == L"uninstall") return Uninstall();
  if (verb == L"plug" || verb == L"unplug") {
    return simcam::SetLinked(verb == L"plug") ? 0 : Fail("no camera device installed");
  }
  if (verb == L"snap") return Snap();
  if (verb == L"format") return Format(argc, argv);
  if (verb == L"size") return Size(argc, argv);
  if (verb == L"family") return Family(argc, argv);
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    return Main(argc, argv);
  } catch (...) {
    return Fail("out of memory");
  }
}

// simcamctl: drives the simulated camera from the command line.
//   simcamctl install [qvc5520|qvc318|generic]   writes the driver footprint
//   simcamctl uninstall                          removes it
#include <windows.h>

#include <cstdio>
#include <string>

#include "footprint.h"

namespace {

int Usage() {
  std::fputs("usage: simcamctl install [qvc5520|qvc318|generic] | uninstall\n", stderr);
  return 2;
}

int Install(int argc, wchar_t** argv) {
  simcam::Family family = simcam::Family::Qvc5520;
  if (argc > 2 && !simcam::ParseFamily(argv[2], family)) return Usage();
  if (!simcam::InstallFootprint(family)) {
    std::fputs("simcamctl: could not write the camera's registry entries\n", stderr);
    return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring verb = argv[1];
  if (verb == L"install") return Install(argc, argv);
  if (verb == L"uninstall") return simcam::RemoveFootprint() ? 0 : 1;
  return Usage();
}

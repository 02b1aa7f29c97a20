// Shows one plug-in's dialog on a picture for a while, for screenshots:
//   plugin_demo.exe DLL [POSITION|process|- [SECONDS [BMP]]]
// POSITION releases the slider there; "process" presses Process; "-" leaves
// the dialog as it opens. The picture defaults to the photo beside the program.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

#include "common/effect_ids.h"
#include "plugin_host.h"
#include "test_dib.h"

int wmain(int argc, wchar_t** argv) {
  using namespace plugin_test;
  if (argc < 2) {
    std::fputs("usage: plugin_demo DLL [POSITION|process|- [SECONDS [BMP]]]\n", stderr);
    return 2;
  }
  const std::wstring picture = argc > 4 ? argv[4] : ProgramFolder() + L"coffee.bmp";
  TestDib dib = TestDib::FromFile(picture);
  PluginHost host(argv[1]);
  if (!host.Entry() || dib.bytes().empty()) {
    std::fputs("plugin_demo: cannot load the plug-in or the picture\n", stderr);
    return 1;
  }
  const std::uint32_t status = host.Call(dib.header());
  if (status != PluginHost::kUntouched) {
    std::fprintf(stderr, "plugin_demo: refused with 0x%08X\n", status);
    return 1;
  }
  const std::wstring action = argc > 2 ? argv[2] : L"-";
  if (action == L"process") {
    host.Click(IDC_PROCESS);
  } else if (action != L"-") {
    host.ReleaseSlider(std::stoi(action));
  }
  const int seconds = argc > 3 ? std::stoi(argv[3]) : 5;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end && host.DialogVisible()) {
    PluginHost::Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 0;
}

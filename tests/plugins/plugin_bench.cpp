// How long each effect takes to answer a slider release (or Process) on an
// 800 x 600 picture, through its library and dialog, preview included:
//   plugin_bench.exe [REPEATS]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "common/effect_ids.h"
#include "plugin_host.h"
#include "test_dib.h"

namespace {

using plugin_test::PluginHost;
using plugin_test::TestDib;

struct Bench {
  const wchar_t* dll;
  int first, last;  // slider positions to sweep; none for Process
};

double MillisecondsPerApply(const Bench& b, int repeats) {
  TestDib picture(800, 600, 1);
  PluginHost host(b.dll);
  if (!host.Entry() || host.Call(picture.header()) != PluginHost::kUntouched) return -1;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) {
    if (b.first == b.last) {
      host.Click(IDC_PROCESS);
    } else {
      host.ReleaseSlider(b.first + (b.last - b.first) * i / repeats);
    }
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  host.Click(IDCANCEL);
  return spent.count() / repeats;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::stoi(argv[1]) : 20;
  const Bench benches[] = {
      {L"litefx.dll", 20, 250}, {L"tonefx.dll", 5, 85},     {L"edgefx.dll", 0, 0},
      {L"tilefx.dll", 2, 64},   {L"warpfx.dll", -500, 500},
  };
  int failed = 0;
  for (const Bench& b : benches) {
    const double ms = MillisecondsPerApply(b, repeats);
    std::printf("%-11ls %s\n", b.dll,
                ms < 0 ? "failed" : (std::to_string(ms).substr(0, 5) + " ms per apply").c_str());
    failed += ms < 0;
  }
  return failed ? 1 : 0;
}

// How long each effect takes to answer a slider release (or Process) on an
// 800 x 600 picture, through its library and dialog, preview included, as
// elapsed time and as this thread's processor time (which a busy machine
// disturbs less):
//   plugin_bench.exe [REPEATS]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "common/effect_ids.h"
#include "plugin_host.h"
#include "test_dib.h"

namespace {

using plugin_test::PluginHost;
using plugin_test::TestDib;

struct Bench {
  const wchar_t* dll;
  const char* key;  // of its figure for tools/bench/all
  int first, last;  // slider positions to sweep; none for Process
};

struct Times {
  double elapsed, processor;  // milliseconds per apply
};

bool Measure(const Bench& b, int repeats, Times& times) {
  TestDib picture(800, 600, 1);
  PluginHost host(b.dll);
  if (!host.Entry() || host.Call(picture.header()) != PluginHost::kUntouched) return false;
  const double processor = bench::ThreadCpuMs();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) {
    if (b.first == b.last) {
      host.Click(IDC_PROCESS);
    } else {
      host.ReleaseSlider(b.first + (b.last - b.first) * i / repeats);
    }
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  times = {spent.count() / repeats, (bench::ThreadCpuMs() - processor) / repeats};
  host.Click(IDCANCEL);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::stoi(argv[1]) : 20;
  const Bench benches[] = {
      {L"litefx.dll", "dialog.brightness_ms", 20, 250},
      {L"tonefx.dll", "dialog.contrast_ms", 5, 85},
      {L"edgefx.dll", "dialog.sharpness_ms", 0, 0},
      {L"tilefx.dll", "dialog.mosaic_ms", 2, 64},
      {L"warpfx.dll", "dialog.concave_convex_ms", -500, 500},
  };
  int failed = 0;
  for (const Bench& b : benches) {
    Times t{};
    if (Measure(b, repeats, t)) {
      std::printf("%-11ls %6.1f ms per apply (processor %.1f ms)\n", b.dll, t.elapsed, t.processor);
      bench::PrintFigure(b.key, t.elapsed);
    } else {
      std::printf("%-11ls failed\n", b.dll);
      ++failed;
    }
  }
  return failed ? 1 : 0;
}

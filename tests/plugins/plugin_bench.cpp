// How long each effect takes to answer a slider release (or Process) on an
// 800 x 600 picture, through its library and dialog, preview included, as
// elapsed time and as this thread's processor time (which a busy machine
// disturbs less):
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

struct Times {
  double elapsed, processor;  // milliseconds per apply
};

double ThreadMilliseconds() {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10000;
}

bool Measure(const Bench& b, int repeats, Times& times) {
  TestDib picture(800, 600, 1);
  PluginHost host(b.dll);
  if (!host.Entry() || host.Call(picture.header()) != PluginHost::kUntouched) return false;
  const double processor = ThreadMilliseconds();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) {
    if (b.first == b.last) {
      host.Click(IDC_PROCESS);
    } else {
      host.ReleaseSlider(b.first + (b.last - b.first) * i / repeats);
    }
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  times = {spent.count() / repeats, (ThreadMilliseconds() - processor) / repeats};
  host.Click(IDCANCEL);
  return true;
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
    Times t{};
    if (Measure(b, repeats, t)) {
      std::printf("%-11ls %6.1f ms per apply (processor %.1f ms)\n", b.dll, t.elapsed, t.processor);
    } else {
      std::printf("%-11ls failed\n", b.dll);
      ++failed;
    }
  }
  return failed ? 1 : 0;
}

// Times the pixel work of each effect plug-in on an 800 x 600 picture, the
// arithmetic that a slider release (or Process) runs, without the dialog
// and its preview (plugin_bench times those): brightness at 1.25 times the
// level, contrast at 60 degrees, sharpness with the default kernel, mosaic
// tiles of 8 pixels and concave-convex with a radius of 300. The picture is
// plugin_bench's; given a path, it is also written there as a bitmap file,
// so that other programs can be timed on the same picture.
//   effect_bench.exe [PICTURE.bmp] [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "core/effects/channel.h"
#include "core/effects/mosaic.h"
#include "core/effects/sharpen.h"
#include "core/effects/tone_maps.h"
#include "core/effects/warp.h"
#include "test_dib.h"

namespace {

namespace fx = core::effects;

constexpr int kWidth = 800, kHeight = 600;
constexpr int kContrastAngle = 60;
constexpr int kTile = 8;
constexpr int kRadius = 300;

struct Effect {
  const char* name;
  const char* key;  // of its figure for tools/bench/all
  std::function<void()> apply;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 30;
  plugin_test::TestDib picture(kWidth, kHeight, 1);
  if (argc > 1 &&
      !bench::WriteFileBytes(argv[1], bench::BitmapFile(picture.pixels(), kWidth, kHeight))) {
    std::printf("cannot write %ls\n", argv[1]);
    return 1;
  }
  const fx::Geometry geometry{kWidth, kHeight, picture.stride()};
  const std::uint8_t* source = picture.pixels();
  std::vector<std::uint8_t> working(source, source + geometry.stride * kHeight);

  // The tone dialogs measure the level once, when they open.
  const unsigned level = fx::MeanLevel(source, geometry, fx::Channel::Rgb);
  const int brightness = std::min(255, static_cast<int>(level * 5 / 4));
  const auto tone = [&](const fx::ByteMap& map) {
    fx::ApplyByteMap(source, working.data(), geometry, fx::Channel::Rgb, map);
  };
  const Effect effects[] = {
      {"brightness", "effect.brightness_ms", [&] { tone(fx::BrightnessMap(brightness, level)); }},
      {"contrast", "effect.contrast_ms", [&] { tone(fx::ContrastMap(kContrastAngle, level)); }},
      {"sharpness", "effect.sharpness_ms",
       [&] {
         fx::Sharpen(source, working.data(), geometry, fx::Channel::Rgb, fx::kDefaultKernel);
       }},
      {"mosaic", "effect.mosaic_ms", [&] { fx::Mosaic(source, working.data(), geometry, kTile); }},
      {"concave-convex", "effect.concave_convex_ms",
       [&] { fx::Warp(source, working.data(), geometry, kRadius); }},
  };
  std::printf("effect pixel work, %d x %d, level %u, %d rounds\n", kWidth, kHeight, level, rounds);
  for (const Effect& effect : effects) {
    const bench::Summary s = bench::Time(rounds, effect.apply);
    std::printf("%-16s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", effect.name, s.median,
                s.best, s.worst);
    bench::PrintFigure(effect.key, s.median);
  }
  return 0;
}

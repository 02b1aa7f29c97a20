// Times ZImgLoad.dll's conversions of a 640x480 picture, file to file as the
// program uses them: bitmap to JPEG (encode), JPEG to bitmap (decode) and,
// for the share that is file reading and writing, bitmap to bitmap; beside
// libjpeg-turbo's own cjpeg and djpeg on the same picture when their paths
// are given.
//   zimg_bench.exe [cjpeg.exe djpeg.exe]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/handles.h"
#include "bench_support.h"
#include "jpeg_codec.h"
#include "zimgload.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRuns = 60;

// A camera-like picture: smooth ramps with fine texture, 24-bit bottom-up
// rows (640 x 3 bytes need no padding).
std::vector<unsigned char> TestRows() {
  std::vector<unsigned char> out;
  out.reserve(static_cast<std::size_t>(kWidth) * 3 * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int texture = (x * 7 + y * 13) % 17;
      out.push_back(static_cast<unsigned char>(x * 200 / kWidth + texture));
      out.push_back(static_cast<unsigned char>(y * 200 / kHeight + texture));
      out.push_back(static_cast<unsigned char>((x + y) * 200 / (kWidth + kHeight) + texture));
    }
  }
  return out;
}

struct Entries {
  ZLoadImgFn load;
  ZSaveImgFn save;
};

// Median and best of kRuns conversions, reported as `key`; false when one
// fails.
bool Measure(const Entries& zimg, const char* label, const char* key, const std::string& from,
             const std::string& to, int format) {
  bool written = true;
  const bench::Summary times = bench::Time(kRuns, [&] {
    written = written && (zimg.save(zimg.load(from.c_str()), to.c_str(), format) & 0xFF) != 0;
  });
  if (!written) {
    std::printf("%s: conversion failed\n", label);
    return false;
  }
  std::printf("%-32s median %6.2f ms   best %6.2f ms\n", label, times.median, times.best);
  bench::PrintFigure(key, times.median);
  return true;
}

void ReportReference(const char* label, const char* key, const bench::PerPicture& time) {
  if (time.ms < 0) {
    std::printf("%-32s did not run\n", label);
    return;
  }
  std::printf("%-32s %6.2f ms per picture (without start-up)\n", label, time.ms);
  bench::PrintFigure(key, time.ms);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t folder[MAX_PATH];
  ::GetModuleFileNameW(nullptr, folder, MAX_PATH);
  std::wstring dir(folder);
  dir.erase(dir.find_last_of(L'\\') + 1);
  base::Module module(::LoadLibraryW((dir + L"ZImgLoad.dll").c_str()));
  if (!module) {
    std::printf("ZImgLoad.dll does not load from %ls\n", dir.c_str());
    return 1;
  }
  const Entries zimg{reinterpret_cast<ZLoadImgFn>(
                         reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ZLoadImg"))),
                     reinterpret_cast<ZSaveImgFn>(
                         reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ZSaveImg")))};

  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string stem =
      std::string(temp) + "zimg-bench-" + std::to_string(::GetCurrentProcessId());
  const std::string bmp = stem + ".bmp", jpg = stem + ".jpg", copy = stem + "-copy.bmp";
  const std::vector<unsigned char> rows = TestRows();
  if (!bench::WriteFileBytes(std::wstring(bmp.begin(), bmp.end()),
                             bench::BitmapFile(rows.data(), kWidth, kHeight))) {
    std::printf("cannot write %s\n", bmp.c_str());
    return 1;
  }
  std::printf("ZImgLoad.dll, %dx%d, %d runs, file to file\n", kWidth, kHeight, kRuns);
  const bool ok =
      Measure(zimg, "BMP -> JPEG (encode, q90)", "zimg.encode_ms", bmp, jpg, kZImgJpeg) &&
      Measure(zimg, "JPEG -> BMP (decode)", "zimg.decode_ms", jpg, copy, kZImgBmp) &&
      Measure(zimg, "BMP -> BMP (file I/O only)", "zimg.copy_ms", bmp, copy, kZImgBmp);
  ::DeleteFileA(bmp.c_str());
  ::DeleteFileA(jpg.c_str());
  ::DeleteFileA(copy.c_str());
  if (ok && argc > 2) {
    const bench::JpegReference reference =
        bench::TimeJpegTools(argv[1], argv[2], rows.data(), kWidth, kHeight, zimg::kJpegQuality);
    ReportReference("cjpeg -quality 90 (encode)", "zimg.cjpeg_ms", reference.encode);
    ReportReference("djpeg -bmp (decode)", "zimg.djpeg_ms", reference.decode);
  }
  return ok ? 0 : 1;
}

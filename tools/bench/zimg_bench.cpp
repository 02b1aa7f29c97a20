// Times ZImgLoad.dll's conversions of a 640x480 picture, file to file as the
// program uses them: bitmap to JPEG (encode), JPEG to bitmap (decode) and,
// for the share that is file reading and writing, bitmap to bitmap.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/handles.h"
#include "zimgload.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRuns = 60;

void PutU32(std::vector<unsigned char>& out, unsigned v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A camera-like picture: smooth ramps with fine texture, 24-bit bottom-up.
std::vector<unsigned char> TestBitmap() {
  const unsigned stride = kWidth * 3;
  std::vector<unsigned char> out{'B', 'M'};
  PutU32(out, 54 + stride * kHeight);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, kWidth);
  PutU32(out, kHeight);
  PutU32(out, 1 | 24 << 16);  // planes, bits per pixel
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
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

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Entries {
  ZLoadImgFn load;
  ZSaveImgFn save;
};

// Median and best of kRuns conversions; false when one fails.
bool Measure(const Entries& zimg, const char* label, const std::string& from, const std::string& to,
             int format) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    const int written = zimg.save(zimg.load(from.c_str()), to.c_str(), format) & 0xFF;
    ::QueryPerformanceCounter(&end);
    if (!written) {
      std::printf("%s: conversion failed\n", label);
      return false;
    }
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  std::printf("%-32s median %6.2f ms   best %6.2f ms\n", label, times[times.size() / 2], times[0]);
  return true;
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  ::GetModuleFileNameA(nullptr, folder, MAX_PATH);
  std::string dir(folder);
  dir.erase(dir.find_last_of('\\') + 1);
  base::Module module(::LoadLibraryA((dir + "ZImgLoad.dll").c_str()));
  if (!module) {
    std::printf("ZImgLoad.dll does not load from %s\n", dir.c_str());
    return 1;
  }
  const Entries zimg{
      reinterpret_cast<ZLoadImgFn>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ZLoadImg"))),
      reinterpret_cast<ZSaveImgFn>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), "ZSaveImg")))};

  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string stem = std::string(temp) + "zimg-bench-" + std::to_string(::GetCurrentProcessId());
  const std::string bmp = stem + ".bmp", jpg = stem + ".jpg", copy = stem + "-copy.bmp";
  {
    const std::vector<unsigned char> bytes = TestBitmap();
    base::FileHandle file(::CreateFileA(bmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      std::printf("cannot write %s\n", bmp.c_str());
      return 1;
    }
  }
  std::printf("ZImgLoad.dll, %dx%d, %d runs, file to file\n", kWidth, kHeight, kRuns);
  const bool ok = Measure(zimg, "BMP -> JPEG (encode, q90)", bmp, jpg, kZImgJpeg) &&
                  Measure(zimg, "JPEG -> BMP (decode)", jpg, copy, kZImgBmp) &&
                  Measure(zimg, "BMP -> BMP (file I/O only)", bmp, copy, kZImgBmp);
  ::DeleteFileA(bmp.c_str());
  ::DeleteFileA(jpg.c_str());
  ::DeleteFileA(copy.c_str());
  return ok ? 0 : 1;
}

// Reports how long a still takes at 640x480 from the Image press to the
// closed file, along the capture view's path: the frame copied out of the
// grabber's buffer, the I420 frame converted (for cameras that deliver
// I420), then the BMP written, or the JPEG made through ZImgLoad.dll;
// beside libjpeg-turbo's own cjpeg on the same frame when its path is given.
//
//   still_bench.exe [rounds [cjpeg.exe]]   (default 30 rounds)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "capturewin/still_file.h"
#include "core/i420.h"
#include "jpeg_codec.h"
#include "settings/settings_file.h"

namespace {

namespace fs = std::filesystem;
constexpr int kWidth = 640, kHeight = 480;
constexpr unsigned long kImageBytes = kWidth * 3 * kHeight;  // rows need no padding

// A frame buffer as the view keeps it: header, pixels, 100 spare bytes.
std::vector<unsigned char> FrameBuffer() {
  std::vector<unsigned char> frame(40 + kImageBytes + 100);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = kWidth;
  h.biHeight = kHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biSizeImage = kImageBytes;
  std::memcpy(frame.data(), &h, 40);
  return frame;
}

// A colourful camera picture in both of the camera's formats.
void FillPicture(std::vector<unsigned char>& rgb, std::vector<unsigned char>& i420) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* p = &rgb[static_cast<size_t>(y) * kWidth * 3 + x * 3];
      p[0] = static_cast<unsigned char>(x * 255 / kWidth);
      p[1] = static_cast<unsigned char>(y * 255 / kHeight);
      p[2] = static_cast<unsigned char>((x + y) & 0xFF);
      i420[static_cast<size_t>(y) * kWidth + x] = static_cast<unsigned char>((x ^ y) & 0xFF);
    }
  }
  for (size_t i = static_cast<size_t>(kWidth) * kHeight; i < i420.size(); ++i) {
    i420[i] = static_cast<unsigned char>(i * 7);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const fs::path folder = fs::path(temp) / L"lumora-still-bench";
  fs::remove_all(folder);
  fs::create_directories(folder);

  std::vector<unsigned char> grabbed(kImageBytes);
  std::vector<unsigned char> i420(core::I420FrameBytes(kWidth, kHeight));
  FillPicture(grabbed, i420);
  std::vector<unsigned char> buffer = FrameBuffer();
  std::vector<unsigned char> converted(buffer.size());
  const std::wstring program = settings::ProgramFolder();

  auto copyFrame = [&] { std::memcpy(buffer.data() + 40, grabbed.data(), grabbed.size()); };
  auto convert = [&] {
    std::memcpy(buffer.data() + 40, i420.data(), i420.size());
    core::ConvertI420ToDib24(buffer.data() + 40, buffer.size() - 40, kWidth, kHeight,
                             converted.data(), grabbed.size());
    std::memcpy(buffer.data() + 40, converted.data(), grabbed.size());
  };
  const std::wstring dir = folder.wstring();
  const bench::Summary bmp = bench::Time(rounds, [&] {
    copyFrame();
    capturewin::WriteBmpStill(buffer.data(), buffer.size(), dir);
  });
  const bench::Summary jpeg = bench::Time(rounds, [&] {
    copyFrame();
    capturewin::WriteJpegStill(buffer.data(), buffer.size(), dir, program, nullptr);
  });
  const bench::Summary i420Bmp = bench::Time(rounds, [&] {
    convert();
    capturewin::WriteBmpStill(buffer.data(), buffer.size(), dir);
  });
  const bench::Summary i420Only = bench::Time(rounds, convert);

  std::printf("still at %dx%d, %d rounds (best / median ms)\n", kWidth, kHeight, rounds);
  std::printf("  BMP          %7.2f / %7.2f\n", bmp.best, bmp.median);
  std::printf("  JPEG         %7.2f / %7.2f\n", jpeg.best, jpeg.median);
  std::printf("  I420 + BMP   %7.2f / %7.2f\n", i420Bmp.best, i420Bmp.median);
  std::printf("  I420 alone   %7.2f / %7.2f\n", i420Only.best, i420Only.median);
  bench::PrintFigure("still.bmp_ms", bmp.median);
  bench::PrintFigure("still.jpeg_ms", jpeg.median);
  bench::PrintFigure("still.i420_bmp_ms", i420Bmp.median);
  if (argc > 2) {
    const bench::PerPicture cjpeg =
        bench::TimeJpegTools(argv[2], L"", grabbed.data(), kWidth, kHeight, zimg::kJpegQuality)
            .encode;
    if (cjpeg.ms >= 0) {
      std::printf("  cjpeg -quality %d on the same frame: %.2f ms per frame\n", zimg::kJpegQuality,
                  cjpeg.ms);
      bench::PrintFigure("still.cjpeg_ms", cjpeg.ms);
    } else {
      std::puts("  cjpeg: did not run");
    }
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return 0;
}

// Times the lumjpeg compressor on a 640x480 camera frame at quality 75, as
// the recorder drives it (through the platform's codec service), beside
// libjpeg-turbo's own cjpeg on the same frame. cjpeg runs as a program, so
// it is given the frame stacked many times over and once alone; the
// difference, per extra copy, is its time per frame without its start-up.
//   codec_bench <path of cjpeg.exe>
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "driver_proc.h"
#include "mjpeg_codec.h"
#include "picture.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kRuns = 200;
constexpr DWORD kQuality = 7500;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<unsigned char> frame(simcam::FrameBytes(simcam::PixelFormat::Rgb24, kWidth, kHeight));
  simcam::DrawFrame(frame.data(), simcam::PixelFormat::Rgb24, kWidth, kHeight, 100);

  if (!::ICInstall(ICTYPE_VIDEO, lumjpeg::kFourcc, reinterpret_cast<LPARAM>(&lumjpeg::DriverProc),
                   nullptr, ICINSTALL_FUNCTION)) {
    std::fputs("codec_bench: could not install the codec\n", stderr);
    return 1;
  }
  HIC hic = ::ICOpen(ICTYPE_VIDEO, lumjpeg::kFourcc, ICMODE_COMPRESS);
  BITMAPINFOHEADER in{};
  in.biSize = sizeof in;
  in.biWidth = kWidth;
  in.biHeight = kHeight;
  in.biPlanes = 1;
  in.biBitCount = 24;
  in.biSizeImage = static_cast<DWORD>(frame.size());
  BITMAPINFOHEADER out{};
  if (!hic || ICCompressGetFormat(hic, &in, &out) != ICERR_OK ||
      ICCompressBegin(hic, &in, &out) != ICERR_OK) {
    std::fputs("codec_bench: the codec refused the frame\n", stderr);
    return 1;
  }
  std::vector<unsigned char> jpeg(ICCompressGetSize(hic, &in, &out));
  bool compressed = true;
  const bench::Summary times = bench::Time(kRuns, [&] {
    DWORD flags = 0, ckid = 0;
    compressed =
        compressed && ::ICCompress(hic, ICCOMPRESS_KEYFRAME, &out, jpeg.data(), &in, frame.data(),
                                   &ckid, &flags, 0, 0, kQuality, nullptr, nullptr) == ICERR_OK;
  });
  ICCompressEnd(hic);
  ::ICClose(hic);
  if (!compressed) return 1;
  std::printf(
      "lumjpeg  640x480 quality 75: %.3f ms per frame (median of %d, best %.3f), %lu bytes\n",
      times.median, kRuns, times.best, static_cast<unsigned long>(out.biSizeImage));
  bench::PrintFigure("codec.lumjpeg_ms", times.median);

  if (argc < 2) {
    std::puts("cjpeg: not given (codec_bench <path of cjpeg.exe>)");
    return 0;
  }
  const bench::PerPicture cjpeg =
      bench::TimeJpegTools(argv[1], L"", frame.data(), kWidth, kHeight, 75).encode;
  if (cjpeg.ms < 0) {
    std::puts("cjpeg: did not run");
    return 1;
  }
  std::printf(
      "cjpeg    640x480 quality 75: %.3f ms per frame (%d frames in one picture: %.1f ms, one "
      "frame: %.1f ms with start-up)\n",
      cjpeg.ms, cjpeg.stacked, cjpeg.stackedMs, cjpeg.oneMs);
  bench::PrintFigure("codec.cjpeg_ms", cjpeg.ms);
  return 0;
}

// Times the lumjpeg compressor on a 640x480 camera frame at quality 75, as
// the recorder drives it (through the platform's codec service), beside
// libjpeg-turbo's own cjpeg on the same frame. cjpeg runs as a program, so
// it is given the frame stacked many times over and once alone; the
// difference, per extra copy, is its time per frame without its start-up.
//   codec_bench <path of cjpeg.exe>
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver_proc.h"
#include "mjpeg_codec.h"
#include "picture.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kRuns = 200;
constexpr int kStack = 100;  // copies of the frame in cjpeg's big picture
constexpr DWORD kQuality = 7500;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void PutU32(std::vector<unsigned char>& out, unsigned v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A bitmap file of `copies` frames one above the other.
bool WriteStackedBmp(const std::wstring& path, const std::vector<unsigned char>& frame,
                     int copies) {
  std::vector<unsigned char> out{'B', 'M'};
  PutU32(out, static_cast<unsigned>(54 + frame.size() * copies));
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, kWidth);
  PutU32(out, static_cast<unsigned>(kHeight * copies));
  PutU32(out, 1 | 24 << 16);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  for (int i = 0; i < copies; ++i) out.insert(out.end(), frame.begin(), frame.end());
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok;
}

// Milliseconds of one cjpeg run, the best of a few; negative on failure.
double TimeCjpeg(const std::wstring& cjpeg, const std::wstring& input, const std::wstring& output) {
  double best = -1;
  for (int run = 0; run < 5; ++run) {
    std::wstring command =
        L"\"" + cjpeg + L"\" -quality 75 -outfile \"" + output + L"\" \"" + input + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi)) {
      return -1;
    }
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    ::QueryPerformanceCounter(&end);
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    if (code != 0) return -1;
    const double ms = Milliseconds(start, end);
    if (best < 0 || ms < best) best = ms;
  }
  return best;
}

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
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    DWORD flags = 0, ckid = 0;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    const DWORD result =
        ::ICCompress(hic, ICCOMPRESS_KEYFRAME, &out, jpeg.data(), &in, frame.data(), &ckid, &flags,
                     i, 0, kQuality, nullptr, nullptr);
    ::QueryPerformanceCounter(&end);
    if (result != ICERR_OK) return 1;
    times.push_back(Milliseconds(start, end));
  }
  ICCompressEnd(hic);
  ::ICClose(hic);
  std::printf(
      "lumjpeg  640x480 quality 75: %.3f ms per frame (median of %d, best %.3f), %lu bytes\n",
      Median(times), kRuns, *std::min_element(times.begin(), times.end()),
      static_cast<unsigned long>(out.biSizeImage));

  if (argc < 2) {
    std::puts("cjpeg: not given (codec_bench <path of cjpeg.exe>)");
    return 0;
  }
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring one = std::wstring(temp) + L"codec_bench_1.bmp";
  const std::wstring many = std::wstring(temp) + L"codec_bench_n.bmp";
  const std::wstring jpegFile = std::wstring(temp) + L"codec_bench.jpg";
  if (!WriteStackedBmp(one, frame, 1) || !WriteStackedBmp(many, frame, kStack)) return 1;
  const double single = TimeCjpeg(argv[1], one, jpegFile);
  const double stacked = TimeCjpeg(argv[1], many, jpegFile);
  ::DeleteFileW(one.c_str());
  ::DeleteFileW(many.c_str());
  ::DeleteFileW(jpegFile.c_str());
  if (single < 0 || stacked < 0) {
    std::puts("cjpeg: did not run");
    return 1;
  }
  std::printf(
      "cjpeg    640x480 quality 75: %.3f ms per frame (%d frames in one picture: %.1f ms, one "
      "frame: %.1f ms with start-up)\n",
      (stacked - single) / (kStack - 1), kStack, stacked, single);
  return 0;
}

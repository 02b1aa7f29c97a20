// Recording benchmark: 640x480 24-bit frames handed to the AVI recorder by a
// 33 ms tick, as the capture view does, for 20 seconds of a 30 fps clip.
// Reports frames written and dropped, the write throughput and the processor
// time per frame; then the same frames written back to back, which shows how
// much room the tick leaves.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "recorder/avi_recorder.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr DWORD kImage = kWidth * 3 * kHeight;

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

double NowMs() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

BITMAPINFOHEADER Header() {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = kWidth;
  h.biHeight = kHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biSizeImage = kImage;
  return h;
}

// Records `seconds` of clip; `paced` waits for a 33 ms tick between frames,
// otherwise a simulated clock advances 34 ms per frame with no waiting.
void Run(const std::wstring& path, int seconds, bool paced) {
  DWORD simulated = 1;
  recorder::AviRecorder rec(paced ? recorder::AviRecorder::Clock(&::timeGetTime)
                                  : recorder::AviRecorder::Clock([&] { return simulated; }));
  rec.SetSettingsPath(std::filesystem::path(path).replace_filename(L"none.ini").wstring());
  if (rec.Open(path) != recorder::kAviOk ||
      rec.CreateVideoStream(Header(), 30, 1) != recorder::kAviOk) {
    std::printf("cannot create %ls\n", path.c_str());
    return;
  }
  std::vector<unsigned char> frame(kImage);
  rec.Start();
  ::timeBeginPeriod(1);
  const double start = NowMs();
  double cpu = 0, writeMs = 0;
  int handed = 0;
  for (double next = start; next - start < seconds * 1000.0; next += 33.0) {
    if (paced) {
      while (NowMs() < next) ::Sleep(1);
    } else {
      simulated += 34;
    }
    frame[handed % kImage] = static_cast<unsigned char>(handed);
    const double c0 = ThreadCpuMs(), t0 = NowMs();
    if (rec.WriteVideoFrame(frame.data(), kImage) != recorder::kAviOk) break;
    writeMs += NowMs() - t0;
    cpu += ThreadCpuMs() - c0;
    ++handed;
    if (!paced && simulated >= static_cast<DWORD>(seconds) * 1000) break;
  }
  const double elapsed = NowMs() - start;
  ::timeEndPeriod(1);
  const LONG written = rec.VideoSamples();
  const LONG dropped = rec.RewriteCount();
  const double mb = rec.TotalBytes() / 1048576.0;
  rec.Close();
  std::printf("%s: %d frames handed in %.1f s, %ld written, %ld dropped\n",
              paced ? "33 ms tick" : "back to back", handed, elapsed / 1000.0, written, dropped);
  std::printf(
      "  %.1f MB written, %.0f MB/s while writing, %.2f ms per write, "
      "%.2f ms processor time per frame\n",
      mb, writeMs > 0 ? mb / (writeMs / 1000.0) : 0.0, handed ? writeMs / handed : 0.0,
      handed ? cpu / handed : 0.0);
  std::filesystem::remove(path);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int seconds = argc > 1 ? _wtoi(argv[1]) : 20;
  if (FAILED(::CoInitialize(nullptr))) return 1;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"record_bench.avi";
  std::printf("AVI recorder, %dx%d 24-bit at 30 fps, %d s\n", kWidth, kHeight, seconds);
  Run(path, seconds, true);
  Run(path, seconds, false);
  ::CoUninitialize();
  return 0;
}

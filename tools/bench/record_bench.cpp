// Recording benchmark: 640x480 24-bit frames handed to the AVI recorder by a
// 33 ms tick, as the capture view does, for 20 seconds of a 30 fps clip.
// Reports frames written and dropped, the write throughput and the processor
// time per frame; then the same frames written back to back, which shows how
// much room the tick leaves; and, just before that, the same bytes written
// back to back with plain WriteFile calls, the most the disk gives this
// process.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "base/handles.h"
#include "bench_support.h"
#include "imaging/dib_bitmap.h"
#include "recorder/avi_recorder.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr DWORD kImage = kWidth * 3 * kHeight;


struct Recording {
  int handed = 0;
  LONG written = 0, dropped = 0, emptySlots = 0;
  double mb = 0, writeMs = 0, cpuMs = 0;
  double MbPerSecond() const { return writeMs > 0 ? mb / (writeMs / 1000.0) : 0.0; }
};

// The frame positions of a clip's video stream; 0 when it cannot be read.
LONG ClipLength(const std::wstring& path) {
  PAVIFILE file = nullptr;
  if (::AVIFileOpenW(&file, path.c_str(), OF_READ, nullptr) != AVIERR_OK) return 0;
  PAVISTREAM stream = nullptr;
  LONG length = 0;
  if (::AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
    length = ::AVIStreamLength(stream);
    ::AVIStreamRelease(stream);
  }
  ::AVIFileRelease(file);
  return length;
}

// Records `seconds` of clip; `paced` waits for a 33 ms tick between frames,
// otherwise a simulated clock advances 34 ms per frame with no waiting.
Recording Run(const std::wstring& path, int seconds, bool paced) {
  DWORD simulated = 1;
  recorder::AviRecorder rec(paced ? recorder::AviRecorder::Clock(&::timeGetTime)
                                  : recorder::AviRecorder::Clock([&] { return simulated; }));
  rec.SetSettingsPath(std::filesystem::path(path).replace_filename(L"none.ini").wstring());
  Recording r;
  if (rec.Open(path) != recorder::kAviOk ||
      rec.CreateVideoStream(imaging::Dib24Header(kWidth, kHeight), 30, 1) != recorder::kAviOk) {
    std::printf("cannot create %ls\n", path.c_str());
    return r;
  }
  std::vector<unsigned char> frame(kImage);
  rec.Start();
  ::timeBeginPeriod(1);
  const double start = bench::NowMs();
  for (double next = start; next - start < seconds * 1000.0; next += 33.0) {
    if (paced) {
      while (bench::NowMs() < next) ::Sleep(1);
    } else {
      simulated += 34;
    }
    frame[r.handed % kImage] = static_cast<unsigned char>(r.handed);
    const double c0 = bench::ThreadCpuMs(), t0 = bench::NowMs();
    if (rec.WriteVideoFrame(frame.data(), kImage) != recorder::kAviOk) break;
    r.writeMs += bench::NowMs() - t0;
    r.cpuMs += bench::ThreadCpuMs() - c0;
    ++r.handed;
    if (!paced && simulated >= static_cast<DWORD>(seconds) * 1000) break;
  }
  const double elapsed = bench::NowMs() - start;
  ::timeEndPeriod(1);
  r.written = rec.VideoSamples();
  r.dropped = rec.RewriteCount();
  r.mb = rec.TotalBytes() / 1048576.0;
  rec.Close();
  // A 33 ms tick meets a position of a 30 fps clip twice now and then, and
  // the second frame is dropped; a position that no tick met stays empty.
  r.emptySlots = ClipLength(path) - r.written;
  std::printf("%s: %d frames handed in %.1f s, %ld written, %ld dropped, %ld positions empty\n",
              paced ? "33 ms tick" : "back to back", r.handed, elapsed / 1000.0, r.written,
              r.dropped, r.emptySlots);
  std::printf(
      "  %.1f MB written, %.0f MB/s while writing, %.2f ms per write, "
      "%.2f ms processor time per frame\n",
      r.mb, r.MbPerSecond(), r.handed ? r.writeMs / r.handed : 0.0,
      r.handed ? r.cpuMs / r.handed : 0.0);
  std::filesystem::remove(path);
  return r;
}

// `frames` frames written with one WriteFile each into a new file; MB/s
// while writing, 0 when a write fails.
double RawWrites(const std::wstring& path, int frames) {
  std::vector<unsigned char> frame(kImage);
  double writeMs = 0;
  {
    const base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    for (int i = 0; i < frames; ++i) {
      frame[i % kImage] = static_cast<unsigned char>(i);
      DWORD done = 0;
      const double t0 = bench::NowMs();
      if (!::WriteFile(file.Get(), frame.data(), kImage, &done, nullptr) || done != kImage)
        return 0;
      writeMs += bench::NowMs() - t0;
    }
  }
  std::filesystem::remove(path);
  const double mb = static_cast<double>(frames) * kImage / 1048576.0;
  std::printf("plain WriteFile: %d frames, %.1f MB, %.0f MB/s while writing\n", frames, mb,
              writeMs > 0 ? mb / (writeMs / 1000.0) : 0.0);
  return writeMs > 0 ? mb / (writeMs / 1000.0) : 0.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int seconds = argc > 1 ? _wtoi(argv[1]) : 20;
  if (FAILED(::CoInitialize(nullptr))) return 1;
  const std::wstring path = bench::TempFolder() + L"record_bench.avi";
  std::printf("AVI recorder, %dx%d 24-bit at 30 fps, %d s\n", kWidth, kHeight, seconds);
  const Recording paced = Run(path, seconds, true);
  // Plain writes of as many frames just before the back-to-back recording,
  // so that both follow the removal of a clip of the same size (the disk's
  // write-back of one run slows whichever comes next).
  const double raw = RawWrites(bench::TempFolder() + L"record_bench.raw", seconds * 1000 / 34);
  const Recording burst = Run(path, seconds, false);
  ::CoUninitialize();
  bench::PrintFigure("record.paced_handed", paced.handed);
  bench::PrintFigure("record.paced_dropped", paced.dropped);
  bench::PrintFigure("record.paced_empty_slots", paced.emptySlots);
  bench::PrintFigure("record.cpu_ms_per_frame", paced.handed ? paced.cpuMs / paced.handed : 0.0);
  bench::PrintFigure("record.recorder_mb_s", burst.MbPerSecond());
  bench::PrintFigure("record.raw_mb_s", raw);
  return paced.handed > 0 ? 0 : 1;
}

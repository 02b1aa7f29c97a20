#pragma once
// What the benchmarks of tools/bench share: timing, the figure lines that
// tools/bench/all reads, bitmap files of a test picture, and the reference
// programs (libjpeg-turbo's cjpeg and djpeg) timed on the same picture.
#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Milliseconds on the performance counter, from an arbitrary start.
double NowMs();

// Processor time of the calling thread (user and kernel), in milliseconds.
double ThreadCpuMs();

struct Summary {
  double median = 0, best = 0, worst = 0;
};

// Median, best and worst of the times; zeros when there are none.
Summary Summarize(std::vector<double> ms);

// Times `rounds` calls of `step`.
template <class Step>
Summary Time(int rounds, Step step) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    const double start = NowMs();
    step();
    ms.push_back(NowMs() - start);
  }
  return Summarize(std::move(ms));
}

// "BENCH <key> <value>": one figure for tools/bench/all, beside the
// benchmark's own report.
void PrintFigure(const char* key, double value);

// A 24-bit bitmap file holding `copies` of a width x height picture one
// above the other; `rows` are its stored rows (bottom first, each padded to
// 4 bytes).
std::vector<unsigned char> BitmapFile(const unsigned char* rows, int width, int height,
                                      int copies = 1);

// Writes a whole file; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);

// Milliseconds of `command` from its start to its end, the best of `runs`;
// negative when it does not start or ends with a code other than 0.
double BestRunMs(const std::wstring& command, int runs = 5);

// A program's time per picture without its start-up: it is timed on one
// picture and on the picture stacked many times over; the difference, per
// extra copy, is its time per picture.
struct PerPicture {
  double ms = -1;        // per picture; negative when a run failed
  double oneMs = 0;      // one picture, start-up included
  double stackedMs = 0;  // `stacked` pictures in one
  int stacked = 0;
};

// libjpeg-turbo's cjpeg at `quality` and djpeg (to a bitmap) on the
// picture, file to file as ZImgLoad.dll works. An empty program path skips
// that half (its result stays negative).
struct JpegReference {
  PerPicture encode, decode;
};
JpegReference TimeJpegTools(const std::wstring& cjpeg, const std::wstring& djpeg,
                            const unsigned char* rows, int width, int height, int quality);

// Milliseconds of one memcpy of `bytes` between two buffers, the median of
// many.
double MemcpyMs(std::size_t bytes);

// The folder for a benchmark's scratch files, with a trailing backslash.
std::wstring TempFolder();

}  // namespace bench

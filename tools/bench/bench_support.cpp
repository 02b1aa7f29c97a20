#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "base/handles.h"
#include "core/bmp_file_header.h"

namespace bench {
namespace {

// Copies of the picture in the stacked input of a reference program: enough
// that its start-up (tens of milliseconds under Wine) stays small beside them.
constexpr int kStack = 100;

void PutU32(unsigned char* p, unsigned v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

PerPicture TimeProgram(const std::wstring& program, const std::wstring& options,
                       const std::wstring& one, const std::wstring& many,
                       const std::wstring& oneOut, const std::wstring& manyOut) {
  const auto command = [&](const std::wstring& in, const std::wstring& out) {
    return L"\"" + program + L"\" " + options + L" -outfile \"" + out + L"\" \"" + in + L"\"";
  };
  PerPicture result;
  result.stacked = kStack;
  result.oneMs = BestRunMs(command(one, oneOut));
  result.stackedMs = BestRunMs(command(many, manyOut));
  if (result.oneMs >= 0 && result.stackedMs >= 0)
    result.ms = (result.stackedMs - result.oneMs) / (kStack - 1);
  return result;
}

}  // namespace

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

Summary Summarize(std::vector<double> ms) {
  if (ms.empty()) return {};
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void PrintFigure(const char* key, double value) {
  std::printf("BENCH %s %.4f\n", key, value);
  std::fflush(stdout);
}

std::vector<unsigned char> BitmapFile(const unsigned char* rows, int width, int height,
                                      int copies) {
  const std::size_t picture = static_cast<std::size_t>((width * 3 + 3) & ~3) * height;
  const auto image = static_cast<std::uint32_t>(picture * copies);
  const auto fileHeader = core::BmpFileHeader(image);
  std::vector<unsigned char> out(core::kBmpPixelOffset, 0);
  std::copy(fileHeader.begin(), fileHeader.end(), out.begin());
  unsigned char* info = out.data() + fileHeader.size();
  PutU32(info, 40);
  PutU32(info + 4, static_cast<unsigned>(width));
  PutU32(info + 8, static_cast<unsigned>(height * copies));
  PutU32(info + 12, 1 | 24 << 16);  // planes, bits per pixel
  PutU32(info + 20, image);
  out.reserve(out.size() + image);
  for (int i = 0; i < copies; ++i) out.insert(out.end(), rows, rows + picture);
  return out;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
  return base::ReplaceFileWith(path, bytes);
}

double BestRunMs(const std::wstring& command, int runs) {
  double best = -1;
  for (int run = 0; run < runs; ++run) {
    std::wstring line = command;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowMs();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
      return -1;
    }
    const base::KernelHandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    const double ms = NowMs() - start;
    DWORD code = 1;
    if (!::GetExitCodeProcess(process.Get(), &code) || code != 0) return -1;
    if (best < 0 || ms < best) best = ms;
  }
  return best;
}

JpegReference TimeJpegTools(const std::wstring& cjpeg, const std::wstring& djpeg,
                            const unsigned char* rows, int width, int height, int quality) {
  JpegReference result;
  if (cjpeg.empty()) return result;
  const std::wstring stem =
      TempFolder() + L"jpeg-reference-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring oneBmp = stem + L"-1.bmp", manyBmp = stem + L"-n.bmp";
  const std::wstring oneJpg = stem + L"-1.jpg", manyJpg = stem + L"-n.jpg";
  const std::wstring outBmp = stem + L"-out.bmp";
  if (WriteFileBytes(oneBmp, BitmapFile(rows, width, height)) &&
      WriteFileBytes(manyBmp, BitmapFile(rows, width, height, kStack))) {
    result.encode = TimeProgram(cjpeg, L"-quality " + std::to_wstring(quality), oneBmp, manyBmp,
                                oneJpg, manyJpg);
    if (!djpeg.empty() && result.encode.ms >= 0)
      result.decode = TimeProgram(djpeg, L"-bmp", oneJpg, manyJpg, outBmp, outBmp);
  }
  for (const std::wstring* path : {&oneBmp, &manyBmp, &oneJpg, &manyJpg, &outBmp})
    ::DeleteFileW(path->c_str());
  return result;
}

double MemcpyMs(std::size_t bytes) {
  std::vector<unsigned char> from(bytes, 0x5A), to(bytes);
  // The first copies touch the pages; later ones are what a steady stream costs.
  for (int i = 0; i < 10; ++i) std::memcpy(to.data(), from.data(), bytes);
  const Summary s = Time(500, [&] {
    std::memcpy(to.data(), from.data(), bytes);
    from[bytes / 2] = to[bytes / 3];  // keeps the copy from being optimised away
  });
  return s.median;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = L"";
  const DWORD n = ::GetTempPathW(MAX_PATH, temp);
  return n > 0 && n < MAX_PATH ? std::wstring(temp, n) : L".\\";
}

}  // namespace bench

// Capture benchmark: the simulated camera at 640x480 and 30 frames per
// second through the capture graph and the frame grabber for a number of
// seconds (10 unless an argument says otherwise), with the capture view's
// 33 ms copy-out running as it does while recording. Reports frames
// delivered, frames kept by the grabber, copies per frame and the process's
// CPU time per frame, beside a plain memcpy of the same frame.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/handles.h"
#include "bench_support.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "picture.h"

namespace {

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

bool RunSimcamctl(const wchar_t* arguments) {
  std::wstring command = L"\"" + BinFolder() + L"simcamctl.exe\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    return false;
  }
  DWORD code = 1;
  if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return code == 0;
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return value(kernel) + value(user);
}

void Pump(DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  while (::GetTickCount64() < end) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// The simulated camera's own work per frame: drawing its 640x480 picture,
// which runs in this process on the camera's streaming thread.
double CameraDrawMs(uint8_t* frame) {
  constexpr int kRounds = 60;
  const double start = bench::NowMs();
  for (int i = 0; i < kRounds; ++i) {
    simcam::DrawFrame(frame, simcam::PixelFormat::Rgb24, 640, 480, static_cast<uint32_t>(i));
  }
  return (bench::NowMs() - start) / kRounds;
}

int Run(int seconds) {
  HWND frame = ::CreateWindowExW(0, L"STATIC", L"capture bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 680, 520, nullptr, nullptr, nullptr, nullptr);
  HWND preview = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                   640, 480, frame, nullptr, nullptr, nullptr);
  if (!capture::FindCamera()) return std::fputs("no camera\n", stderr), 1;
  DevGraphBuilder graph(nullptr, preview);
  if (FAILED(graph.InitCaptureFilters()) || FAILED(graph.BuildPreviewGraph())) {
    return std::fputs("no graph\n", stderr), 1;
  }
  const unsigned long bytes = 640 * 480 * 3;
  if (!graph.SetFormat(640, 480, bytes, 30)) return std::fputs("640x480 refused\n", stderr), 1;
  std::vector<unsigned char> latest(bytes), snapshot(bytes);
  graph.SetGrabBuffers(latest.data(), snapshot.data(), bytes);
  Pump(500);  // settle

  const auto& counters = graph.m_pFrameGrabber->Statistics();
  graph.CopyLatestFrame();
  const uint32_t firstNumber = simcam::ReadFrameNumber(latest.data(), simcam::PixelFormat::Rgb24);
  const unsigned long frames0 = counters.frames, kept0 = counters.kept, copies0 = counters.copies;
  const double cpu0 = CpuSeconds();
  const ULONGLONG start = ::GetTickCount64();
  unsigned long copyOuts = 0;
  while (::GetTickCount64() - start < static_cast<ULONGLONG>(seconds) * 1000) {
    Pump(33);
    graph.CopyLatestFrame();
    ++copyOuts;
  }
  const double wall = (::GetTickCount64() - start) / 1000.0;
  const double cpu = CpuSeconds() - cpu0;
  const uint32_t lastNumber = simcam::ReadFrameNumber(latest.data(), simcam::PixelFormat::Rgb24);
  const unsigned long frames = counters.frames - frames0;
  const unsigned long kept = counters.kept - kept0;
  const unsigned long copies = counters.copies - copies0;
  graph.FreeCaptureFilters();
  ::DestroyWindow(frame);

  std::printf("capture 640x480 at 30 frames per second for %.1f s\n", wall);
  std::printf("  frames delivered by the camera     %lu (%.1f per second; frame numbers %u..%u)\n",
              frames, frames / wall, firstNumber, lastNumber);
  std::printf("  frames kept by the grabber         %lu (%.1f%%)\n", kept,
              frames ? 100.0 * kept / frames : 0.0);
  std::printf("  grabber copies per frame           %.2f (plus %lu copy-outs by the view)\n",
              frames ? double(copies) / frames : 0.0, copyOuts);
  std::printf("  process CPU time per frame         %.3f ms (%.1f%% of one core)\n",
              frames ? cpu * 1000.0 / frames : 0.0, 100.0 * cpu / wall);
  const double memcpyMs = bench::MemcpyMs(bytes);
  std::printf("  memcpy of one frame                %.3f ms\n", memcpyMs);
  const double drawMs = CameraDrawMs(latest.data());
  std::printf("  the simulated camera drawing one   %.3f ms (a real camera's frames come drawn)\n",
              drawMs);
  bench::PrintFigure("capture.frames_per_second", frames / wall);
  bench::PrintFigure("capture.copies_per_frame", frames ? double(copies) / frames : 0.0);
  bench::PrintFigure("capture.cpu_ms_per_frame", frames ? cpu * 1000.0 / frames : 0.0);
  bench::PrintFigure("capture.cpu_percent", 100.0 * cpu / wall);
  bench::PrintFigure("capture.memcpy_ms", memcpyMs);
  bench::PrintFigure("capture.camera_draw_ms", drawMs);
  return frames > 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int seconds =
      argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10;
  base::ComScope com;
  if (!RunSimcamctl(L"install")) return std::fputs("simcamctl install failed\n", stderr), 1;
  const int result = Run(seconds);
  RunSimcamctl(L"uninstall");
  return result;
}

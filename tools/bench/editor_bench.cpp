// Times the picture editor on an 800 x 600 picture (the largest it changes):
// opening it (working copy, display bitmap, pixel buffer), a quarter turn,
// an effect round trip (the brightness plug-in's dialog opened and confirmed
// until the picture is made again from its result), and the file work of a
// save (the staging file written and copied over the target).
//
//   editor_bench.exe [rounds]   (default 20)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "app/lumora_app.h"
#include "base/file_io.h"
#include "bench_support.h"
#include "editor/main_frame.h"
#include "editor/working_copy.h"
#include "resource.h"
#include "settings/settings_file.h"

namespace {

namespace fs = std::filesystem;

void WritePicture(const fs::path& path, int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> file(54 + static_cast<std::size_t>(stride) * h);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
  BITMAPINFOHEADER ih{sizeof ih, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(file.data(), &fh, sizeof fh);
  std::memcpy(file.data() + 14, &ih, sizeof ih);
  for (std::size_t i = 54; i < file.size(); ++i) file[i] = static_cast<unsigned char>(i * 7 / 5);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  wchar_t cls[16] = L"";
  ::GetClassNameW(hwnd, cls, 16);
  if (::IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32770") == 0) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Runs the brightness command; its dialog.
HWND OpenEffect(CMainFrame& frame) {
  frame.RunEffect(Effect::kBrightness);
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  return dialog;
}

void ConfirmEffect(HWND dialog) {
  if (dialog) ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// Times `step` `rounds` times, each after an untimed `prepare`; `key`
// names the median for tools/bench/all.
void Report(const char* what, const char* key, int rounds, const std::function<void()>& prepare,
            const std::function<void()>& step) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    if (prepare) prepare();
    const double start = bench::NowMs();
    step();
    ms.push_back(bench::NowMs() - start);
  }
  const bench::Summary s = bench::Summarize(std::move(ms));
  std::printf("%-22s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", what, s.median, s.best,
              s.worst);
  bench::PrintFigure(key, s.median);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  g_strProgramFolder = settings::ProgramFolder();
  const fs::path folder = fs::temp_directory_path() / L"lumora_editor_bench";
  fs::create_directories(folder);
  const fs::path picture = folder / L"picture.bmp";
  WritePicture(picture, 800, 600);

  auto* frame = new CMainFrame;
  if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) return 1;
  theApp.m_pMainWnd = frame;
  std::printf("editor, 800 x 600, %d rounds\n", rounds);
  Report("open", "editor.open_ms", rounds, {}, [&] { frame->LoadEditFile(picture.wstring()); });
  Report("quarter turn", "editor.quarter_turn_ms", rounds, {}, [&] { frame->RotateImage(true); });
  // The round trip, and its two halves: the dialog shown (the previous
  // plug-in released, the undo picture kept, the plug-in's own set-up) and
  // OK until the picture is made again from the changed buffer.
  Report("effect round trip", "editor.effect_round_trip_ms", rounds, {},
         [&] { ConfirmEffect(OpenEffect(*frame)); });
  HWND dialog = nullptr;
  Report(
      " - dialog shown", "editor.effect_dialog_shown_ms", rounds, [&] { ConfirmEffect(dialog); },
      [&] { dialog = OpenEffect(*frame); });
  Report(
      " - OK to new picture", "editor.effect_ok_ms", rounds,
      [&] { ConfirmEffect(dialog), dialog = OpenEffect(*frame); },
      [&] { ConfirmEffect(std::exchange(dialog, nullptr)); });
  const std::wstring target = (folder / L"saved.bmp").wstring();
  Report("save (file work)", "editor.save_ms", rounds, {}, [&] {
    frame->WriteBitmapFile(frame->m_hCurBitmap.Get(), editor::StagingPath());
    base::ReplaceFileWithCopyOf(target, editor::StagingPath());
  });
  ::DestroyWindow(frame->m_hWnd);
  fs::remove_all(folder);
  return 0;
}

// Makes the pictures of the user guide from the real program: starts
// Lumora.exe with the simulated camera and a fresh Documents folder, takes
// stills and a clip, unplugs the camera, opens the editor, and shows each
// effect plug-in's dialog on a photo; at every step it saves the window
// that the guide shows as a bitmap:
//   help_shots.exe OUTPUT_FOLDER
// tools/help-shots runs it once per language and turns the bitmaps into
// small PNG files. A step whose window does not appear is left out.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;

fs::path g_output;

// Writes the screen area `rc` as a 24-bit bottom-up bitmap file.
bool SaveScreenArea(RECT rc, const std::wstring& name) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap && memory) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ok = ::BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY) != FALSE;
    ::GdiFlush();
    ::SelectObject(memory, old);
  }
  if (ok) {
    const DWORD stride = ((w * 24 + 31) / 32) * 4, size = stride * h;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    std::ofstream out(g_output / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    ok = static_cast<bool>(out);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::fprintf(stderr, "help_shots: %ls %s\n", name.c_str(), ok ? "saved" : "FAILED");
  return ok;
}

bool SaveWindow(HWND hwnd, const std::wstring& name) {
  if (!hwnd) {
    std::fprintf(stderr, "help_shots: %ls left out, no window\n", name.c_str());
    return false;
  }
  ::Sleep(600);  // let it finish painting
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  return SaveScreenArea(rc, name);
}

// The MDI child that holds the capture view.
HWND CaptureFrame(HWND main) {
  HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
  for (HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr; child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (CaptureView(child)) return child;
  }
  return nullptr;
}

// The MDI child whose splitter holds the album tree.
HWND AlbumFrame(HWND main) {
  HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
  for (HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr; child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (AlbumTree(child)) return child;
  }
  return nullptr;
}

void Capture(LumoraSession& lumora) {
  HWND main = lumora.WaitForMainWindow();
  HWND capture = nullptr, album = nullptr;
  if (!main || !WaitFor([&] { return (capture = CaptureFrame(main)) && (album = AlbumFrame(main)); }, 20s)) {
    std::fputs("help_shots: the standing windows did not appear\n", stderr);
    return;
  }
  HWND view = CaptureView(capture);
  const fs::path folder = lumora.Documents() / L"Lumora" / L"Default album";
  ::Sleep(2500);  // the camera's picture runs

  Press(view, IDC_IMAGE_BUTTON);
  WaitFor([&] { return fs::exists(folder / L"P0000001.BMP"); });
  ::Sleep(1500);
  Press(view, IDC_IMAGE_BUTTON);
  WaitFor([&] { return fs::exists(folder / L"P0000002.BMP"); });

  Press(view, IDC_VIDEO_BUTTON);
  if (WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); })) {
    ::Sleep(3200);
    SaveWindow(capture, L"recording");
    Press(view, IDC_RECORD_BUTTON);
    WaitFor([&] { return Visible(view, IDC_IMAGE_BUTTON) && fs::exists(folder / L"P0000001.AVI"); });
  }
  ::Sleep(1500);
  SaveWindow(main, L"main-window");
  SaveWindow(capture, L"capture-window");
  SaveWindow(album, L"album-window");

  // The countdown, read by the program at each press.
  const std::wstring settings = lumora.SettingsFile().wstring();
  ::WritePrivateProfileStringW(L"Setting", L"ImageDelayTime", L"9", settings.c_str());
  Press(view, IDC_IMAGE_BUTTON);
  if (auto box = lumora.WaitForDialog(5s)) {
    ::Sleep(1300);
    SaveWindow(box->hwnd, L"countdown");
    LumoraSession::Answer(*box, IDCANCEL);
  }
  ::WritePrivateProfileStringW(L"Setting", L"ImageDelayTime", L"0", settings.c_str());
  ::Sleep(1000);

  RunTool(L"simcamctl.exe unplug");
  if (auto box = lumora.WaitForDialog(10s)) {
    ::Sleep(500);
    SaveWindow(main, L"unplugged");
    LumoraSession::Answer(*box, IDOK);
  }
  RunTool(L"simcamctl.exe plug");
  if (auto box = lumora.WaitForDialog(10s)) LumoraSession::Answer(*box, IDOK);
  ::Sleep(1500);

  // The editor with the first picture.
  HWND list = FileList(album);
  HWND cell = nullptr;
  if (WaitFor([&] { return (cell = ::GetDlgItem(list, 2000)) && ::IsWindowVisible(cell); })) {
    const std::wstring before = WindowText(main);
    DoubleClickCell(cell);
    if (WaitFor([&] { return WindowText(main) != before && !CaptureFrame(main); })) {
      ::Sleep(1500);
      SaveWindow(main, L"editor");
    }
  }
}

// One plug-in's dialog on the photo, its slider released at `action`.
void Effect(const std::wstring& dll, const std::wstring& action, const std::wstring& name) {
  std::wstring command = L"\"" + BinFolder() + L"plugin_demo.exe\" " + dll + L" " + action + L" 8";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        BinFolder().c_str(), &si, &pi)) {
    std::fprintf(stderr, "help_shots: cannot start plugin_demo for %ls\n", dll.c_str());
    return;
  }
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid == pi.dwProcessId && ::IsWindowVisible(w) && ClassName(w) == L"#32770") dialog = w;
    }
    return dialog != nullptr;
  });
  ::Sleep(2000);  // the slider's release and the preview
  SaveWindow(dialog, name);
  ::TerminateProcess(pi.hProcess, 0);
  ::WaitForSingleObject(pi.hProcess, 5000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: help_shots OUTPUT_FOLDER\n", stderr);
    return 2;
  }
  g_output = argv[1];
  fs::create_directories(g_output);
  {
    LumoraSession lumora;
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
    lumora.Start();
    Capture(lumora);
    lumora.Close();
  }
  Effect(L"litefx.dll", L"190", L"effect-brightness");
  Effect(L"tonefx.dll", L"62", L"effect-contrast");
  Effect(L"edgefx.dll", L"process", L"effect-sharpness");
  Effect(L"tilefx.dll", L"10", L"effect-mosaic");
  Effect(L"warpfx.dll", L"150", L"effect-concave");
  return 0;
}

// Opens an album of mixed files (bitmaps, clips with and without sound, JPEG
// pictures, all written here) in the file list and reports how long the
// list takes to be shown, to paint every visible thumbnail, and each step
// of scrolling to the end: how long the list keeps the user waiting, and
// how long until every thumbnail of the new page is painted.
//
//   album_bench.exe [count] [folder]   (default 1000 files in a temporary folder)
//   album_bench.exe --make FOLDER N    only writes the files
#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>
#include <vfw.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "album/file_list_view.h"
#include "album/file_tree_view.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// A colourful w x h picture, bottom row first, 24 bits.
std::vector<BYTE> Picture(int w, int h, int seed) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> px(static_cast<std::size_t>(stride) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      BYTE* p = &px[static_cast<std::size_t>(y) * stride + x * 3];
      p[0] = static_cast<BYTE>((x * 255 / w + seed * 37) & 0xFF);
      p[1] = static_cast<BYTE>((y * 255 / h + seed * 11) & 0xFF);
      p[2] = static_cast<BYTE>(((x + y) * 128 / (w + h) + seed * 53) & 0xFF);
    }
  }
  return px;
}

BITMAPINFOHEADER Header(int w, int h) {
  return {sizeof(BITMAPINFOHEADER),
          w,
          h,
          1,
          24,
          BI_RGB,
          static_cast<DWORD>(((w * 3 + 3) & ~3) * h),
          0,
          0,
          0,
          0};
}

void WriteBitmap(const fs::path& p, int seed) {
  const int w = 320, h = 240;
  const std::vector<BYTE> px = Picture(w, h, seed);
  const BITMAPINFOHEADER bih = Header(w, h);
  BITMAPFILEHEADER bfh{0x4D42, static_cast<DWORD>(54 + px.size()), 0, 0, 54};
  FILE* f = _wfopen(p.c_str(), L"wb");
  if (!f) return;
  fwrite(&bfh, sizeof bfh, 1, f);
  fwrite(&bih, sizeof bih, 1, f);
  fwrite(px.data(), px.size(), 1, f);
  fclose(f);
}

void WriteClip(const fs::path& p, int seed, bool sound) {
  const int w = 160, h = 120, frames = 15;
  PAVIFILE file = nullptr;
  if (::AVIFileOpenW(&file, p.c_str(), OF_CREATE | OF_WRITE, nullptr) != 0) return;
  AVISTREAMINFOW si{};
  si.fccType = streamtypeVIDEO;
  si.dwScale = 1;
  si.dwRate = 15;
  si.rcFrame = {0, 0, w, h};
  PAVISTREAM video = nullptr;
  PAVISTREAM audio = nullptr;
  BITMAPINFOHEADER bih = Header(w, h);
  const bool haveVideo = ::AVIFileCreateStreamW(file, &video, &si) == 0 &&
                         ::AVIStreamSetFormat(video, 0, &bih, sizeof bih) == 0;
  // Both streams exist before the first write, as in a recorded clip.
  AVISTREAMINFOW ai{};
  ai.fccType = streamtypeAUDIO;
  ai.dwScale = 2;
  ai.dwRate = 22050 * 2;
  ai.dwSampleSize = 2;
  WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  const bool haveAudio = sound && ::AVIFileCreateStreamW(file, &audio, &ai) == 0 &&
                         ::AVIStreamSetFormat(audio, 0, &wf, sizeof wf) == 0;
  if (haveVideo) {
    // The first frame is a filler frame, as the recorder writes them.
    std::vector<BYTE> filler(bih.biSizeImage, 0);
    filler[1] = filler[3] = 0xFF;
    ::AVIStreamWrite(video, 0, 1, filler.data(), static_cast<LONG>(filler.size()), AVIIF_KEYFRAME,
                     nullptr, nullptr);
    for (int i = 1; i < frames; ++i) {
      std::vector<BYTE> px = Picture(w, h, seed + i);
      ::AVIStreamWrite(video, i, 1, px.data(), static_cast<LONG>(px.size()), AVIIF_KEYFRAME,
                       nullptr, nullptr);
    }
  }
  if (haveAudio) {
    std::vector<BYTE> silence(22050 * 2, 0);
    ::AVIStreamWrite(audio, 0, 22050, silence.data(), static_cast<LONG>(silence.size()), 0, nullptr,
                     nullptr);
  }
  if (audio) ::AVIStreamRelease(audio);
  if (video) ::AVIStreamRelease(video);
  ::AVIFileRelease(file);
}

bool JpegEncoder(CLSID& clsid) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (size == 0 || Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/jpeg") {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

void WriteJpeg(const fs::path& p, int seed, const CLSID& encoder) {
  const int w = 320, h = 240;
  std::vector<BYTE> px = Picture(w, h, seed);
  BITMAPINFO bi{};
  bi.bmiHeader = Header(w, h);
  Gdiplus::Bitmap bitmap(&bi, px.data());
  bitmap.Save(p.c_str(), &encoder, nullptr);
}

void MakeAlbum(const fs::path& folder, int count) {
  fs::create_directories(folder);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  CLSID jpeg{};
  const bool haveJpeg = JpegEncoder(jpeg);
  ::AVIFileInit();
  for (int i = 0; i < count; ++i) {
    wchar_t name[32];
    switch (i % 3) {
      case 0:
        swprintf(name, 32, L"P%07d.BMP", i);
        WriteBitmap(folder / name, i);
        break;
      case 1:
        swprintf(name, 32, L"P%07d.AVI", i);
        WriteClip(folder / name, i, (i / 3) % 2 == 1);
        break;
      default:
        swprintf(name, 32, L"P%07d.JPG", i);
        if (haveJpeg) WriteJpeg(folder / name, i, jpeg);
        break;
    }
  }
  ::AVIFileExit();
  Gdiplus::GdiplusShutdown(token);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Whether every cell on show has its thumbnail made (or found impossible).
bool VisibleThumbnailsMade(const CFileListView& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const ThumbnailCell& cell = list.Cell(i);
    if (cell.m_hWnd && ::IsWindowVisible(cell.m_hWnd) &&
        cell.State() != ThumbnailCell::ThumbnailState::kMade) {
      return false;
    }
  }
  return true;
}

// Lets the list work until the thumbnails on show are made and painted.
void PumpUntilVisibleThumbnails(const CFileListView& list) {
  while (!VisibleThumbnailsMade(list)) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
  ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--make") {
    MakeAlbum(argv[2], _wtoi(argv[3]));
    return 0;
  }
  const int count = argc > 1 ? _wtoi(argv[1]) : 1000;
  const fs::path folder =
      argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / L"lumora-album-bench";
  fs::remove_all(folder);
  auto made = Clock::now();
  MakeAlbum(folder, count);
  std::printf("album of %d files written in %.0f ms\n", count, Ms(made));

  ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  HWND host = ::CreateWindowExW(0, L"STATIC", L"Album bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 800, 600, nullptr, nullptr, nullptr, nullptr);
  auto* tree = new CFileTreeView;
  auto* list = new CFileListView;
  if (!host || !tree->CreateView(host, 1) || !list->CreateView(host, 2)) return 1;
  ::MoveWindow(list->m_hWnd, 0, 0, 780, 560, TRUE);

  for (core::DisplayMode mode :
       {core::DisplayMode::Large, core::DisplayMode::Small, core::DisplayMode::Details}) {
    list->ResetList(tree->DisplayMode());
    tree->SetDisplayMode(mode);
    list->ApplyModeStyle(mode);
    auto start = Clock::now();
    list->ShowAlbum(folder.wstring(), mode);
    const double shown = Ms(start);
    ::RedrawWindow(list->m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    PumpUntilVisibleThumbnails(*list);
    const double painted = Ms(start);
    double worst = 0, total = 0;
    double worstPage = 0, totalPage = 0;
    int steps = 0;
    for (;;) {
      const int before = ::GetScrollPos(list->m_hWnd, SB_VERT);
      auto step = Clock::now();
      ::SendMessageW(list->m_hWnd, WM_VSCROLL, SB_PAGEDOWN, 0);
      ::RedrawWindow(list->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      Pump();
      const double ms = Ms(step);
      PumpUntilVisibleThumbnails(*list);
      const double page = Ms(step);
      if (::GetScrollPos(list->m_hWnd, SB_VERT) == before) break;
      worst = ms > worst ? ms : worst;
      total += ms;
      worstPage = page > worstPage ? page : worstPage;
      totalPage += page;
      ++steps;
    }
    std::printf(
        "mode %d: list shown %.0f ms, visible thumbnails painted %.0f ms, "
        "%d page steps to the end, %.1f ms average, %.1f ms worst\n",
        static_cast<int>(mode), shown, painted, steps, steps ? total / steps : 0.0, worst);
    std::printf("mode %d: page thumbnails painted %.1f ms average, %.1f ms worst\n",
                static_cast<int>(mode), steps ? totalPage / steps : 0.0, worstPage);
  }
  ::DestroyWindow(host);
  fs::remove_all(folder);
  ::CoUninitialize();
  return 0;
}

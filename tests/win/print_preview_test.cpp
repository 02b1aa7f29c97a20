// The print preview dialog as the program runs it: the picture's frame and
// the buttons laid out around the preview size, the dialog centred on the
// screen, and a file of a type it cannot print refused with a message
// without ending the program.
#include "editor/print_preview_dlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "box_answerer.h"
#include "solid_bmp.h"
#include "temp_folder.h"

#include "resource.h"

namespace {

namespace fs = std::filesystem;

BOOL CALLBACK FindPreviewWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDC_PRINT_PREVIEW_PRINT)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The preview window of this process, once it is up.
HWND FindPreview() {
  HWND found = nullptr;
  for (int i = 0; i < 500 && !found; ++i) {
    ::EnumWindows(FindPreviewWindow, reinterpret_cast<LPARAM>(&found));
    if (!found) ::Sleep(20);
  }
  return found;
}

RECT ClientRectOf(HWND dialog, int id) {
  RECT rc{};
  HWND control = ::GetDlgItem(dialog, id);
  ::GetWindowRect(control, &rc);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

struct SeenLayout {
  RECT frame{}, print{}, cancel{}, window{};
};

// Runs the preview of `path` and reads its layout before cancelling it.
SeenLayout PreviewLayoutOf(const fs::path& path) {
  SeenLayout seen;
  std::atomic<bool> found{false};
  std::thread watcher([&] {
    HWND dialog = FindPreview();
    if (!dialog) return;
    seen.frame = ClientRectOf(dialog, IDC_PRINT_PREVIEW_FRAME);
    seen.print = ClientRectOf(dialog, IDC_PRINT_PREVIEW_PRINT);
    seen.cancel = ClientRectOf(dialog, IDCANCEL);
    ::GetWindowRect(dialog, &seen.window);
    found = true;
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const INT_PTR result = editor::ShowPrintPreview(path.wstring());
  watcher.join();
  EXPECT_TRUE(found);
  EXPECT_EQ(result, IDCANCEL);
  return seen;
}

void ExpectRect(const RECT& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST(PrintPreview, ThePictureFrameAndTheButtonsFollowThePreviewSizeAndTheDialogIsCentred) {
  testing_win::TempFolder folder;
  testing_win::WriteSolidBmp(folder.Path() / L"big.bmp", 2048, 1536, 0x80);
  const SeenLayout big = PreviewLayoutOf(folder.Path() / L"big.bmp");
  // 639 x 479 inside a frame one pixel wider all round.
  ExpectRect(big.frame, 6, 6, 641, 481);
  const int bw = big.cancel.right - big.cancel.left;
  const int bh = big.cancel.bottom - big.cancel.top;
  ExpectRect(big.print, 639 - 2 * bw - 7, 479 + 14, bw, bh);
  ExpectRect(big.cancel, 639 - bw + 7, 479 + 14, bw, bh);
  const int width = big.window.right - big.window.left;
  const int height = big.window.bottom - big.window.top;
  EXPECT_EQ(width, 639 + 2 * ::GetSystemMetrics(SM_CXDLGFRAME) + 14);
  EXPECT_EQ(height, 479 + bh + 2 * ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION) + 21);
  EXPECT_EQ(big.window.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(big.window.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  // A small picture keeps its size; the buttons share the width.
  testing_win::WriteSolidBmp(folder.Path() / L"small.bmp", 60, 40, 0x80);
  const SeenLayout small = PreviewLayoutOf(folder.Path() / L"small.bmp");
  ExpectRect(small.frame, 6, 6, 62, 42);
  EXPECT_EQ(small.print.left, 2);
  EXPECT_EQ(small.print.right - small.print.left, 34);
  EXPECT_EQ(small.cancel.left, 38);
}

TEST(PrintPreview, AFileOfAnotherTypeIsRefusedWithAMessageAndTheProgramGoesOn) {
  testing_win::TempFolder folder;
  testing_win::WriteSolidBmp(folder.Path() / L"picture.png", 20, 20, 0x80);  // a bitmap, but named as no type it prints
  testing_win::BoxAnswerer answerer;
  EXPECT_EQ(editor::ShowPrintPreview((folder.Path() / L"picture.png").wstring()), IDCANCEL);
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{L"program don't support this format"});
  // Nothing asks the program to end.
  MSG msg;
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

}  // namespace

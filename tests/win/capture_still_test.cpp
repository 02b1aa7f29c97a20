// The capture window's Windows-side pieces: still files (BMP bytes, numbers,
// JPEG through ZImgLoad.dll and without it), free disk space, the button
// faces and the countdown dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "box_answerer.h"
#include "capturewin/button_faces.h"
#include "capturewin/countdown_dialog.h"
#include "capturewin/disk_space.h"
#include "capturewin/still_file.h"
#include "core/i420.h"
#include "picture.h"
#include "resource.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_win::BoxAnswerer;
using testing_win::TempFolder;

// A frame buffer as the capture view keeps it: header, pixels, 100 spare bytes.
std::vector<unsigned char> Frame(int width, int height) {
  const DWORD image = static_cast<DWORD>(((width * 24 + 31) / 32) * 4 * height);
  std::vector<unsigned char> frame(40 + image + 100);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biSizeImage = image;
  h.biXPelsPerMeter = h.biYPelsPerMeter = 1;
  std::memcpy(frame.data(), &h, 40);
  for (DWORD i = 0; i < image; ++i) frame[40 + i] = static_cast<unsigned char>(i * 7 + 3);
  return frame;
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(StillFile, BmpIsHeaderAndFrameUnderTheFirstFreeNumber) {
  TempFolder dir;
  const std::wstring folder = dir.Path().wstring();
  const auto frame = Frame(13, 5);  // rows of 39 bytes padded to 40
  const DWORD image = 40 * 5;

  const std::wstring first = capturewin::WriteBmpStill(frame.data(), frame.size(), folder);
  EXPECT_EQ(first, folder + L"\\P0000001.BMP");
  const auto bytes = ReadFile(first);
  ASSERT_EQ(bytes.size(), 14 + 40 + image);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(U32(bytes, 2), 14 + 40 + image);
  EXPECT_EQ(U32(bytes, 6), 0u);
  EXPECT_EQ(U32(bytes, 10), 54u);
  EXPECT_TRUE(std::equal(bytes.begin() + 14, bytes.end(), frame.begin()));
  EXPECT_FALSE(fs::exists(dir.Path() / "temp.bmp"));

  EXPECT_EQ(capturewin::WriteBmpStill(frame.data(), frame.size(), folder), folder + L"\\P0000002.BMP");
  EXPECT_EQ(capturewin::WriteBmpStill(frame.data(), frame.size(), folder), folder + L"\\P0000003.BMP");
  fs::remove(dir.Path() / "P0000002.BMP");
  EXPECT_EQ(capturewin::WriteBmpStill(frame.data(), frame.size(), folder), folder + L"\\P0000002.BMP");
}

TEST(StillFile, NoFrameOrNoFolderWritesNothing) {
  TempFolder dir;
  const std::wstring folder = dir.Path().wstring();
  auto frame = Frame(8, 8);
  EXPECT_EQ(capturewin::WriteBmpStill(nullptr, 0, folder), L"");
  EXPECT_EQ(capturewin::WriteBmpStill(frame.data(), 40 + 8 * 24 - 1, folder), L"");  // pixels cut short
  frame[14] = 8;  // 8 bits per pixel: not a frame buffer
  EXPECT_EQ(capturewin::WriteBmpStill(frame.data(), frame.size(), folder), L"");
  EXPECT_TRUE(fs::is_empty(dir.Path()));

  // A folder that cannot be written gives a name that does not exist, so the
  // file list reports it; nothing half-written is left under it.
  const auto good = Frame(8, 8);
  const std::wstring missing = folder + L"\\no\\such";
  const std::wstring name = capturewin::WriteBmpStill(good.data(), good.size(), missing);
  EXPECT_EQ(name, missing + L"\\P0000001.BMP");
  EXPECT_FALSE(fs::exists(name));
}

TEST(StillFile, JpegThroughTheImageLibrary) {
  TempFolder dir;
  const std::wstring folder = dir.Path().wstring();
  const auto frame = Frame(64, 48);
  BoxAnswerer boxes;
  const std::wstring name = capturewin::WriteJpegStill(frame.data(), frame.size(), folder,
                                                       settings::ProgramFolder(), nullptr);
  EXPECT_EQ(name, folder + L"\\P0000001.JPG");
  const auto bytes = ReadFile(name);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  EXPECT_FALSE(fs::exists(dir.Path() / "temp.BMP"));
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST(StillFile, JpegWithoutTheImageLibraryKeepsTheTemporaryBitmap) {
  TempFolder dir, programFolder;
  const std::wstring folder = dir.Path().wstring();
  const auto frame = Frame(16, 16);
  std::wstring name;
  std::vector<std::wstring> texts, captions;
  {
    BoxAnswerer boxes;
    name = capturewin::WriteJpegStill(frame.data(), frame.size(), folder,
                                      programFolder.Path().wstring() + L"\\", nullptr);
    texts = boxes.Texts();
    captions = boxes.Captions();
  }
  EXPECT_EQ(name, folder + L"\\P0000001.JPG");
  EXPECT_FALSE(fs::exists(name));
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], L"Failed to load transform module, program can't make jpeg image");
  EXPECT_NE(captions[0], L"Lumora");
  const auto temp = ReadFile(dir.Path() / "temp.BMP");
  ASSERT_EQ(temp.size(), 14 + 40 + 16u * 48);
  EXPECT_TRUE(std::equal(temp.begin() + 14, temp.end(), frame.begin()));
}

TEST(DiskSpace, MeasuresTheRootAndFailsWithMinusOne) {
  TempFolder dir;
  const int free = capturewin::DiskFreeMegabytes((dir.Path() / "clip.avi").wstring());
  EXPECT_GT(free, 0);
  EXPECT_EQ(capturewin::DiskFreeMegabytes(L"Q:\\no\\drive\\clip.avi"), -1);
}

// The simulated camera's I420 picture turned into the frame buffer's rows:
// its top line, which carries the frame number, becomes the last stored row
// (I420 rows run top down, the buffer's bottom up), and the colours follow
// the conversion formula.
TEST(I420Frames, SimulatedCameraPictureConvertsToTheRightColours) {
  const int w = 352, h = 288;
  std::vector<std::uint8_t> i420(simcam::FrameBytes(simcam::PixelFormat::I420, w, h));
  simcam::DrawFrame(i420.data(), simcam::PixelFormat::I420, w, h, 10);
  std::vector<std::uint8_t> dib(simcam::FrameBytes(simcam::PixelFormat::Rgb24, w, h));
  ASSERT_TRUE(core::ConvertI420ToDib24(i420.data(), i420.size(), w, h, dib.data(), dib.size()));
  EXPECT_EQ(simcam::ReadFrameNumber(&dib[static_cast<size_t>(h - 1) * w * 3], simcam::PixelFormat::Rgb24), 10u);
  auto at = [&](int x, int y) {
    const std::uint8_t* p = &dib[static_cast<size_t>(h - 1 - y) * w * 3 + x * 3];
    return std::vector<int>{p[0], p[1], p[2]};
  };
  // (100, 50): Y 95, U 110, V 80.
  EXPECT_EQ(at(100, 50), (std::vector<int>{63, 135, 27}));
  // (200, 100): Y 170, U 210, V 130; blue clamps.
  EXPECT_EQ(at(200, 100), (std::vector<int>{255, 140, 172}));
}

// Blue, green, red of every pixel of a bitmap, top row first.
std::vector<unsigned char> Pixels(HBITMAP bitmap, SIZE* size = nullptr) {
  BITMAP bm{};
  if (!::GetObjectW(bitmap, sizeof bm, &bm)) return {};
  if (size) *size = {bm.bmWidth, bm.bmHeight};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<unsigned char> bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4);
  base::WindowDc screen(nullptr);
  ::GetDIBits(screen.Get(), bitmap, 0, bm.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
  std::vector<unsigned char> bgr;
  for (size_t i = 0; i < bits.size(); i += 4) bgr.insert(bgr.end(), {bits[i], bits[i + 1], bits[i + 2]});
  return bgr;
}

TEST(ButtonFaces, LanguagePicksTheFacesAndGreenBecomesTheButtonFace) {
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(2052).image, 283u);
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(2052).video, 282u);
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(1028).image, 281u);
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(1028).video, 280u);
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(1033).image, 262u);
  EXPECT_EQ(capturewin::ButtonFaceIdsFor(0x0411).video, 263u);

  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  for (UINT id : {262u, 263u, 280u, 281u, 282u, 283u}) {
    base::Bitmap bitmap = capturewin::LoadButtonFace(id);
    ASSERT_TRUE(bitmap) << id;
    SIZE size{};
    const auto bgr = Pixels(bitmap.Get(), &size);
    EXPECT_EQ(size.cx, 150) << id;
    EXPECT_EQ(size.cy, 50) << id;
    int green = 0;
    for (size_t i = 0; i < bgr.size(); i += 3) green += bgr[i] == 0 && bgr[i + 1] == 255 && bgr[i + 2] == 0;
    EXPECT_EQ(green, 0) << id;
    EXPECT_EQ(RGB(bgr[2], bgr[1], bgr[0]), face) << id;  // the top-left corner
  }
  base::Bitmap settings(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SETTINGS_BUTTON)));
  SIZE size{};
  Pixels(settings.Get(), &size);
  EXPECT_EQ(size.cx, 30);
  EXPECT_EQ(size.cy, 30);
}

// Runs the countdown modally and notes every change of the two digits,
// sampled by a timer of this thread; `cancelAfter` presses Cancel once that
// many digit pairs were seen.
struct CountdownRun {
  std::vector<std::pair<int, int>> shown;
  INT_PTR result = 0;
};

// What the sampling timer works with while the dialog runs.
struct Sampling {
  std::vector<std::vector<unsigned char>> digits;
  CountdownRun* run = nullptr;
  size_t cancelAt = 0;
};
Sampling g_sampling;

BOOL CALLBACK FindCountdown(HWND w, LPARAM p) {
  if (::GetDlgItem(w, IDC_COUNT_TENS)) *reinterpret_cast<HWND*>(p) = w;
  return TRUE;
}

int DigitShown(HWND dialog, int control) {
  const auto image =
      reinterpret_cast<HBITMAP>(::SendDlgItemMessageW(dialog, control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!image) return -1;
  const auto pixels = Pixels(image);
  for (int d = 0; d < 10; ++d) {
    if (pixels == g_sampling.digits[d]) return d;
  }
  return -1;
}

void CALLBACK SampleCountdown(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindCountdown, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  const std::pair<int, int> now{DigitShown(dialog, IDC_COUNT_TENS), DigitShown(dialog, IDC_COUNT_UNITS)};
  if (now.second < 0) return;  // closing
  auto& shown = g_sampling.run->shown;
  if (shown.empty() || shown.back() != now) shown.push_back(now);
  if (shown.size() == g_sampling.cancelAt) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

CountdownRun RunCountdown(int delay, size_t cancelAfter) {
  g_sampling.digits.clear();
  for (int d = 0; d < 10; ++d) {
    base::Bitmap bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_DIGIT_0 + d)));
    g_sampling.digits.push_back(Pixels(bitmap.Get()));
  }
  CountdownRun result;
  g_sampling.run = &result;
  g_sampling.cancelAt = cancelAfter;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, SampleCountdown);
  CCountdownDlg dialog(nullptr, delay);
  result.result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  return result;
}

TEST(CountdownDialog, CountsDownAndClosesByItself) {
  const CountdownRun run = RunCountdown(2, 0);
  EXPECT_EQ(run.shown, (std::vector<std::pair<int, int>>{{0, 2}, {0, 1}}));
  EXPECT_EQ(run.result, IDCANCEL);
}

TEST(CountdownDialog, CancelEndsItAtOnce) {
  const CountdownRun run = RunCountdown(12, 1);
  EXPECT_EQ(run.shown, (std::vector<std::pair<int, int>>{{1, 2}}));
  EXPECT_EQ(run.result, IDCANCEL);
}

}  // namespace

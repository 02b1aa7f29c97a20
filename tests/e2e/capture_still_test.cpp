// Stills from the capture window as a user takes them: the Image button
// writes numbered bitmaps holding the frame of the press, JPEG pictures
// through ZImgLoad.dll (and what happens without it), the countdown before
// the still, and the window layout of each live-video size.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "capture_window.h"
#include "lumora_session.h"
#include "picture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kImageButton = 1006, kVideoButton = 1005, kSettingsButton = 1007, kPreviewArea = 1173;
constexpr int kCountTens = 1172, kCountUnits = 1173;
constexpr size_t kFrameBytes = 352 * 288 * 3;

std::uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A whole file that exists: the program renames complete files into place.
bool WaitForFile(const fs::path& path, std::chrono::milliseconds limit = 10s) {
  return WaitFor([&] { return fs::exists(path); }, limit);
}

void SetValue(const LumoraSession& lumora, const char* key, const char* value) {
  ::WritePrivateProfileStringA("Setting", key, value, lumora.SettingsFile().string().c_str());
}

// A running program with the simulated camera at 352x288.
class StillCapture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0); }
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void Run(const std::string& settings = {}) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    HWND main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, L"Video - 352x288")) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    album = lumora.Documents() / "Lumora" / "Default album";
  }

  // The frame number a bitmap still holds, after checking that every byte of
  // the file is the simulated camera's picture of that frame.
  std::uint32_t CheckBitmapStill(const fs::path& path) {
    const auto bytes = ReadAll(path);
    EXPECT_EQ(bytes.size(), 54 + kFrameBytes);
    if (bytes.size() != 54 + kFrameBytes) return 0;
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32(bytes, 2), 54 + kFrameBytes);
    EXPECT_EQ(U32(bytes, 6), 0u);
    EXPECT_EQ(U32(bytes, 10), 54u);
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ(U32(bytes, 18), 352u);
    EXPECT_EQ(U32(bytes, 22), 288u);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(U32(bytes, 34), kFrameBytes);
    const std::uint32_t number = simcam::ReadFrameNumber(&bytes[54], simcam::PixelFormat::Rgb24);
    std::vector<std::uint8_t> expected(kFrameBytes);
    simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, 352, 288, number);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 54)) << path;
    return number;
  }

  LumoraSession lumora;
  HWND view = nullptr;
  fs::path album;
};

TEST_F(StillCapture, ImageWritesTheFrameAsTheFirstFreeNumberedBitmap) {
  Run();
  Press(view, kImageButton);
  ASSERT_TRUE(WaitForFile(album / "P0000001.BMP"));
  const std::uint32_t first = CheckBitmapStill(album / "P0000001.BMP");
  EXPECT_FALSE(fs::exists(album / "temp.bmp"));

  ::Sleep(200);  // a few frames later
  Press(view, kImageButton);
  ASSERT_TRUE(WaitForFile(album / "P0000002.BMP"));
  EXPECT_GT(CheckBitmapStill(album / "P0000002.BMP"), first);  // the frame of the later press
  Press(view, kImageButton);
  ASSERT_TRUE(WaitForFile(album / "P0000003.BMP"));
  fs::remove(album / "P0000002.BMP");
  Press(view, kImageButton);
  ASSERT_TRUE(WaitForFile(album / "P0000002.BMP"));
  CheckBitmapStill(album / "P0000002.BMP");
  EXPECT_FALSE(fs::exists(album / "P0000004.BMP"));
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// The picture of a JPEG file through the image library: BGR rows, bottom first.
std::vector<unsigned char> DecodeJpeg(const fs::path& jpeg, const fs::path& bmp, int* width, int* height) {
  HMODULE library = ::LoadLibraryW((BinFolder() + L"ZImgLoad.dll").c_str());
  if (!library) return {};
  using LoadFn = void*(WINAPI*)(const char*);
  using SaveFn = int(WINAPI*)(void*, const char*, int);
  const auto load = reinterpret_cast<LoadFn>(reinterpret_cast<void*>(::GetProcAddress(library, "ZLoadImg")));
  const auto save = reinterpret_cast<SaveFn>(reinterpret_cast<void*>(::GetProcAddress(library, "ZSaveImg")));
  const bool ok = load && save && (save(load(jpeg.string().c_str()), bmp.string().c_str(), 0) & 0xFF);
  ::FreeLibrary(library);
  if (!ok) return {};
  auto bytes = ReadAll(bmp);
  if (bytes.size() < 54) return {};
  *width = static_cast<int>(U32(bytes, 18));
  *height = static_cast<int>(U32(bytes, 22));
  return {bytes.begin() + 54, bytes.end()};
}

TEST_F(StillCapture, JpegFormatWritesAJpegOfTheFrame) {
  Run("[Setting]\r\nImageFormat=jpg\r\n");
  Press(view, kImageButton);
  const fs::path jpeg = album / "P0000001.JPG";
  ASSERT_TRUE(WaitForFile(jpeg));
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(album / "temp.BMP"); }));
  ASSERT_TRUE(lumora.Close());

  int width = 0, height = 0;
  const auto pixels = DecodeJpeg(jpeg, lumora.Documents() / "decoded.bmp", &width, &height);
  ASSERT_EQ(width, 352);
  ASSERT_EQ(height, 288);
  ASSERT_EQ(pixels.size(), kFrameBytes);
  const std::uint32_t number = simcam::ReadFrameNumber(pixels.data(), simcam::PixelFormat::Rgb24);
  std::vector<std::uint8_t> expected(kFrameBytes);
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, 352, 288, number);
  double error = 0;
  for (size_t i = 0; i < kFrameBytes; ++i) error += std::abs(int(pixels[i]) - int(expected[i]));
  EXPECT_LT(error / kFrameBytes, 4.0);
}

TEST_F(StillCapture, WithoutTheImageLibraryTheTemporaryBitmapStays) {
  const fs::path program = lumora.Documents().parent_path() / "program";
  fs::create_directories(program);
  fs::copy_file(BinFolder() + L"Lumora.exe", program / "Lumora.exe");
  lumora.SetProgramFolder(program);
  Run("[Setting]\r\nImageFormat=JPG\r\n");
  Press(view, kImageButton);

  auto box = lumora.WaitForDialog();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"Failed to load transform module, program can't make jpeg image");
  EXPECT_NE(box->caption, L"Lumora");
  ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
  box = lumora.WaitForDialog();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"Cannot find file " + (album / "P0000001.JPG").wstring() + L".");
  ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));

  EXPECT_FALSE(fs::exists(album / "P0000001.JPG"));
  CheckBitmapStill(album / "temp.BMP");
  ASSERT_TRUE(lumora.Close());
}

// The digit a countdown control shows on the screen, matched against the
// program's digit pictures; -1 for anything else.
class DigitReader {
 public:
  DigitReader() {
    HMODULE program = ::LoadLibraryExW((BinFolder() + L"Lumora.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int d = 0; d < 10 && program; ++d) {
      HBITMAP bitmap = ::LoadBitmapW(program, MAKEINTRESOURCEW(285 + d));
      HDC screen = ::GetDC(nullptr);
      m_digits.push_back(Bits(screen, bitmap));
      ::ReleaseDC(nullptr, screen);
      ::DeleteObject(bitmap);
    }
    if (program) ::FreeLibrary(program);
  }
  int Read(HWND control) const {
    RECT rc{};
    if (!::GetWindowRect(control, &rc)) return -1;
    HDC screen = ::GetDC(nullptr);
    HDC copy = ::CreateCompatibleDC(screen);
    HBITMAP shot = ::CreateCompatibleBitmap(screen, 48, 64);
    HGDIOBJ old = ::SelectObject(copy, shot);
    ::BitBlt(copy, 0, 0, 48, 64, screen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(copy, old);
    const auto bits = Bits(screen, shot);
    ::DeleteObject(shot);
    ::DeleteDC(copy);
    ::ReleaseDC(nullptr, screen);
    for (size_t d = 0; d < m_digits.size(); ++d) {
      if (m_digits[d] == bits) return static_cast<int>(d);
    }
    return -1;
  }

 private:
  static std::vector<unsigned char> Bits(HDC dc, HBITMAP bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 48;
    info.bmiHeader.biHeight = 64;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<unsigned char> bits(48 * 64 * 4);
    ::GetDIBits(dc, bitmap, 0, 64, bits.data(), &info, DIB_RGB_COLORS);
    for (size_t i = 3; i < bits.size(); i += 4) bits[i] = 0;
    return bits;
  }
  std::vector<std::vector<unsigned char>> m_digits;
};

// Waits for the countdown and notes the digits it shows until it closes.
std::vector<std::pair<int, int>> WatchCountdown(const LumoraSession& lumora, const fs::path& still) {
  std::vector<std::pair<int, int>> shown;
  const auto box = lumora.WaitForDialog(5s);
  EXPECT_TRUE(box.has_value());
  if (!box) return shown;
  EXPECT_EQ(box->caption, L"Please Waiting...");
  const DigitReader reader;
  WaitFor([&] {
    const std::pair<int, int> now{reader.Read(::GetDlgItem(box->hwnd, kCountTens)),
                                  reader.Read(::GetDlgItem(box->hwnd, kCountUnits))};
    if (now.first >= 0 && now.second >= 0 && (shown.empty() || shown.back() != now)) shown.push_back(now);
    // The dialog is gone before the file is written: a file seen while it
    // is still there was written too early.
    const bool written = fs::exists(still);
    const bool open = ::IsWindow(box->hwnd) != FALSE;
    EXPECT_FALSE(written && open) << "written before the countdown ended";
    return !open;
  }, 10s);
  return shown;
}

TEST_F(StillCapture, CountdownShowsThreeTwoOneThenWritesTheFrameOfThePress) {
  Run("[Setting]\r\nImageDelayTime=3\r\n");
  Press(view, kImageButton);
  const auto shown = WatchCountdown(lumora, album / "P0000001.BMP");
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{0, 3}, {0, 2}, {0, 1}}));
  ASSERT_TRUE(WaitForFile(album / "P0000001.BMP", 3s));
  const std::uint32_t pressed = CheckBitmapStill(album / "P0000001.BMP");

  // A still taken at once now is about three seconds (90 frames) later.
  SetValue(lumora, "ImageDelayTime", "0");
  Press(view, kImageButton);
  ASSERT_TRUE(WaitForFile(album / "P0000002.BMP"));
  EXPECT_GE(CheckBitmapStill(album / "P0000002.BMP"), pressed + 45);
  ASSERT_TRUE(lumora.Close());
}

TEST_F(StillCapture, CancelledCountdownStillWritesTheFile) {
  Run("[Setting]\r\nImageDelayTime=30\r\n");
  Press(view, kImageButton);
  const auto box = lumora.WaitForDialog();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"Please Waiting...");
  ASSERT_TRUE(LumoraSession::Answer(*box, IDCANCEL));
  ASSERT_TRUE(WaitForFile(album / "P0000001.BMP", 3s));
  CheckBitmapStill(album / "P0000001.BMP");
  ASSERT_TRUE(lumora.Close());
}

// The capture window for each live-video size: the frame's outer size, the
// preview area and the three buttons, in view pixels.
struct SizeCase {
  const char* size;
  SIZE frame;
  RECT preview;
  RECT image, video, settings;  // left, top, right, bottom
};

RECT Box(int x, int y, int cx, int cy) { return {x, y, x + cx, y + cy}; }

std::vector<LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(CaptureLayout, EachWindowSizeGivesItsFramePreviewAndButtons) {
  const SizeCase cases[] = {
      {"160x120", {352, 225}, {90, 0, 250, 120}, Box(0, 125, 150, 50), Box(155, 125, 150, 50), Box(305, 125, 30, 30)},
      {"176x144", {352, 250}, {80, 0, 256, 144}, Box(0, 149, 150, 50), Box(155, 149, 150, 50), Box(305, 149, 30, 30)},
      {"320x240", {352, 340}, {7, 0, 327, 240}, Box(0, 245, 150, 50), Box(155, 245, 150, 50), Box(305, 245, 30, 30)},
      {"352x288", {352, 390}, {0, 0, 352, 288}, Box(0, 293, 150, 50), Box(155, 293, 150, 50), Box(306, 293, 30, 30)},
      {"640x480", {640, 580}, {0, 0, 640, 480}, Box(152, 485, 150, 50), Box(307, 485, 150, 50), Box(457, 485, 30, 30)},
  };
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.size);
    LumoraSession lumora;
    lumora.WriteSettings(std::string("[Setting]\r\nInit=TRUE\r\nWindowSize=") + c.size +
                         "\r\nDeviceResolution=" + c.size + "\r\n");
    lumora.Start();
    HWND main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const std::wstring title = L"Video - " + std::wstring(c.size, c.size + 7);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, title)) != nullptr; }));
    RECT outer{};
    ::GetWindowRect(frame, &outer);
    EXPECT_EQ(outer.right - outer.left, c.frame.cx);
    EXPECT_EQ(outer.bottom - outer.top, c.frame.cy);
    HWND view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Edges(RectInParent(::GetDlgItem(view, kPreviewArea))), Edges(c.preview));
    EXPECT_EQ(Edges(RectInParent(::GetDlgItem(view, kImageButton))), Edges(c.image));
    EXPECT_EQ(Edges(RectInParent(::GetDlgItem(view, kVideoButton))), Edges(c.video));
    EXPECT_EQ(Edges(RectInParent(::GetDlgItem(view, kSettingsButton))), Edges(c.settings));
    ASSERT_TRUE(lumora.Close());
  }
  RunTool(L"simcamctl.exe uninstall");
}

}  // namespace
}  // namespace e2e

// The capture window where it used to lose or damage what it captured: a
// camera whose rows need padding (854x480), the camera going during the
// Video countdown, and a clip whose video stream cannot be made.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../win/avi_reader.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "picture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 854, kHeight = 480;
constexpr size_t kPaddedRow = 2564;  // 854 * 3 rounded up to 4 bytes
constexpr wchar_t kPluggedOut[] = L"The device is plugged out!";
constexpr wchar_t kPluggedIn[] = L"The device is plugged in!";
constexpr wchar_t kRecordingError[] =
    L"The file size is too big or there are some errors when capture video!";

// Whether `pixels` is exactly the simulated camera's frame that it names.
bool IsCameraFrame(const unsigned char* pixels, size_t bytes, int width, int height) {
  std::vector<unsigned char> expected(simcam::FrameBytes(simcam::PixelFormat::Rgb24, width, height));
  if (bytes != expected.size()) return false;
  const std::uint32_t number = simcam::ReadFrameNumber(pixels, simcam::PixelFormat::Rgb24);
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, width, height, number);
  return std::memcmp(pixels, expected.data(), bytes) == 0;
}

class CaptureSafety : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0); }
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void Run(const wchar_t* title, const std::string& settings = {}) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    HWND main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, title)) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    album = lumora.Documents() / "Lumora" / "Default album";
  }

  void Answer(const wchar_t* text) {
    const auto box = lumora.WaitForMessage(text);
    ASSERT_TRUE(box.has_value()) << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(box->caption, L"Lumora");
    ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
  }

  bool ButtonsBack() {
    return WaitFor(
        [&] { return Visible(view, IDC_VIDEO_BUTTON) && !Visible(view, IDC_RECORD_BUTTON); }, 10s);
  }

  LumoraSession lumora;
  HWND view = nullptr;
  fs::path album;
};

// A first start keeps the camera's own format; 854-pixel rows carry two
// bytes of padding that the frame buffers must hold.
TEST_F(CaptureSafety, PaddedRowsGiveWholeStillsAndClips) {
  ASSERT_EQ(RunTool(L"simcamctl.exe size 854x480"), 0);
  Run(L"Video - 854x480");
  EXPECT_EQ(lumora.Setting("Setting", "DeviceResolution"), "854x480");

  Press(view, IDC_IMAGE_BUTTON);
  const fs::path still = album / "P0000001.BMP";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(still); }));
  const auto bmp = ReadAll(still);
  ASSERT_EQ(bmp.size(), 54 + kPaddedRow * kHeight);
  EXPECT_TRUE(IsCameraFrame(&bmp[54], bmp.size() - 54, kWidth, kHeight));

  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ::Sleep(1500);
  Press(view, IDC_RECORD_BUTTON);
  ASSERT_TRUE(ButtonsBack());
  testing_win::AviFile avi;
  ASSERT_TRUE(WaitFor([&] { return (avi = testing_win::ReadAvi(album / "P0000001.AVI")).hasIndex; }));
  ASSERT_FALSE(avi.streams.empty());
  BITMAPINFOHEADER format{};
  ASSERT_GE(avi.streams[0].format.size(), sizeof format);
  std::memcpy(&format, avi.streams[0].format.data(), sizeof format);
  EXPECT_EQ(format.biWidth, kWidth);
  EXPECT_EQ(format.biSizeImage, kPaddedRow * kHeight);
  size_t frames = 0;
  for (const auto* chunk : avi.ChunksOf(0)) {
    if (chunk->data.empty()) continue;
    EXPECT_TRUE(IsCameraFrame(chunk->data.data(), chunk->data.size(), kWidth, kHeight)) << frames;
    ++frames;
  }
  EXPECT_GE(frames, 20u);
  ASSERT_TRUE(lumora.Close());
}

// A recording must not start without the camera: nothing could ever stop it.
TEST_F(CaptureSafety, CameraGoneDuringTheVideoCountdownStartsNoRecording) {
  Run(L"Video - 352x288", "[Setting]\r\nVideoDelayTime=2\r\n");
  Press(view, IDC_VIDEO_BUTTON);
  ::Sleep(300);
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  Answer(kPluggedOut);
  ::Sleep(2500);  // the countdown has ended
  EXPECT_TRUE(Visible(view, IDC_VIDEO_BUTTON));
  EXPECT_FALSE(Visible(view, IDC_RECORD_BUTTON));
  EXPECT_FALSE(fs::exists(album / "P0000001.AVI"));

  // With the camera back a recording starts and stops as usual.
  ASSERT_EQ(RunTool(L"simcamctl.exe plug"), 0);
  Answer(kPluggedIn);
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ::Sleep(500);
  Press(view, IDC_RECORD_BUTTON);
  EXPECT_TRUE(ButtonsBack());
  EXPECT_TRUE(WaitFor([&] { return testing_win::ReadAvi(album / "P0000001.AVI").hasIndex; }));
  ASSERT_TRUE(lumora.Close());
}

// Logging off during the countdown closes the windows under it: the press
// must not go on with a view that is gone.
TEST_F(CaptureSafety, EndOfTheSessionDuringTheCountdownEndsCleanly) {
  Run(L"Video - 352x288", "[Setting]\r\nVideoDelayTime=3\r\n");
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(lumora.WaitForDialog(5s).has_value());  // the countdown
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_ABORTIFHUNG, 5000, nullptr));
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_ABORTIFHUNG, 10000, nullptr));
  ASSERT_TRUE(lumora.WaitForExit());
  EXPECT_EQ(lumora.ExitCode(), 0u);
  EXPECT_FALSE(fs::exists(album / "P0000001.AVI"));
  EXPECT_EQ(DriverStatusReport(), 0x00000001u);
}

// A compressor record whose length field runs past its text leaves the
// clip without a video stream: the user is told and nothing records.
TEST_F(CaptureSafety, AClipWithoutAVideoStreamIsReportedAndNotRecorded) {
  std::string compress = "FF,41";  // length 65 in a 64-byte record
  for (int i = 1; i < 64; ++i) compress += ",00";
  Run(L"Video - 352x288", "[Setting]\r\nCompress=" + compress + "\r\n");
  Press(view, IDC_VIDEO_BUTTON);
  Answer(kRecordingError);
  EXPECT_TRUE(ButtonsBack());
  EXPECT_FALSE(Visible(view, IDC_RECORD_STATUS));
  EXPECT_FALSE(fs::exists(album / "P0000001.AVI"));
  EXPECT_NE(lumora.Setting("Setting", "Index"), "1");
  ASSERT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e

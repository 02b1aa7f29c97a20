// The capture window where it used to lose or damage what it captured: a
// camera whose rows need padding (854x480), the camera going during a
// countdown or a recording with sound, a full disk under a still, and a
// clip whose video stream cannot be made.
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

  // Waits for the message `text`, captioned `caption` unless that is null.
  void Answer(const std::wstring& text, const wchar_t* caption = L"Lumora") {
    const auto box = lumora.WaitForMessage(text);
    ASSERT_TRUE(box.has_value()) << testing::PrintToString(text);
    if (caption) {
      EXPECT_EQ(box->caption, caption);
    }
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

// The still is the frame of the press: the camera going during the
// countdown does not lose it, and stills go on once it is back.
TEST_F(CaptureSafety, CameraGoneDuringTheStillCountdownKeepsTheFrameOfThePress) {
  Run(L"Video - 352x288", "[Setting]\r\nImageDelayTime=2\r\n");
  Press(view, IDC_IMAGE_BUTTON);
  ASSERT_TRUE(lumora.WaitForDialogTitled(L"Please Waiting..."));
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  Answer(kPluggedOut);
  const fs::path first = album / "P0000001.BMP";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(first); }, 5s));
  const auto bmp = ReadAll(first);
  ASSERT_EQ(bmp.size(), 54u + 352 * 288 * 3);
  EXPECT_TRUE(IsCameraFrame(&bmp[54], bmp.size() - 54, 352, 288));
  EXPECT_FALSE(fs::exists(album / "temp.bmp"));

  ASSERT_EQ(RunTool(L"simcamctl.exe plug"), 0);
  Answer(kPluggedIn);
  Press(view, IDC_IMAGE_BUTTON);
  const fs::path second = album / "P0000002.BMP";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(second); }, 10s));
  const auto again = ReadAll(second);
  ASSERT_EQ(again.size(), bmp.size());
  EXPECT_TRUE(IsCameraFrame(&again[54], again.size() - 54, 352, 288));
  EXPECT_EQ(ReadAll(first), bmp);
  ASSERT_TRUE(lumora.Close());
}

// The sound goes on arriving while the camera goes: the clip is closed
// whole with both streams, and the next recording after the camera's
// return is a clip of its own. (Frames follow the sound written, which
// comes in large buffers: a short clip holds few of them.)
TEST_F(CaptureSafety, CameraGoneDuringARecordingWithSoundLeavesAWholeClip) {
  Run(L"Video - 352x288", "[Setting]\r\nCaptureAudio=TRUE\r\n");
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ::Sleep(3000);
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  Answer(kPluggedOut);
  ASSERT_TRUE(ButtonsBack());
  EXPECT_FALSE(lumora.WaitForDialog(1s).has_value());  // no recording error behind it
  const auto check = [&](const fs::path& clip) {
    const testing_win::AviFile avi = testing_win::ReadAvi(clip);
    ASSERT_TRUE(avi.hasIndex) << clip;
    ASSERT_EQ(avi.streams.size(), 2u) << clip;
    size_t frames = 0;
    for (const auto* chunk : avi.ChunksOf(0)) {
      if (chunk->data.empty()) continue;
      EXPECT_TRUE(IsCameraFrame(chunk->data.data(), chunk->data.size(), 352, 288)) << frames;
      ++frames;
    }
    EXPECT_GE(frames, 1u) << clip;
  };
  check(album / "P0000001.AVI");
  EXPECT_EQ(lumora.Setting("Setting", "Index"), "1");

  ASSERT_EQ(RunTool(L"simcamctl.exe plug"), 0);
  Answer(kPluggedIn);
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ::Sleep(3000);
  Press(view, IDC_RECORD_BUTTON);
  ASSERT_TRUE(ButtonsBack());
  ASSERT_TRUE(WaitFor([&] { return testing_win::ReadAvi(album / "P0000002.AVI").hasIndex; }));
  check(album / "P0000002.AVI");
  check(album / "P0000001.AVI");
  ASSERT_TRUE(lumora.Close());
}

// A still on a full disk: no part of a picture is left under a picture's
// name, the message names the file that could not be written, the stills
// taken before stay whole, and once there is room again stills go on.
TEST_F(CaptureSafety, AFullDiskLosesNoStillAndLeavesNoPartOfOne) {
  if (::GetDriveTypeW(L"S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small disk S: (needs root)";
  const fs::path folder = "S:\\lumora-stills";
  fs::remove_all(folder);
  fs::create_directories(folder);
  Run(L"Video - 352x288", "[Setting]\r\nCapturedImageFilePath=" + folder.string() + "\r\n");
  Press(view, IDC_IMAGE_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "P0000001.BMP"); }));
  const auto kept = ReadAll(folder / "P0000001.BMP");
  ASSERT_EQ(kept.size(), 54u + 352 * 288 * 3);

  // Room for the temporary bitmap of a JPEG still and one page more: the
  // JPEG file itself does not fit.
  const fs::path filler = folder / "filler.bin";
  const auto fill = [&](ULONGLONG leave) {
    ULARGE_INTEGER free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"S:\\", &free, nullptr, nullptr));
    std::ofstream out(filler, std::ios::binary | std::ios::app);
    std::vector<char> block(4096, 0);
    for (ULONGLONG left = free.QuadPart - leave; left >= block.size(); left -= block.size()) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
  };
  const ULONGLONG tempPages = (kept.size() + 4095) / 4096;
  fill((tempPages + 1) * 4096);
  ::WritePrivateProfileStringA("Setting", "ImageFormat", "JPG", lumora.SettingsFile().string().c_str());
  Press(view, IDC_IMAGE_BUTTON);
  Answer(L"Cannot find file " + (folder / "P0000001.JPG").wstring() + L".", nullptr);
  EXPECT_FALSE(fs::exists(folder / "P0000001.JPG"));
  const auto temp = ReadAll(folder / "temp.BMP");  // kept for the user, as without the library
  ASSERT_EQ(temp.size(), kept.size());
  EXPECT_TRUE(IsCameraFrame(&temp[54], temp.size() - 54, 352, 288));

  // No room for a bitmap still at all (the temporary bitmap thrown away,
  // whose room the next still's temporary file would take again).
  fs::remove(folder / "temp.BMP");
  fill(0);
  ::WritePrivateProfileStringA("Setting", "ImageFormat", "BMP", lumora.SettingsFile().string().c_str());
  Press(view, IDC_IMAGE_BUTTON);
  Answer(L"Cannot find file " + (folder / "P0000002.BMP").wstring() + L".", nullptr);
  EXPECT_FALSE(fs::exists(folder / "P0000002.BMP"));
  EXPECT_EQ(ReadAll(folder / "P0000001.BMP"), kept);

  fs::remove(filler);
  Press(view, IDC_IMAGE_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "P0000002.BMP"); }));
  const auto later = ReadAll(folder / "P0000002.BMP");
  ASSERT_EQ(later.size(), kept.size());
  EXPECT_TRUE(IsCameraFrame(&later[54], later.size() - 54, 352, 288));
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
  fs::remove_all(folder);
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

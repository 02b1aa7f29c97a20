// The camera going and coming back while Lumora runs, and stills from the
// camera's snapshot button: the notices (each once), the window title, the
// preview's return, a recording closed by the removal, and which presses
// of the button write a picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../win/avi_reader.h"
#include "footprint.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "picture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kImageButton = IDC_IMAGE_BUTTON, kVideoButton = IDC_VIDEO_BUTTON,
              kRecordButton = IDC_RECORD_BUTTON;
constexpr wchar_t kPluggedOut[] = L"The device is plugged out!";
constexpr wchar_t kPluggedIn[] = L"The device is plugged in!";

DWORD RegistryValue(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0xFFFFFFFF, size = sizeof value;
  ::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

class DevicePresence : public ::testing::Test {
 protected:
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void Install(const wchar_t* family = L"") {
    ASSERT_EQ(RunTool(std::wstring(L"simcamctl.exe install ") + family), 0);
  }

  // Starts Lumora and waits for the capture window titled `title`.
  void Run(const wchar_t* title = L"Video - 352x288", const std::string& settings = {}) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, title)) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    album = lumora.Documents() / "Lumora" / "Default album";
  }

  // Waits for the notice `text` captioned "Lumora", answers it and checks
  // that no second one follows.
  void ExpectNoticeOnce(const wchar_t* text) {
    const auto box = lumora.WaitForDialog();
    ASSERT_TRUE(box.has_value()) << "no notice: " << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->caption, L"Lumora");
    ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
    EXPECT_FALSE(lumora.WaitForDialog(500ms).has_value());
  }

  bool TitleIs(const wchar_t* title) {
    return WaitFor([&] { return WindowText(frame) == title; }, 5s);
  }

  LumoraSession lumora;
  HWND main = nullptr, frame = nullptr, view = nullptr;
  fs::path album;
};

TEST_F(DevicePresence, UnplugAndPlugAreAnnouncedOnceAndThePreviewComesBack) {
  Install();
  Run();
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
    ExpectNoticeOnce(kPluggedOut);
    EXPECT_TRUE(TitleIs(L"Video")) << round;
    ::Sleep(200);  // while unplugged the title stays plain
    EXPECT_EQ(WindowText(frame), L"Video");
    ASSERT_EQ(RunTool(L"simcamctl.exe plug"), 0);
    ExpectNoticeOnce(kPluggedIn);
    EXPECT_TRUE(TitleIs(L"Video - 352x288")) << round;
  }
  // The preview is live again: the Image button writes a still.
  Press(view, kImageButton);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(album / "P0000001.BMP"); }));
  ASSERT_TRUE(lumora.Close());
}

TEST_F(DevicePresence, AStartWithoutTheCameraIsQuietUntilItIsPluggedIn) {
  Install();
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  Run(L"Video");
  EXPECT_FALSE(lumora.WaitForDialog(1500ms).has_value());
  ASSERT_EQ(RunTool(L"simcamctl.exe plug"), 0);
  ExpectNoticeOnce(kPluggedIn);
  EXPECT_TRUE(TitleIs(L"Video - 352x288"));
  ASSERT_TRUE(lumora.Close());
}

TEST_F(DevicePresence, UnplugDuringRecordingClosesTheClipAtOnce) {
  Install();
  Run();
  Press(view, kVideoButton);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, kRecordButton); }, 5s));
  ::Sleep(1000);
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  ExpectNoticeOnce(kPluggedOut);
  EXPECT_TRUE(Visible(view, kVideoButton));
  EXPECT_FALSE(Visible(view, kRecordButton));
  const testing_win::AviFile avi = testing_win::ReadAvi(album / "P0000001.AVI");
  EXPECT_TRUE(avi.riff);
  EXPECT_TRUE(avi.hasIndex);
  ASSERT_FALSE(avi.streams.empty());
  EXPECT_GE(avi.ChunksOf(0).size(), 10u);
  EXPECT_EQ(lumora.Setting("Setting", "Index"), "1");
  ASSERT_TRUE(lumora.Close());
}

// The snapshot button's still: the marked frame as the next numbered
// bitmap; the driver's and the service's report values are cleared.
TEST_F(DevicePresence, SnapWritesTheMarkedFrameAndClearsTheReports) {
  Install();
  Run();
  ASSERT_EQ(RunTool(L"simcamctl.exe snap"), 0);
  const fs::path still = album / "P0000001.BMP";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(still); }, 5s));
  const auto bytes = ReadAll(still);
  ASSERT_EQ(bytes.size(), 54u + 352 * 288 * 3);
  EXPECT_TRUE(simcam::HasSnapshotMark(&bytes[54]));
  EXPECT_TRUE(WaitFor([] {
    return RegistryValue(simcam::kDriverKey, L"usb_snapshot_status") == 0 &&
           RegistryValue(L"SYSTEM\\CurrentControlSet\\Services\\Snapvisor\\QVC5520",
                         simcam::kServiceValue) == 0;
  }));
  EXPECT_FALSE(fs::exists(album / "P0000002.BMP"));
  ASSERT_TRUE(lumora.Close());
}

TEST_F(DevicePresence, SnapDuringRecordingOrFromAnUnknownCameraWritesNothing) {
  Install();
  Run();
  Press(view, kVideoButton);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, kRecordButton); }, 5s));
  ASSERT_EQ(RunTool(L"simcamctl.exe snap"), 0);
  ::Sleep(1000);
  Press(view, kRecordButton);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, kVideoButton); }, 5s));
  ::Sleep(500);
  EXPECT_FALSE(fs::exists(album / "P0000001.BMP"));
  ASSERT_TRUE(lumora.Close());

  ASSERT_EQ(RunTool(L"simcamctl.exe family generic"), 0);
  LumoraSession generic;
  generic.Start();
  HWND genericMain = generic.WaitForMainWindow();
  ASSERT_NE(genericMain, nullptr);
  ASSERT_TRUE(
      WaitFor([&] { return generic.FindChild(genericMain, L"Video - 352x288") != nullptr; }));
  ASSERT_EQ(RunTool(L"simcamctl.exe snap"), 0);
  ::Sleep(1500);
  EXPECT_FALSE(fs::exists(generic.Documents() / "Lumora" / "Default album" / "P0000001.BMP"));
  ASSERT_TRUE(generic.Close());
}

TEST_F(DevicePresence, EightHundredBySixHundredOnlyForTheFamilyThatOffersIt) {
  Install(L"qvc318");
  Run(L"Video - 640x480", "[Setting]\r\nInit=TRUE\r\nDeviceResolution=800x600\r\n");
  EXPECT_EQ(lumora.Setting("Setting", "DeviceResolution"), "640x480");
  ASSERT_TRUE(lumora.Close());

  ASSERT_EQ(RunTool(L"simcamctl.exe family qvc5520"), 0);
  LumoraSession big;
  big.WriteSettings("[Setting]\r\nInit=TRUE\r\nDeviceResolution=800x600\r\n");
  big.Start();
  HWND bigMain = big.WaitForMainWindow();
  ASSERT_NE(bigMain, nullptr);
  EXPECT_TRUE(WaitFor([&] { return big.FindChild(bigMain, L"Video - 800x600") != nullptr; }));
  EXPECT_EQ(big.Setting("Setting", "DeviceResolution"), "800x600");
  ASSERT_TRUE(big.Close());
}

}  // namespace
}  // namespace e2e

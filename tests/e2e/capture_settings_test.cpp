// The capture window's Settings dialog and its two sub-dialogs as a user
// meets them: frame and window sizes applied to the live picture at once,
// what OK stores and Cancel leaves alone, the countdown limit and the clip
// duration arrows, the lists without a camera, the camera's property page,
// and the compressor choice with the Motion-JPEG clips it gives.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <dshow.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../win/avi_reader.h"
#include "capture_window.h"
#include "clip_playback.h"
#include "core/compress_text.h"
#include "footprint.h"
#include "lumora_session.h"
#include "picture.h"
#include "settings_dialogs.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::wstring>;

constexpr wchar_t kDelayTooLong[] = L"Delay time should be less than 60 seconds!";
constexpr wchar_t kDisconnected[] = L"Device Disconnected";
constexpr wchar_t kRecordingError[] =
    L"The file size is too big or there are some errors when capture video!";
// The platform's compressor dialog: its title as the program sets it, and
// the list of compressors.
constexpr wchar_t kCompressionSettings[] = L"Compression Settings";
constexpr int kCompressorList = 880;
constexpr wchar_t kUncompressed[] = L"Full Frames (Uncompressed)";
constexpr DWORD kMjpg = mmioFOURCC('M', 'J', 'P', 'G');
// What keeps a 20-minute clip at 30 fps under 2,013,265,920 bytes.
constexpr size_t kMaxAverageFrameBytes = 55000;

class CaptureSettings : public ::testing::Test {
 protected:
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void Run(const wchar_t* title, const std::string& settings = {}) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, title)) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
  }

  HWND OpenSettings() {
    Press(view, IDC_SETTINGS_BUTTON);
    return lumora.WaitForDialogTitled(L"Settings");
  }

  // Opens a sub-dialog of the Settings dialog.
  HWND OpenFrom(HWND settings, int button, const wchar_t* title) {
    PressButton(settings, button);
    return lumora.WaitForDialogTitled(title);
  }

  bool Gone(HWND dialog) {
    return WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); });
  }

  // OK refused with the delay notice: the box is answered, the dialog stays.
  void ExpectDelayRefused(HWND dialog) {
    PressButton(dialog, IDOK);
    const auto box = lumora.WaitForMessage(kDelayTooLong);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Lumora");
    ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
    EXPECT_TRUE(::IsWindowVisible(dialog));
  }

  bool TitleBecomes(const wchar_t* title) {
    return WaitFor([&] { return lumora.FindChild(main, title) == frame; });
  }

  std::string Setting(const char* key) const {
    return lumora.Setting("Setting", key).value_or("<absent>");
  }

  LumoraSession lumora;
  HWND main = nullptr;
  HWND frame = nullptr;
  HWND view = nullptr;
};

// A smaller frame leaves only the window sizes up to it, and the capture
// window takes the size of its table at once; 800x600 on a camera of the
// QVC5520 family lists window sizes up to 640x480. OK stores both lists.
TEST_F(CaptureSettings, FrameAndWindowSizesApplyAtOnceAndOkStoresThem) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install qvc5520"), 0);
  Run(L"Video - 352x288");
  HWND dialog = OpenSettings();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ListItems(dialog, IDC_DEVICE_FRAME_LIST),
            (Items{L"160x120", L"176x144", L"320x240", L"352x288", L"640x480", L"800x600"}));
  EXPECT_EQ(ListSelection(dialog, IDC_DEVICE_FRAME_LIST), L"352x288");
  EXPECT_EQ(ListItems(dialog, IDC_WINDOW_LIST),
            (Items{L"160x120", L"176x144", L"320x240", L"352x288"}));
  EXPECT_EQ(ListSelection(dialog, IDC_WINDOW_LIST), L"352x288");

  ASSERT_TRUE(ChooseItem(dialog, IDC_DEVICE_FRAME_LIST, L"176x144"));
  EXPECT_EQ(ListItems(dialog, IDC_WINDOW_LIST), (Items{L"160x120", L"176x144"}));
  EXPECT_EQ(ListSelection(dialog, IDC_WINDOW_LIST), L"176x144");
  EXPECT_TRUE(TitleBecomes(L"Video - 176x144"));
  const SIZE small = OuterSize(frame);
  EXPECT_EQ(small.cx, 352);
  EXPECT_EQ(small.cy, 250);
  const RECT preview = RectInParent(::GetDlgItem(view, IDC_PREVIEW));
  EXPECT_EQ(preview.left, 80);
  EXPECT_EQ(preview.right, 256);
  EXPECT_EQ(preview.bottom, 144);

  ASSERT_TRUE(ChooseItem(dialog, IDC_DEVICE_FRAME_LIST, L"800x600"));
  EXPECT_EQ(ListItems(dialog, IDC_WINDOW_LIST),
            (Items{L"160x120", L"176x144", L"320x240", L"352x288", L"640x480"}));
  EXPECT_EQ(ListSelection(dialog, IDC_WINDOW_LIST), L"640x480");
  EXPECT_TRUE(TitleBecomes(L"Video - 800x600"));
  EXPECT_EQ(OuterSize(frame).cx, 640);
  EXPECT_EQ(OuterSize(frame).cy, 580);

  // A smaller window over the large frame: the window's table size.
  ASSERT_TRUE(ChooseItem(dialog, IDC_WINDOW_LIST, L"320x240"));
  EXPECT_EQ(OuterSize(frame).cx, 352);
  EXPECT_EQ(OuterSize(frame).cy, 340);
  EXPECT_EQ(Setting("WindowSize"), "352x288");  // nothing stored before OK

  PressButton(dialog, IDC_SETTINGS_OK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("WindowSize"), "320x240");
  EXPECT_EQ(Setting("DeviceResolution"), "800x600");
  EXPECT_EQ(OuterSize(frame).cy, 340);
  ASSERT_TRUE(lumora.Close());
}

// Cancel stores nothing and puts the stored frame and window size back.
TEST_F(CaptureSettings, CancelPutsTheStoredSizesBack) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  Run(L"Video - 352x288");
  HWND dialog = OpenSettings();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseItem(dialog, IDC_DEVICE_FRAME_LIST, L"160x120"));
  EXPECT_EQ(ListItems(dialog, IDC_WINDOW_LIST), (Items{L"160x120"}));
  EXPECT_TRUE(TitleBecomes(L"Video - 160x120"));
  EXPECT_EQ(OuterSize(frame).cy, 225);

  PressButton(dialog, IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_TRUE(TitleBecomes(L"Video - 352x288"));
  EXPECT_EQ(OuterSize(frame).cx, 352);
  EXPECT_EQ(OuterSize(frame).cy, 390);
  EXPECT_EQ(RectInParent(::GetDlgItem(view, IDC_PREVIEW)).right, 352);
  EXPECT_EQ(Setting("WindowSize"), "352x288");
  EXPECT_EQ(Setting("DeviceResolution"), "352x288");
  ASSERT_TRUE(lumora.Close());
}

TEST_F(CaptureSettings, WithoutACameraBothListsSayDisconnectedAndOkStoresNothing) {
  RunTool(L"simcamctl.exe uninstall");
  Run(L"Video");
  const std::string window = Setting("WindowSize"), resolution = Setting("DeviceResolution");
  HWND dialog = OpenSettings();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ListItems(dialog, IDC_DEVICE_FRAME_LIST), (Items{kDisconnected}));
  EXPECT_EQ(ListSelection(dialog, IDC_DEVICE_FRAME_LIST), kDisconnected);
  EXPECT_EQ(ListItems(dialog, IDC_WINDOW_LIST), (Items{kDisconnected}));
  EXPECT_EQ(ListSelection(dialog, IDC_WINDOW_LIST), kDisconnected);
  PressButton(dialog, IDC_SETTINGS_OK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("WindowSize"), window);
  EXPECT_EQ(Setting("DeviceResolution"), resolution);
  ASSERT_TRUE(lumora.Close());
}

// The still settings: a stored "jpg" opens as JPEG and is stored upper-
// cased; 61 seconds are refused with the dialog left open, 60 are stored;
// Cancel stores nothing.
TEST_F(CaptureSettings, StillSettingsStoreTheFormatAndAtMostAMinute) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  Run(L"Video - 352x288", "[Setting]\r\nImageFormat=jpg\r\nImageDelayTime=5\r\n");
  HWND settings = OpenSettings();
  ASSERT_NE(settings, nullptr);
  HWND dialog = OpenFrom(settings, IDC_IMAGE_SETTINGS, L"Capture Image Setting");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(OuterSize(dialog).cx, 270);
  EXPECT_EQ(OuterSize(dialog).cy, 170);
  EXPECT_EQ(RectInParent(::GetDlgItem(dialog, IDC_SAVE_JPEG)).top, 73);
  EXPECT_TRUE(Checked(dialog, IDC_SAVE_JPEG));
  EXPECT_FALSE(Checked(dialog, IDC_SAVE_BMP));
  EXPECT_EQ(FieldText(dialog, IDC_DELAY_TIME), L"5");
  EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_DELAY_TIME), EM_GETLIMITTEXT, 0, 0), 2);

  SetField(dialog, IDC_DELAY_TIME, L"61");
  ExpectDelayRefused(dialog);
  EXPECT_EQ(Setting("ImageDelayTime"), "5");
  SetField(dialog, IDC_DELAY_TIME, L"60");
  PressButton(dialog, IDOK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("ImageDelayTime"), "60");
  EXPECT_EQ(Setting("ImageFormat"), "JPG");
  const fs::path album = lumora.Documents() / "Lumora" / "Default album";
  EXPECT_EQ(fs::path(Setting("CapturedImageFilePath")), album);

  dialog = OpenFrom(settings, IDC_IMAGE_SETTINGS, L"Capture Image Setting");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_SAVE_BMP);
  SetField(dialog, IDC_DELAY_TIME, L"3");
  PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("ImageFormat"), "JPG");
  EXPECT_EQ(Setting("ImageDelayTime"), "60");

  dialog = OpenFrom(settings, IDC_IMAGE_SETTINGS, L"Capture Image Setting");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_SAVE_BMP);
  PressButton(dialog, IDOK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("ImageFormat"), "BMP");
  PressButton(settings, IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(Gone(settings));
  ASSERT_TRUE(lumora.Close());
}

// The clip settings: timed recording with its arrows (no lower limit going
// down, none below 0 going up), the delay limit, and timed recording off
// stored as "FALSE" with an empty duration.
TEST_F(CaptureSettings, ClipSettingsTimedRecordingAndDelay) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  Run(L"Video - 352x288");
  HWND settings = OpenSettings();
  ASSERT_NE(settings, nullptr);
  HWND dialog = OpenFrom(settings, IDC_VIDEO_SETTINGS, L"Capture Video Setting");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(OuterSize(dialog).cx, 270);
  EXPECT_EQ(OuterSize(dialog).cy, 230);
  EXPECT_EQ(RectInParent(::GetDlgItem(dialog, IDC_DURATION_DOWN)).top, 100);
  EXPECT_FALSE(Checked(dialog, IDC_CAPTURE_DURING_TIME));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DURATION)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DURATION_UP)));
  EXPECT_FALSE(Checked(dialog, IDC_CAPTURE_AUDIO));
  EXPECT_EQ(FieldText(dialog, IDC_FRAME_RATE), L"30");
  EXPECT_EQ(FieldText(dialog, IDC_DELAY_TIME), L"0");

  Click(dialog, IDC_CAPTURE_DURING_TIME);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"15");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DURATION_DOWN)));
  EXPECT_NE(::SendMessageW(::GetDlgItem(dialog, IDC_DURATION_UP), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  Click(dialog, IDC_DURATION_UP);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"16");
  SetField(dialog, IDC_DURATION, L"0");
  Click(dialog, IDC_DURATION_DOWN);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"-1");
  Click(dialog, IDC_DURATION_UP);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"0");
  SetField(dialog, IDC_DURATION, L"20");
  SetField(dialog, IDC_FRAME_RATE, L"15");
  Click(dialog, IDC_CAPTURE_AUDIO);

  SetField(dialog, IDC_DELAY_TIME, L"99");
  ExpectDelayRefused(dialog);
  EXPECT_EQ(Setting("VideoDelayTime"), "<absent>");
  SetField(dialog, IDC_DELAY_TIME, L"60");
  PressButton(dialog, IDOK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("VideoDelayTime"), "60");
  EXPECT_EQ(Setting("FrameRate"), "15");
  EXPECT_EQ(Setting("IfSelectCaptureDuringTime"), "TRUE");
  EXPECT_EQ(Setting("CaptureDuringTime"), "20");
  EXPECT_EQ(Setting("CaptureAudio"), "TRUE");

  // Cancel leaves everything as stored.
  dialog = OpenFrom(settings, IDC_VIDEO_SETTINGS, L"Capture Video Setting");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"20");
  Click(dialog, IDC_CAPTURE_DURING_TIME);
  Click(dialog, IDC_CAPTURE_AUDIO);
  PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("IfSelectCaptureDuringTime"), "TRUE");
  EXPECT_EQ(Setting("CaptureAudio"), "TRUE");

  dialog = OpenFrom(settings, IDC_VIDEO_SETTINGS, L"Capture Video Setting");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_CAPTURE_DURING_TIME);
  EXPECT_EQ(FieldText(dialog, IDC_DURATION), L"");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DURATION_UP)));
  EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_DURATION_UP), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  PressButton(dialog, IDOK);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(Setting("IfSelectCaptureDuringTime"), "FALSE");
  EXPECT_EQ(Setting("CaptureDuringTime"), "");
  PressButton(settings, IDC_SETTINGS_CANCEL);
  ASSERT_TRUE(Gone(settings));
  ASSERT_TRUE(lumora.Close());
}

// "&Advance Settings" opens the camera's own property page; what is changed
// there shows in the next frame the program grabs.
TEST_F(CaptureSettings, CameraPropertyPageChangesTheNextFrame) {
  constexpr int kPagePattern = 102, kPageBrightness = 101;
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  Run(L"Video - 352x288");
  HWND settings = OpenSettings();
  ASSERT_NE(settings, nullptr);
  PressButton(settings, IDC_ADVANCE_SETTINGS);
  FoundControl pattern;
  ASSERT_TRUE(WaitFor([&] {
    pattern = FindControlOfProcess(lumora.ProcessId(), kPagePattern, L"ComboBox");
    return pattern.control != nullptr;
  }));
  HWND page = ::GetParent(pattern.control);
  EXPECT_EQ(ListSelection(page, kPagePattern), L"Gradient");
  ASSERT_TRUE(ChooseItem(page, kPagePattern, L"Colour bars"));
  HWND brightness = ::GetDlgItem(page, kPageBrightness);
  ::SendMessageW(brightness, TBM_SETPOS, TRUE, 40);
  ::SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(brightness));
  const simcam::PictureLook look{40, simcam::Pattern::Bars};
  EXPECT_TRUE(simcam::ReadPictureLook() == look);

  PressButton(pattern.top, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(pattern.top); }));
  PressButton(settings, IDC_SETTINGS_OK);
  ASSERT_TRUE(Gone(settings));
  Press(view, IDC_IMAGE_BUTTON);
  const fs::path still = lumora.Documents() / "Lumora" / "Default album" / "P0000001.BMP";
  ASSERT_TRUE(
      WaitFor([&] { return fs::exists(still) && fs::file_size(still) == 54u + 352 * 288 * 3; }));
  ASSERT_TRUE(lumora.Close());

  std::vector<unsigned char> bytes(static_cast<size_t>(fs::file_size(still)));
  FILE* file = _wfopen(still.c_str(), L"rb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  const unsigned char* pixels = bytes.data() + 54;
  const uint32_t number = simcam::ReadFrameNumber(pixels, simcam::PixelFormat::Rgb24);
  std::vector<unsigned char> expected(bytes.size() - 54);
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, 352, 288, number, look);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pixels)) << "frame " << number;
}

// The compressor dialog opens pre-set to the stored compressor; choosing
// lumjpeg stores its record, and the next clip is Motion-JPEG that plays
// back and keeps to the size budget.
TEST_F(CaptureSettings, CompressorChoiceGivesMotionJpegClips) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  Run(L"Video - 640x480",
      "[Setting]\r\nInit=TRUE\r\nDeviceResolution=640x480\r\nWindowSize=640x480\r\n"
      "IfSelectCaptureDuringTime=TRUE\r\nCaptureDuringTime=10\r\n");
  HWND settings = OpenSettings();
  ASSERT_NE(settings, nullptr);
  HWND video = OpenFrom(settings, IDC_VIDEO_SETTINGS, L"Capture Video Setting");
  ASSERT_NE(video, nullptr);

  // Pre-set by simulated keys: the selection settles on the stored entry;
  // with none stored, on the uncompressed frames that are then recorded.
  auto openCompressor = [&] {
    PressButton(video, IDC_SET_COMPRESS);
    HWND dialog = lumora.WaitForDialogTitled(kCompressionSettings);
    ::Sleep(1500);
    return dialog;
  };
  HWND dialog = openCompressor();
  ASSERT_NE(dialog, nullptr);
  const Items compressors = ListItems(dialog, kCompressorList);
  ASSERT_NE(std::find(compressors.begin(), compressors.end(), L"lumjpeg"), compressors.end());
  EXPECT_EQ(ListSelection(dialog, kCompressorList), kUncompressed);
  ASSERT_TRUE(ChooseItem(dialog, kCompressorList, L"lumjpeg"));
  PressButton(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 10s));
  // Stored one key after the other once the platform's dialog has returned.
  ASSERT_TRUE(WaitFor([&] { return Setting("Compress").rfind("FF,", 0) == 0; }, 10s));
  EXPECT_EQ(Setting("Compressor"), "lumjpeg");
  const std::string record = Setting("Compress");
  // "FF", the record's length 64, then its handler code at offset 16 (the
  // codec service names it as its Drivers32 entry does, in lower case).
  EXPECT_EQ(record.substr(0, 14), "FF,40,00,00,00");
  EXPECT_EQ(record.substr(2 + 3 * 16, 12), ",6D,6A,70,67");
  EXPECT_GE(record.size(), 2u + 3 * 64);

  // Opened again, the dialog starts on lumjpeg; Cancel stores nothing.
  dialog = openCompressor();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ListSelection(dialog, kCompressorList), L"lumjpeg");
  ASSERT_TRUE(ChooseItem(dialog, kCompressorList, kUncompressed));
  PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 10s));
  EXPECT_EQ(Setting("Compress"), record);
  EXPECT_EQ(Setting("Compressor"), "lumjpeg");
  PressButton(video, IDOK);
  ASSERT_TRUE(Gone(video));
  PressButton(settings, IDC_SETTINGS_OK);
  ASSERT_TRUE(Gone(settings));
  ASSERT_TRUE(TitleBecomes(L"Video - 640x480"));

  // A timed 10-second clip.
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_VIDEO_BUTTON); }, 20s));
  const fs::path clip = lumora.Documents() / "Lumora" / "Default album" / "P0000001.AVI";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(clip); }, 5s));
  ASSERT_TRUE(lumora.Close());

  const testing_win::AviFile avi = testing_win::ReadAvi(clip);
  ASSERT_FALSE(avi.streams.empty());
  EXPECT_EQ(avi.streams[0].handler, mmioFOURCC('m', 'j', 'p', 'g'));
  ASSERT_GE(avi.streams[0].format.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER format;
  std::memcpy(&format, avi.streams[0].format.data(), sizeof format);
  EXPECT_EQ(format.biCompression, kMjpg);
  EXPECT_EQ(format.biWidth, 640);
  const auto frames = avi.ChunksOf(0);
  ASSERT_GE(frames.size(), 200u);  // about 300 at 30 fps
  size_t bytes = 0;
  for (const auto* chunk : frames) bytes += chunk->data.size();
  EXPECT_LE(bytes / frames.size(), kMaxAverageFrameBytes);

  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  long code = 0;
  EXPECT_EQ(PlayToEnd(clip, &code), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  ::CoUninitialize();
}

// The compressor that refuses every frame, registered with the codec
// service for the length of a test.
class RefusingCodec {
 public:
  static constexpr wchar_t kFile[] = L"refusing_codec.dll";
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
  static constexpr wchar_t kValue[] = L"vidc.rfse";

  RefusingCodec() {
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    m_target = fs::path(system) / kFile;
    m_ok = ::CopyFileW((BinFolder() + kFile).c_str(), m_target.c_str(), FALSE) &&
           ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, REG_SZ, kFile, sizeof kFile) ==
               ERROR_SUCCESS;
  }
  ~RefusingCodec() {
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue);
    ::DeleteFileW(m_target.c_str());
  }
  bool Ok() const { return m_ok; }

 private:
  fs::path m_target;
  bool m_ok = false;
};

// A chosen compressor that takes the format but refuses the frames: the
// recording says so and stops instead of counting seconds over an empty clip.
TEST_F(CaptureSettings, ACompressorThatRefusesTheFramesEndsTheRecordingWithTheNotice) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  RefusingCodec codec;
  ASSERT_TRUE(codec.Ok());
  std::vector<std::uint8_t> record(64, 0);
  const DWORD fields[][2] = {{0, 64}, {16, mmioFOURCC('r', 'f', 's', 'e')}, {48, 7500}};
  for (const auto& [offset, value] : fields) std::memcpy(&record[offset], &value, 4);
  Run(L"Video - 352x288", "[Setting]\r\nCompress=" + core::FormatCompressText(record, {}) + "\r\n");
  Press(view, IDC_VIDEO_BUTTON);
  const auto box = lumora.WaitForMessage(kRecordingError);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"Lumora");
  // Stopped before the box: the status no longer counts.
  EXPECT_FALSE(Visible(view, IDC_RECORD_STATUS));
  ASSERT_TRUE(LumoraSession::Answer(*box, IDOK));
  EXPECT_TRUE(WaitFor(
      [&] { return Visible(view, IDC_VIDEO_BUTTON) && !Visible(view, IDC_RECORD_BUTTON); }));
  ASSERT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e

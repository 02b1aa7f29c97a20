// Clips from the capture window as a user records them: Video, a few
// seconds, Record; the clip read back frame by frame and played through
// DirectShow; sound from the test's sound server and without one; timed
// recordings, an early Record, the clip numbers and "Index"; a disk that
// runs low while recording; recordings cut off by a killed program or a
// full disk, repaired at the next start.
#include <windows.h>
// Needs the types of windows.h.
#include <dshow.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "../win/avi_reader.h"
#include "capture_window.h"
#include "clip_playback.h"
#include "lumora_session.h"
#include "picture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testing_win::AviFile;
using testing_win::ReadAvi;

constexpr int kImageButton = IDC_IMAGE_BUTTON, kVideoButton = IDC_VIDEO_BUTTON,
              kRecordButton = IDC_RECORD_BUTTON, kStatus = IDC_RECORD_STATUS,
              kAnimation = IDC_ANIMATE;

// "Index" is written once the buttons are back: wait for it.
bool IndexBecomes(const LumoraSession& lumora, const char* value) {
  return WaitFor([&] { return lumora.Setting("Setting", "Index") == value; }, 3s);
}

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  }
  void TearDown() override {
    ::CoUninitialize();
    RunTool(L"simcamctl.exe uninstall");
  }

  void Run(const std::string& settings = {}) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    HWND main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND frame = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (frame = lumora.FindChild(main, L"Video - 352x288")) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    album = lumora.Documents() / "Lumora" / "Default album";
  }

  // Presses Video and waits until the Record button shows.
  void StartRecording() {
    Press(view, kVideoButton);
    ASSERT_TRUE(WaitFor([&] { return Visible(view, kRecordButton); }, 5s));
    EXPECT_FALSE(Visible(view, kVideoButton));
    EXPECT_FALSE(Visible(view, kImageButton));
  }
  // Waits until the buttons are back and the clip is complete.
  AviFile WaitForClip(const fs::path& clip, std::chrono::milliseconds limit = 10s) {
    EXPECT_TRUE(WaitFor(
        [&] { return Visible(view, kVideoButton) && !Visible(view, kRecordButton); }, limit));
    AviFile avi;
    EXPECT_TRUE(WaitFor([&] { return (avi = ReadAvi(clip)).hasIndex; }, 5s)) << clip;
    return avi;
  }

  // Checks the video stream and that every frame is a picture of the
  // simulated camera, in order; returns the number of frames with data.
  size_t CheckVideo(const AviFile& avi) {
    EXPECT_TRUE(avi.riff);
    if (avi.streams.empty()) return 0;
    const auto& vids = avi.streams[0];
    EXPECT_EQ(vids.type, "vids");
    EXPECT_EQ(vids.rate, 30u);
    EXPECT_EQ(vids.scale, 1u);
    EXPECT_GE(vids.format.size(), 40u);
    if (vids.format.size() >= 40) {
      BITMAPINFOHEADER h;
      std::memcpy(&h, vids.format.data(), 40);
      EXPECT_EQ(h.biWidth, 352);
      EXPECT_EQ(h.biHeight, 288);
      EXPECT_EQ(h.biBitCount, 24);
      EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    }
    size_t frames = 0;
    std::uint32_t last = 0;
    std::vector<std::uint8_t> expected(352 * 288 * 3);
    for (const auto* chunk : avi.ChunksOf(0)) {
      if (chunk->data.empty()) continue;
      EXPECT_EQ(chunk->data.size(), expected.size());
      if (chunk->data.size() != expected.size()) break;
      const std::uint32_t number =
          simcam::ReadFrameNumber(chunk->data.data(), simcam::PixelFormat::Rgb24);
      // A tick that comes before the camera's next frame writes the same
      // frame again at the next position.
      if (frames > 0) {
        EXPECT_GE(number, last);
      }
      simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, 352, 288, number);
      EXPECT_TRUE(chunk->data == expected) << "frame " << frames;
      last = number;
      ++frames;
    }
    return frames;
  }

  // Starts the program again after a cut-off recording of `clip`: when the
  // clip was left without its index, the program tells that it repaired it.
  AviFile RunAgain(const fs::path& clip) {
    const bool cutOff = !ReadAvi(clip).hasIndex;
    lumora.Start();
    if (cutOff) {
      const auto box = lumora.WaitForMessage(
          L"The recording of these clips was cut off. They have been repaired and hold "
          L"everything recorded up to the cut:\n\n" + clip.wstring(), 30s);
      EXPECT_TRUE(box.has_value());
      if (box) LumoraSession::Answer(*box, IDOK);
    } else {
      EXPECT_NE(lumora.WaitForMainWindow(), nullptr);
      EXPECT_FALSE(lumora.WaitForDialog(2s).has_value());
    }
    return ReadAvi(clip);
  }

  // Waits until a clip of 352x288 frames at 30 per second and 22.05 kHz
  // 16-bit mono sound holds `seconds` of them on disk. (The frames follow
  // the sound, and the test's sound server falls behind the clock on a busy
  // machine, so the clock cannot tell.)
  static bool WaitUntilOnDisk(const fs::path& clip, double seconds) {
    const double bytesPerSecond = 30 * (352 * 288 * 3 + 8) + 44100;
    return WaitFor(
        [&] {
          std::error_code ec;
          return fs::file_size(clip, ec) >= seconds * bytesPerSecond && !ec;
        },
        30s);
  }

  // A cut-off clip of 22.05 kHz 16-bit mono sound holds its first seconds of
  // camera pictures and sound, and plays to its end.
  void CheckRepaired(const AviFile& avi, const fs::path& clip, double seconds) {
    ASSERT_TRUE(avi.hasIndex);
    ASSERT_EQ(avi.streams.size(), 2u);
    size_t soundBytes = 0;
    for (const auto* chunk : avi.ChunksOf(1)) soundBytes += chunk->data.size();
    EXPECT_GE(soundBytes, seconds * 44100);
    EXPECT_GE(avi.ChunksOf(0).size(), seconds * 30);
    EXPECT_GE(CheckVideo(avi), seconds * 10);
    long code = 0;
    EXPECT_EQ(PlayToEnd(clip, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
  }

  LumoraSession lumora;
  HWND view = nullptr;
  fs::path album;
};

constexpr char kSoundSettings[] =
    "[Setting]\r\nCaptureAudio=TRUE\r\nAudioSetting_Property=22.050KHz  16bits  mono\r\n";

TEST_F(Recording, VideoThenRecordWritesAClipThatFollowsTheClock) {
  Run();
  const auto start = std::chrono::steady_clock::now();
  StartRecording();
  HWND animation = ::GetDlgItem(::GetDlgItem(view, kRecordButton), kAnimation);
  EXPECT_NE(animation, nullptr);
  EXPECT_TRUE(WaitFor(
      [&] { return WindowText(::GetDlgItem(view, kStatus)) == L"Time captured: 1 sec"; }, 3s));
  ::Sleep(2000);
  Press(view, kRecordButton);
  const AviFile avi = WaitForClip(album / "P0000001.AVI");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(avi.streams.size(), 1u);
  // The clip lasts as long as the recording: positions follow the clock.
  EXPECT_NEAR(avi.streams[0].length, seconds * 30, 15) << seconds;
  EXPECT_GE(CheckVideo(avi), 40u);
  EXPECT_EQ(avi.index.size(), avi.ChunksOf(0).size());
  EXPECT_TRUE(IndexBecomes(lumora, "1"));

  long code = 0;
  EXPECT_EQ(PlayToEnd(album / "P0000001.AVI", &code), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  ASSERT_TRUE(lumora.Close());
}

// Logging off or shutting down: when the main window has answered the end
// of the session, the clip being recorded is complete and the exit has run,
// for the system may end the process at once.
TEST_F(Recording, EndOfTheSessionClosesTheClipAndRunsTheExit) {
  Run();
  ASSERT_TRUE(WaitFor([] { return DriverStatusReport() == 0xF0000101u; }));
  StartRecording();
  ::Sleep(1500);
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_ABORTIFHUNG, 10000, nullptr));

  const AviFile avi = ReadAvi(album / "P0000001.AVI");
  EXPECT_TRUE(avi.hasIndex);
  EXPECT_GE(CheckVideo(avi), 20u);
  EXPECT_EQ(DriverStatusReport(), 0x00000001u);
  EXPECT_EQ(lumora.Setting("Setting", "Index"), "0");
  EXPECT_TRUE(lumora.WaitForExit());
}

TEST_F(Recording, SoundFromTheSourcePlacesTheFrames) {
  Run(kSoundSettings);
  StartRecording();
  ::Sleep(4000);
  Press(view, kRecordButton);
  const AviFile avi = WaitForClip(album / "P0000001.AVI");
  ASSERT_EQ(avi.streams.size(), 2u);
  const auto& auds = avi.streams[1];
  EXPECT_EQ(auds.type, "auds");
  ASSERT_GE(auds.format.size(), 16u);
  WAVEFORMATEX wf{};
  std::memcpy(&wf, auds.format.data(), 16);
  EXPECT_EQ(wf.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(wf.nChannels, 1);
  EXPECT_EQ(wf.nSamplesPerSec, 22050u);
  EXPECT_EQ(wf.wBitsPerSample, 16);
  size_t soundBytes = 0;
  for (const auto* chunk : avi.ChunksOf(1)) soundBytes += chunk->data.size();
  EXPECT_GT(soundBytes, 44100u);
  // Video positions follow the sound written, not the clock.
  EXPECT_NEAR(avi.streams[0].length, soundBytes * 30.0 / 44100, 4);
  CheckVideo(avi);
  ASSERT_TRUE(lumora.Close());
}

// With the prefix's audio drivers switched off (an empty "Audio" driver
// list) Lumora finds no sound source at all.
TEST_F(Recording, WithoutASoundSourceTheClipHasVideoOnly) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 2),
            ERROR_SUCCESS);
  Run("[Setting]\r\nCaptureAudio=TRUE\r\n");
  ::RegDeleteValueW(key, L"Audio");
  ::RegCloseKey(key);
  StartRecording();
  ::Sleep(1500);
  Press(view, kRecordButton);
  const AviFile avi = WaitForClip(album / "P0000001.AVI");
  ASSERT_EQ(avi.streams.size(), 1u);
  EXPECT_GE(avi.streams[0].length, 30u);  // timed by the clock
  CheckVideo(avi);
  ASSERT_TRUE(lumora.Close());
}

TEST_F(Recording, TimedRecordingStopsByItselfAndNumbersTakeTheFirstFreeName) {
  Run("[Setting]\r\nIfSelectCaptureDuringTime=TRUE\r\nCaptureDuringTime=2\r\n");
  StartRecording();
  EXPECT_TRUE(WaitFor(
      [&] {
        const std::wstring text = WindowText(::GetDlgItem(view, kStatus));
        return text == L"Time remaining: 2 sec" || text == L"Time remaining: 1 sec";
      },
      3s));
  const AviFile timed = WaitForClip(album / "P0000001.AVI", 6s);
  ASSERT_EQ(timed.streams.size(), 1u);
  EXPECT_GE(timed.streams[0].length, 30u);
  EXPECT_LE(timed.streams[0].length, 95u);
  EXPECT_TRUE(IndexBecomes(lumora, "1"));

  // Record at once: the recording still runs to tick 4, then stops.
  Press(view, kVideoButton);
  Press(view, kRecordButton);
  const AviFile early = WaitForClip(album / "P0000002.AVI");
  EXPECT_LE(early.streams.at(0).length, 10u);
  EXPECT_TRUE(IndexBecomes(lumora, "2"));

  // The name takes the first free number; "Index" only counts.
  fs::remove(album / "P0000001.AVI");
  Press(view, kVideoButton);
  Press(view, kRecordButton);
  WaitForClip(album / "P0000001.AVI");
  EXPECT_TRUE(IndexBecomes(lumora, "3"));
  ASSERT_TRUE(lumora.Close());
}

TEST_F(Recording, LowDiskSpaceStopsWithAMessageAndLeavesAValidClip) {
  if (::GetDriveTypeW(L"S:\\") == DRIVE_NO_ROOT_DIR)
    GTEST_SKIP() << "no small disk S: (needs root)";
  const fs::path folder = "S:\\lumora-clips";
  fs::remove_all(folder);
  fs::create_directories(folder);
  // Leave 310 MB: ten more of frames and the check finds less than 300.
  ULARGE_INTEGER free{};
  ASSERT_TRUE(::GetDiskFreeSpaceExW(L"S:\\", &free, nullptr, nullptr));
  {
    std::ofstream filler(folder / "filler.bin", std::ios::binary);
    std::vector<char> block(1 << 20, 0);
    for (ULONGLONG left = free.QuadPart - 310ull * 1048576; left >= block.size();
         left -= block.size()) {
      filler.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
  }
  Run("[Setting]\r\nCapturedVideoFilePath=S:\\lumora-clips\r\n");
  StartRecording();
  const auto box = lumora.WaitForDialog(15s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"Lumora");
  EXPECT_TRUE(std::regex_match(box->text,
                               std::wregex(L"Disk free space is not enough\\((29\\d)M left\\)!")))
      << box->text;
  EXPECT_FALSE(Visible(view, kRecordButton));
  LumoraSession::Answer(*box, IDOK);
  const AviFile avi = ReadAvi(folder / "P0000001.AVI");
  ASSERT_TRUE(avi.hasIndex);
  EXPECT_GT(CheckVideo(avi), 5u);
  ASSERT_TRUE(lumora.Close());
  fs::remove_all(folder);
}

// The program killed once a recording with sound holds a little over four
// seconds (nothing of it runs to close the clip): the next start repairs the
// clip, which keeps the first four seconds.
TEST_F(Recording, AClipCutOffByAKilledProgramIsRepairedAtTheNextStart) {
  Run(kSoundSettings);
  StartRecording();
  const fs::path clip = album / "P0000001.AVI";
  ASSERT_TRUE(WaitUntilOnDisk(clip, 4.2));
  EndProcess(lumora.ProcessId());
  ASSERT_FALSE(ReadAvi(clip).hasIndex);
  CheckRepaired(RunAgain(clip), clip, 4);
  ASSERT_TRUE(lumora.Close());

  // Repaired once: the next start says nothing and leaves the clip alone.
  const auto bytes = ReadAll(clip);
  RunAgain(clip);
  EXPECT_EQ(ReadAll(clip), bytes);
  ASSERT_TRUE(lumora.Close());
}

// Every thread of a process held still for as long as it lives.
class FrozenProcess {
 public:
  explicit FrozenProcess(DWORD processId) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID != processId) continue;
      if (HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
        ::SuspendThread(thread);
        m_threads.push_back(thread);
      }
    }
    ::CloseHandle(snapshot);
  }
  ~FrozenProcess() {
    for (HANDLE thread : m_threads) {
      ::ResumeThread(thread);
      ::CloseHandle(thread);
    }
  }
  FrozenProcess(const FrozenProcess&) = delete;
  FrozenProcess& operator=(const FrozenProcess&) = delete;

 private:
  std::vector<HANDLE> m_threads;
};

// Fills the disk of `file` to the last byte.
void FillDisk(const fs::path& file) {
  HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const std::vector<char> block(1 << 20, 0);
  for (DWORD piece = 1 << 20; piece > 0; piece /= 2) {
    DWORD written = 0;
    while (::WriteFile(h, block.data(), piece, &written, nullptr) && written == piece) {
    }
  }
  ::CloseHandle(h);
}

// A disk filled from outside once a recording with sound holds a little
// over four seconds, all at once between two of the program's free-space
// checks (the program is held still meanwhile): the recording ends with a
// message, and once there is room again the next start repairs the clip.
TEST_F(Recording, AClipCutOffByAFullDiskIsRepairedAtTheNextStart) {
  if (::GetDriveTypeW(L"S:\\") == DRIVE_NO_ROOT_DIR)
    GTEST_SKIP() << "no small disk S: (needs root)";
  const fs::path folder = "S:\\lumora-full";
  fs::remove_all(folder);
  fs::create_directories(folder);
  Run(std::string(kSoundSettings) + "CapturedVideoFilePath=S:\\lumora-full\r\n");
  StartRecording();
  const fs::path clip = folder / "P0000001.AVI";
  ASSERT_TRUE(WaitUntilOnDisk(clip, 4.2));
  {
    FrozenProcess frozen(lumora.ProcessId());
    FillDisk(folder / "filler.bin");
  }
  const auto box = lumora.WaitForDialog(15s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"Disk free space is not enough(0M left)!");
  LumoraSession::Answer(*box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return Visible(view, kVideoButton); }, 5s));
  ASSERT_TRUE(lumora.Close());

  fs::remove(folder / "filler.bin");
  EXPECT_FALSE(ReadAvi(clip).hasIndex);
  CheckRepaired(RunAgain(clip), clip, 4);
  ASSERT_TRUE(lumora.Close());
  fs::remove_all(folder);
}

}  // namespace
}  // namespace e2e

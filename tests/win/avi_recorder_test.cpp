// The AVI recorder on the platform's AVI file service, with an injected
// clock: frame positions, dropped frames, pauses, sound as the clock, the
// compressor choice, the size limit, a refused close, and the clip it writes
// read back byte by byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <optional>
#include <vector>

#include "avi_reader.h"
#include "base/file_io.h"
#include "base/strings.h"
#include "driver_proc.h"
#include "recorder/clip_recovery.h"
#include "recorder/avi_recorder.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

namespace {

using recorder::AviRecorder;
using testing_win::AviFile;
using testing_win::ReadAvi;
using testing_win::TempFolder;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr DWORD kImage = kWidth * 3 * kHeight;

BITMAPINFOHEADER FrameHeader() {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = kWidth;
  h.biHeight = kHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = kImage;
  return h;
}

// A frame whose every byte tells which frame it is.
std::vector<unsigned char> Frame(int number) {
  return std::vector<unsigned char>(kImage, static_cast<unsigned char>(number));
}

WAVEFORMATEX Sound8kMono() {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = 1;
  f.nSamplesPerSec = 8000;
  f.wBitsPerSample = 8;
  f.nBlockAlign = 1;
  f.nAvgBytesPerSec = 8000;
  return f;
}

class AviRecorderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    m_settings = (m_folder.Path() / L"settings.ini").wstring();
    m_clip = (m_folder.Path() / L"P0000001.AVI").wstring();
  }
  void TearDown() override { ::CoUninitialize(); }

  // A recorder on the test's clock and settings file, open with a video stream.
  void OpenClip(AviRecorder& rec, DWORD expectVideo = recorder::kAviOk) {
    rec.SetSettingsPath(m_settings);
    ASSERT_EQ(rec.Open(m_clip), recorder::kAviOk);
    ASSERT_EQ(rec.CreateVideoStream(FrameHeader(), 30, 1), expectVideo);
  }
  DWORD Write(AviRecorder& rec, int number) {
    const auto frame = Frame(number);
    return rec.WriteVideoFrame(frame.data(), static_cast<LONG>(frame.size()));
  }

  TempFolder m_folder;
  std::wstring m_settings;
  std::wstring m_clip;
  DWORD m_now = 5000;
};

TEST_F(AviRecorderTest, ClipReadsBackAsUncompressed24BitVideoWithIndex) {
  AviRecorder rec([this] { return m_now; });
  OpenClip(rec);
  rec.Start();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Write(rec, i + 1), recorder::kAviOk);
    m_now += 34;
  }
  EXPECT_EQ(rec.VideoSamples(), 5);
  EXPECT_EQ(recorder::g_lVideoFrameCounter.load(), 5);
  EXPECT_EQ(rec.TotalBytes(), 5 * kImage);
  ASSERT_EQ(rec.Close(), recorder::kAviOk);

  const AviFile avi = ReadAvi(m_clip);
  ASSERT_TRUE(avi.riff);
  ASSERT_EQ(avi.streams.size(), 1u);
  const auto& vids = avi.streams[0];
  EXPECT_EQ(vids.type, "vids");
  EXPECT_EQ(vids.rate, 30u);
  EXPECT_EQ(vids.scale, 1u);
  EXPECT_EQ(vids.length, 5u);
  ASSERT_GE(vids.format.size(), 40u);
  BITMAPINFOHEADER strf;
  std::memcpy(&strf, vids.format.data(), 40);
  EXPECT_EQ(strf.biWidth, kWidth);
  EXPECT_EQ(strf.biHeight, kHeight);
  EXPECT_EQ(strf.biBitCount, 24);
  EXPECT_EQ(strf.biCompression, static_cast<DWORD>(BI_RGB));

  const auto frames = avi.ChunksOf(0);
  ASSERT_EQ(frames.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(frames[i]->data, Frame(i + 1)) << "frame " << i;
  ASSERT_TRUE(avi.hasIndex);
  ASSERT_EQ(avi.index.size(), 5u);
  for (const auto& entry : avi.index) {
    EXPECT_EQ(entry.id.substr(0, 2), "00");
    EXPECT_EQ(entry.flags & AVIIF_KEYFRAME, static_cast<DWORD>(AVIIF_KEYFRAME));
    EXPECT_EQ(entry.size, kImage);
  }
}

TEST_F(AviRecorderTest, FramesWithinOneIntervalAreDroppedAndPausesLeaveGaps) {
  AviRecorder rec([this] { return m_now; });
  OpenClip(rec);
  rec.Start();
  EXPECT_EQ(Write(rec, 1), recorder::kAviOk);  // position 0
  m_now += 20;
  EXPECT_EQ(Write(rec, 2), recorder::kAviOk);  // still position 0: dropped
  EXPECT_EQ(rec.RewriteCount(), 1);
  m_now += 20;
  EXPECT_EQ(Write(rec, 3), recorder::kAviOk);  // 40 ms: position 1
  m_now += 260;
  EXPECT_EQ(Write(rec, 4), recorder::kAviOk);  // 300 ms: position 9, after a pause
  EXPECT_EQ(rec.VideoSamples(), 3);
  EXPECT_EQ(rec.RewriteCount(), 1);
  ASSERT_EQ(rec.Close(), recorder::kAviOk);

  const AviFile avi = ReadAvi(m_clip);
  ASSERT_EQ(avi.streams.size(), 1u);
  // The clip lasts as long as the recording: ten positions.
  EXPECT_EQ(avi.streams[0].length, 10u);
  std::vector<std::vector<unsigned char>> withData;
  for (const auto* chunk : avi.ChunksOf(0)) {
    if (!chunk->data.empty()) withData.push_back(chunk->data);
  }
  ASSERT_EQ(withData.size(), 3u);
  EXPECT_EQ(withData[0], Frame(1));
  EXPECT_EQ(withData[1], Frame(3));
  EXPECT_EQ(withData[2], Frame(4));
}

TEST_F(AviRecorderTest, SoundBytesPlaceTheFrames) {
  AviRecorder rec([this] { return m_now; });
  OpenClip(rec);
  ASSERT_EQ(rec.CreateAudioStream(Sound8kMono()), recorder::kAviOk);
  rec.Start();
  const std::vector<unsigned char> sound(4000, 0x80);  // half a second
  EXPECT_EQ(Write(rec, 1), recorder::kAviOk);          // no sound yet: position 0
  m_now += 1000;                                       // the wall clock does not count
  EXPECT_EQ(Write(rec, 2), recorder::kAviOk);          // still no sound: dropped
  EXPECT_EQ(rec.RewriteCount(), 1);
  EXPECT_EQ(rec.WriteAudioData(sound.data(), 4000), recorder::kAviOk);
  EXPECT_EQ(Write(rec, 3), recorder::kAviOk);  // position 15
  EXPECT_EQ(rec.WriteAudioData(sound.data(), 4000), recorder::kAviOk);
  EXPECT_EQ(Write(rec, 4), recorder::kAviOk);  // position 30
  EXPECT_EQ(rec.AudioBytes(), 8000);
  EXPECT_EQ(rec.TotalBytes(), 3 * kImage + 8000);
  ASSERT_EQ(rec.Close(), recorder::kAviOk);

  const AviFile avi = ReadAvi(m_clip);
  ASSERT_EQ(avi.streams.size(), 2u);
  EXPECT_EQ(avi.streams[0].length, 31u);
  const auto& auds = avi.streams[1];
  EXPECT_EQ(auds.type, "auds");
  EXPECT_EQ(auds.scale, 1u);
  EXPECT_EQ(auds.rate, 8000u);
  ASSERT_GE(auds.format.size(), 16u);
  WAVEFORMATEX wf{};
  std::memcpy(&wf, auds.format.data(), std::min<std::size_t>(auds.format.size(), sizeof wf));
  EXPECT_EQ(wf.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(wf.nChannels, 1);
  EXPECT_EQ(wf.nSamplesPerSec, 8000u);
  EXPECT_EQ(wf.wBitsPerSample, 8);
  std::size_t soundBytes = 0;
  for (const auto* chunk : avi.ChunksOf(1)) soundBytes += chunk->data.size();
  EXPECT_EQ(soundBytes, 8000u);
}

TEST_F(AviRecorderTest, ResultCodesOutsideARecording) {
  AviRecorder rec([this] { return m_now; });
  const auto frame = Frame(1);
  EXPECT_EQ(rec.CreateVideoStream(FrameHeader(), 30, 1), recorder::kAviNoFile);
  EXPECT_EQ(rec.CreateAudioStream(Sound8kMono()), recorder::kAviNoFile);
  EXPECT_EQ(rec.WriteVideoFrame(frame.data(), kImage), recorder::kAviNoStream);
  EXPECT_EQ(rec.Open((m_folder.Path() / L"missing" / L"P0000001.AVI").wstring()),
            recorder::kAviCreateFileFailed);
  EXPECT_FALSE(rec.IsOpen());

  OpenClip(rec);
  EXPECT_EQ(rec.WriteVideoFrame(frame.data(), kImage), recorder::kAviNotStarted);
  EXPECT_EQ(rec.WriteAudioData(frame.data(), 100), recorder::kAviNotStarted);
  rec.Start();
  EXPECT_EQ(rec.WriteAudioData(frame.data(), 100), recorder::kAviNoStream);
  EXPECT_EQ(rec.WriteVideoFrame(frame.data(), kImage - 1), recorder::kAviFrameSizeMismatch);
  EXPECT_EQ(rec.Close(), recorder::kAviOk);
  EXPECT_EQ(rec.Close(), recorder::kAviOk);
  EXPECT_EQ(rec.WriteVideoFrame(frame.data(), kImage), recorder::kAviNoStream);
}

// "FF" and one ",%02X" per byte of a 64-byte compressor-choice record with
// the given length field and handler.
std::string CompressText(DWORD length, DWORD handler) {
  unsigned char record[64] = {};
  std::memcpy(record, &length, 4);
  std::memcpy(record + 16, &handler, 4);
  const DWORD quality = 7500;
  std::memcpy(record + 48, &quality, 4);
  std::string text = "FF";
  char group[8];
  for (unsigned char b : record) {
    std::snprintf(group, sizeof group, ",%02X", b);
    text += group;
  }
  return text;
}

TEST_F(AviRecorderTest, CompressorChoiceFromTheSettings) {
  // A length field beyond the text: no video stream at all.
  ASSERT_TRUE(settings::Write(settings::kCompress, CompressText(65, 0), m_settings));
  {
    AviRecorder rec([this] { return m_now; });
    OpenClip(rec, recorder::kAviSetFormatFailed);
    EXPECT_FALSE(rec.HasVideoStream());
    rec.Start();
    EXPECT_EQ(Write(rec, 1), recorder::kAviNoStream);
    EXPECT_EQ(rec.Close(), recorder::kAviOk);
  }
  // A first byte other than 0xFF: uncompressed.
  std::string other = CompressText(64, 0);
  other[1] = 'E';
  ASSERT_TRUE(settings::Write(settings::kCompress, other, m_settings));
  {
    AviRecorder rec([this] { return m_now; });
    OpenClip(rec);
    EXPECT_TRUE(rec.HasVideoStream());
    EXPECT_EQ(rec.Close(), recorder::kAviOk);
  }
  // The compressor dialog's full frames: uncompressed, the stream header
  // naming the format.
  ASSERT_TRUE(settings::Write(settings::kCompress, CompressText(64, comptypeDIB), m_settings));
  {
    AviRecorder rec([this] { return m_now; });
    OpenClip(rec);
    EXPECT_TRUE(rec.HasVideoStream());
    rec.Start();
    EXPECT_EQ(Write(rec, 1), recorder::kAviOk);
    EXPECT_EQ(rec.Close(), recorder::kAviOk);
    const testing_win::AviFile avi = testing_win::ReadAvi(m_clip);
    ASSERT_EQ(avi.streams.size(), 1u);
    EXPECT_EQ(avi.streams[0].handler, static_cast<DWORD>(comptypeDIB));
    BITMAPINFOHEADER strf;
    ASSERT_GE(avi.streams[0].format.size(), sizeof strf);
    std::memcpy(&strf, avi.streams[0].format.data(), sizeof strf);
    EXPECT_EQ(strf.biCompression, static_cast<DWORD>(BI_RGB));
  }
  // A codec that cannot be found, or cannot take 24-bit frames: refused
  // when the stream is made or when its format is set, never written.
  ASSERT_TRUE(settings::Write(settings::kCompress,
                              CompressText(64, mmioFOURCC('Z', 'Z', 'Z', 'Z')), m_settings));
  {
    AviRecorder rec([this] { return m_now; });
    rec.SetSettingsPath(m_settings);
    ASSERT_EQ(rec.Open(m_clip), recorder::kAviOk);
    const DWORD result = rec.CreateVideoStream(FrameHeader(), 30, 1);
    EXPECT_TRUE(result == recorder::kAviCreateStreamFailed ||
                result == recorder::kAviSetFormatFailed)
        << std::hex << result;
    EXPECT_FALSE(rec.HasVideoStream());
    EXPECT_EQ(rec.Close(), recorder::kAviOk);
  }
}

// A Motion-JPEG recording copied as it stands while it is written (what a
// killed program leaves) is made whole from the recorder's note: the
// compressor's format, and the frames written.
TEST_F(AviRecorderTest, ACutOffMotionJpegClipIsRepairedFromTheNote) {
  ASSERT_TRUE(::ICInstall(ICTYPE_VIDEO, lumjpeg::kFourcc,
                          reinterpret_cast<LPARAM>(&lumjpeg::DriverProc), nullptr,
                          ICINSTALL_FUNCTION));
  ASSERT_TRUE(settings::Write(settings::kCompress, CompressText(64, lumjpeg::kFourcc), m_settings));
  const std::wstring notes = (m_folder.Path() / L"notes").wstring();
  const std::wstring notePath = recorder::NotePathFor(notes, m_clip);
  const std::wstring cut = (m_folder.Path() / L"cut.avi").wstring();
  std::optional<std::vector<std::uint8_t>> noteText;
  {
    AviRecorder rec([this] { return m_now; });
    rec.SetNoteFolder(notes);
    OpenClip(rec);
    rec.Start();
    for (int i = 0; i < 20; ++i) {
      EXPECT_EQ(Write(rec, i * 10), recorder::kAviOk);
      m_now += 34;
    }
    ASSERT_TRUE(::CopyFileW(m_clip.c_str(), cut.c_str(), FALSE));
    noteText = base::ReadWholeFile(notePath, 1 << 16);
    ASSERT_EQ(rec.Close(), recorder::kAviOk);
  }
  ::ICRemove(ICTYPE_VIDEO, lumjpeg::kFourcc, 0);
  // A clip closed complete takes its note away.
  EXPECT_EQ(::GetFileAttributesW(notePath.c_str()), INVALID_FILE_ATTRIBUTES);

  // The note as it was while recording, made to name the cut copy.
  ASSERT_TRUE(noteText);
  auto note = core::ParseClipNote(
      std::string_view(reinterpret_cast<const char*>(noteText->data()), noteText->size()));
  ASSERT_TRUE(note);
  EXPECT_EQ(note->clip, base::Narrow(m_clip, CP_UTF8));
  note->clip = base::Narrow(cut, CP_UTF8);
  const AviFile whole = ReadAvi(m_clip);
  ASSERT_EQ(whole.streams.size(), 1u);
  EXPECT_FALSE(ReadAvi(cut).hasIndex);
  ASSERT_EQ(recorder::RepairClip(*note), recorder::RepairResult::kRepaired);

  const AviFile repaired = ReadAvi(cut);
  ASSERT_TRUE(repaired.hasIndex);
  ASSERT_EQ(repaired.streams.size(), 1u);
  EXPECT_EQ(repaired.streams[0].handler, lumjpeg::kFourcc);
  EXPECT_EQ(repaired.streams[0].format, whole.streams[0].format);
  const auto frames = repaired.ChunksOf(0), wholeFrames = whole.ChunksOf(0);
  EXPECT_GE(frames.size(), 18u);  // the last ones may still be in the file buffer
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i]->data, wholeFrames[i]->data) << "frame " << i;
  }
}

TEST_F(AviRecorderTest, SizeLimitClosesTheClipAndLeavesItValid) {
  AviRecorder rec([this] { return m_now; }, 3 * kImage);
  OpenClip(rec);
  rec.Start();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Write(rec, i + 1), recorder::kAviOk);
    m_now += 40;
  }
  EXPECT_EQ(Write(rec, 4), recorder::kAviSizeLimitReached);
  EXPECT_FALSE(rec.IsOpen());
  EXPECT_EQ(Write(rec, 5), recorder::kAviNoStream);

  const AviFile avi = ReadAvi(m_clip);
  ASSERT_TRUE(avi.riff);
  ASSERT_EQ(avi.streams.size(), 1u);
  EXPECT_EQ(avi.streams[0].length, 3u);
  EXPECT_EQ(avi.ChunksOf(0).size(), 3u);
  EXPECT_EQ(avi.index.size(), 3u);
}

TEST_F(AviRecorderTest, CloseIsRefusedWhileAWriteRuns) {
  // The clock is read inside the write: ask another thread to close then.
  DWORD closeDuringWrite = 0;
  bool inWrite = false;
  AviRecorder* target = nullptr;
  AviRecorder rec([&]() -> DWORD {
    if (inWrite)
      closeDuringWrite = std::async(std::launch::async, [&] { return target->Close(); }).get();
    return m_now;
  });
  target = &rec;
  OpenClip(rec);
  rec.Start();
  inWrite = true;
  EXPECT_EQ(Write(rec, 1), recorder::kAviOk);
  inWrite = false;
  EXPECT_EQ(closeDuringWrite, recorder::kAviCloseBusy);
  EXPECT_TRUE(rec.IsOpen());
  EXPECT_EQ(rec.Close(), recorder::kAviOk);
  EXPECT_EQ(ReadAvi(m_clip).ChunksOf(0).size(), 1u);
}

}  // namespace

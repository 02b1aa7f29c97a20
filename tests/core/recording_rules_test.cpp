// Platform-free rules of recording: the sound-format text, the persisted
// compressor choice, frame positions and the clip size limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/avi_timing.h"
#include "core/compress_text.h"
#include "core/sound_format.h"

namespace {

TEST(SoundFormatText, DefaultAndEveryRate) {
  core::SoundFormat f = core::ParseSoundFormat("8.000KHz  8bits  mono");
  EXPECT_EQ(f.formatTag, 1);
  EXPECT_EQ(f.channels, 1);
  EXPECT_EQ(f.bitsPerSample, 8);
  EXPECT_EQ(f.samplesPerSec, 8000u);
  EXPECT_EQ(f.avgBytesPerSec, 8000u);
  EXPECT_EQ(f.blockAlign, 1);

  f = core::ParseSoundFormat("44.100KHz  16bits  stereo");
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.bitsPerSample, 16);
  EXPECT_EQ(f.samplesPerSec, 44100u);
  EXPECT_EQ(f.avgBytesPerSec, 176400u);
  EXPECT_EQ(f.blockAlign, 4);

  const std::pair<const char*, unsigned> rates[] = {
      {"11.025KHz", 11025}, {"12.000KHz", 12000}, {"16.000KHz", 16000}, {"22.050KHz", 22050},
      {"24.000KHz", 24000}, {"32.000KHz", 32000}, {"48.000KHz", 48000}};
  for (const auto& [text, rate] : rates) {
    EXPECT_EQ(core::ParseSoundFormat(std::string(text) + "  16bits  mono").samplesPerSec, rate)
        << text;
  }
}

TEST(SoundFormatText, UnknownTextKeepsStereo8BitAt8kHz) {
  const core::SoundFormat f = core::ParseSoundFormat("");
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.bitsPerSample, 8);
  EXPECT_EQ(f.samplesPerSec, 8000u);
  EXPECT_EQ(f.avgBytesPerSec, 16000u);
  EXPECT_EQ(f.blockAlign, 2);
  // "stereo" is tested after "mono" and wins.
  EXPECT_EQ(core::ParseSoundFormat("mono stereo").channels, 2);
}

std::string CompressText(const std::vector<unsigned char>& record,
                         const std::vector<unsigned char>& state = {}) {
  return core::FormatCompressText(record, state);
}

std::vector<unsigned char> Record(std::uint32_t length, std::uint32_t handler,
                                  std::uint32_t quality, std::uint32_t stateSize) {
  std::vector<unsigned char> r(64, 0);
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) r[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  put(0, length);
  put(core::kCompressRecordHandler, handler);
  put(core::kCompressRecordQuality, quality);
  put(core::kCompressRecordStateSize, stateSize);
  return r;
}

TEST(CompressText, ChoiceReadBackWithHandlerAndQuality) {
  const std::uint32_t mjpg = 0x47504A4D;  // 'MJPG'
  const auto record = Record(64, mjpg, 7500, 3);
  const core::CompressChoice c = core::ParseCompressText(CompressText(record, {1, 2, 3}));
  ASSERT_EQ(c.kind, core::CompressChoice::Kind::kCodec);
  EXPECT_EQ(c.handler, mjpg);
  EXPECT_EQ(c.quality, 7500u);
  EXPECT_EQ(c.record, record);
}

// The stored form: "FF", then ",%02X" for every byte of the record (its
// length 64 first, lowest byte first) and then of the state block.
TEST(CompressText, WrittenAsUpperCaseHexGroups) {
  auto record = Record(64, 0x47504A4D, 7500, 2);
  const std::string text = CompressText(record, {0xAB, 0x0C});
  EXPECT_EQ(text.substr(0, 14), "FF,40,00,00,00");
  EXPECT_EQ(text.substr(2 + 3 * 16, 12), ",4D,4A,50,47");
  EXPECT_EQ(text.substr(2 + 3 * 48, 12), ",4C,1D,00,00");
  EXPECT_EQ(text.size(), 2u + 3 * 66);
  EXPECT_EQ(text.substr(text.size() - 6), ",AB,0C");
  EXPECT_EQ(CompressText({}, {}), "FF");
}

TEST(CompressText, NoCompressionForZeroOrOtherFirstByte) {
  EXPECT_EQ(core::ParseCompressText("0").kind, core::CompressChoice::Kind::kNone);
  EXPECT_EQ(core::ParseCompressText("").kind, core::CompressChoice::Kind::kNone);
  std::string text = CompressText(Record(64, 1, 2, 0));
  text[0] = 'F';
  text[1] = 'E';
  EXPECT_EQ(core::ParseCompressText(text).kind, core::CompressChoice::Kind::kNone);
}

TEST(CompressText, LengthBeyondTheTextIsInvalid) {
  // 64 record bytes give a text of 2 + 3 * 64 characters: room for exactly 64.
  std::string text = CompressText(Record(64, 1, 2, 0));
  ASSERT_EQ(text.size(), 2u + 3 * 64);
  EXPECT_EQ(core::ParseCompressText(text).kind, core::CompressChoice::Kind::kCodec);
  text = CompressText(Record(65, 1, 2, 0));
  EXPECT_EQ(core::ParseCompressText(text).kind, core::CompressChoice::Kind::kInvalid);
  text = CompressText(Record(0xFFFFFFFF, 1, 2, 0));
  EXPECT_EQ(core::ParseCompressText(text).kind, core::CompressChoice::Kind::kInvalid);
}

TEST(CompressText, ShortRecordReadsMissingFieldsAsZero) {
  auto record = Record(20, 0x20202020, 9000, 0);
  record.resize(20);
  const core::CompressChoice c = core::ParseCompressText(CompressText(record));
  ASSERT_EQ(c.kind, core::CompressChoice::Kind::kCodec);
  EXPECT_EQ(c.handler, 0x20202020u);
  EXPECT_EQ(c.quality, 0u);
  EXPECT_EQ(c.record.size(), 20u);
}

TEST(FrameIndex, ByElapsedTimeTruncates) {
  EXPECT_EQ(core::FrameIndexByTime(0, 30.0), 0);
  EXPECT_EQ(core::FrameIndexByTime(33, 30.0), 0);  // 0.99
  EXPECT_EQ(core::FrameIndexByTime(34, 30.0), 1);  // 1.02
  EXPECT_EQ(core::FrameIndexByTime(3000, 30.0), 90);
  EXPECT_EQ(core::FrameIndexByTime(1000, 15.0), 15);
  // Far beyond the range of a position: held at the largest one.
  EXPECT_EQ(core::FrameIndexByTime(0xFFFFFFFF, 1e6), 0x7FFFFFFF);
}

TEST(FrameIndex, BySoundBytes) {
  EXPECT_EQ(core::FrameIndexBySound(0, 30.0, 8000), 0);
  EXPECT_EQ(core::FrameIndexBySound(8000, 30.0, 8000), 30);
  EXPECT_EQ(core::FrameIndexBySound(266, 30.0, 8000), 0);  // 0.9975
  EXPECT_EQ(core::FrameIndexBySound(267, 30.0, 8000), 1);
  EXPECT_EQ(core::FrameIndexBySound(176400 * 2, 25.0, 176400), 50);
  EXPECT_EQ(core::FrameIndexBySound(1000, 30.0, 0), 0);
}

TEST(AviSizeLimit, ReachedAtTheLimit) {
  EXPECT_FALSE(core::ReachedAviSizeLimit(2013265919u));
  EXPECT_TRUE(core::ReachedAviSizeLimit(2013265920u));
  EXPECT_TRUE(core::ReachedAviSizeLimit(0xFFFFFFFFu));
}

}  // namespace

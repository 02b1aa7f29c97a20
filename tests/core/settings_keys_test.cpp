// The table of the settings file's keys: the exact names the file holds, the
// defaults a first start reads, and the room of the reads where a wrong one
// would cut a stored value (paths, the compressor record) or let a count
// through that the album tree refuses.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "settings/keys.h"

namespace {

using settings::Key;

const Key kEveryKey[] = {
    settings::kInit,
    settings::kWindowSize,
    settings::kDeviceResolution,
    settings::kFrameRate,
    settings::kImageFormat,
    settings::kImageDelayTime,
    settings::kCapturedImageFilePath,
    settings::kCapturedVideoFilePath,
    settings::kVideoDelayTime,
    settings::kIfSelectCaptureDuringTime,
    settings::kCaptureDuringTime,
    settings::kCaptureAudio,
    settings::kAudioSettingProperty,
    settings::kLQ,
    settings::kCompress,
    settings::kCompressorCodec,
    settings::kCompressor,
    settings::kIndex,
    settings::kAlbumNum,
    settings::kCurrentSelectAlbum,
    settings::kCurrentSelectFile,
    settings::kShowImageMode,
    settings::kSortType,
};

TEST(SettingsKeys, EachKeyIsOneLineOfItsSection) {
  std::set<std::pair<std::string_view, std::string_view>> seen;
  for (const Key& key : kEveryKey) {
    EXPECT_TRUE(key.section == "Setting" || key.section == "ALBUM") << key.name;
    EXPECT_TRUE(seen.emplace(key.section, key.name).second) << "twice: " << key.name;
    EXPECT_GT(key.capacity, key.def.size()) << "its own default would be cut: " << key.name;
  }
  EXPECT_EQ(seen.size(), std::size(kEveryKey));
}

TEST(SettingsKeys, NamesAndDefaultsAFirstStartReads) {
  EXPECT_EQ(settings::kInit.name, "Init");
  EXPECT_EQ(settings::kInit.def, "FALSE");
  EXPECT_EQ(settings::kWindowSize.def, "352x288");
  EXPECT_EQ(settings::kDeviceResolution.def, "352x288");
  EXPECT_EQ(settings::kFrameRate.def, "30");
  EXPECT_EQ(settings::kImageFormat.def, "BMP");
  EXPECT_EQ(settings::kCaptureDuringTime.def, "15");
  EXPECT_EQ(settings::kLQ.name, "lQ");  // a lower-case L
  EXPECT_EQ(settings::kLQ.def, "100");
  EXPECT_EQ(settings::kAudioSettingProperty.name, "AudioSetting_Property");
  EXPECT_EQ(settings::kAudioSettingProperty.def, "8.000KHz  8bits  mono");
  EXPECT_EQ(settings::kCompress.def, "0");
  EXPECT_EQ(settings::kCompressorCodec.def, "NULL Compressor");
  EXPECT_EQ(settings::kCompressor.def, "");
  EXPECT_EQ(settings::kIfSelectCaptureDuringTime.name, "IfSelectCaptureDuringTime");
  EXPECT_EQ(settings::kCapturedImageFilePath.name, "CapturedImageFilePath");
  EXPECT_EQ(settings::kCapturedVideoFilePath.name, "CapturedVideoFilePath");
  EXPECT_EQ(settings::kAlbumNum.section, "ALBUM");
  EXPECT_EQ(settings::kCurrentSelectFile.section, "ALBUM");
}

TEST(SettingsKeys, RoomOfTheReads) {
  EXPECT_EQ(settings::kAlbumNum.capacity, 10u);
  EXPECT_EQ(settings::kShowImageMode.capacity, 10u);
  EXPECT_EQ(static_cast<Key>(settings::AlbumKey(7)).capacity, 128u);
  EXPECT_EQ(settings::kCurrentSelectAlbum.capacity, 128u);
  EXPECT_EQ(settings::kWindowSize.capacity, 128u);
  EXPECT_EQ(settings::kFrameRate.capacity, 128u);
  EXPECT_EQ(settings::kCapturedImageFilePath.capacity, 260u);
  EXPECT_EQ(settings::kCapturedVideoFilePath.capacity, 260u);
  EXPECT_EQ(settings::kCompressorCodec.capacity, 260u);
  EXPECT_EQ(settings::kLQ.capacity, 260u);
  EXPECT_EQ(settings::kCompress.capacity, 4096u);
  EXPECT_EQ(settings::kCompressor.capacity, 260u);
}

TEST(SettingsKeys, DerivedKeysKeepSectionAndName) {
  const Key wide = settings::kAlbumNum.WithCapacity(settings::kDefaultCapacity);
  EXPECT_EQ(wide.section, "ALBUM");
  EXPECT_EQ(wide.name, "AlbumNum");
  EXPECT_EQ(wide.capacity, 128u);
  const std::string album = "C:\\Docs\\Lumora\\Default album";
  const Key video = settings::kCapturedVideoFilePath.WithDefault(album);
  EXPECT_EQ(video.name, "CapturedVideoFilePath");
  EXPECT_EQ(video.def, album);
  EXPECT_EQ(video.capacity, 260u);
}

TEST(SettingsKeys, AlbumKeysAreNumberedAsPercentD) {
  const settings::AlbumKey first(0);
  const Key key = first;
  EXPECT_EQ(key.section, "ALBUM");
  EXPECT_EQ(key.name, "Album0");
  EXPECT_EQ(key.def, "");
  EXPECT_EQ(settings::AlbumKey(999).Name(), "Album999");
  // A count read from a hand-edited file may be negative; the key is then
  // named as "%d" names it.
  EXPECT_EQ(settings::AlbumKey(-3).Name(), "Album-3");
}

}  // namespace

#pragma once
// Every key of the settings file the program uses, with its section, its
// default when absent and the room its readers give it (a value is cut to
// capacity - 1 characters). The few readers that need other room than the
// key's other readers, or a default known only at run time, derive it from
// the key here, so that section and name are written in this one place.
#include <cstddef>
#include <string>
#include <string_view>

namespace settings {

struct Key {
  std::string_view section;
  std::string_view name;
  std::string_view def;
  std::size_t capacity;

  constexpr Key WithCapacity(std::size_t room) const { return {section, name, def, room}; }
  // The key with another default; `value` must outlive the use of the key.
  constexpr Key WithDefault(std::string_view value) const {
    return {section, name, value, capacity};
  }
};

// The room of a read unless the key says otherwise, and that of a full path.
inline constexpr std::size_t kDefaultCapacity = 128;
inline constexpr std::size_t kPathCapacity = 260;

inline constexpr std::string_view kSettingSection = "Setting";
inline constexpr std::string_view kAlbumSection = "ALBUM";

// Section "Setting": the capture window and the recorder.
inline constexpr Key kInit{kSettingSection, "Init", "FALSE", kDefaultCapacity};
inline constexpr Key kWindowSize{kSettingSection, "WindowSize", "352x288", kDefaultCapacity};
inline constexpr Key kDeviceResolution{kSettingSection, "DeviceResolution", "352x288",
                                       kDefaultCapacity};
// The recording reads the frame rate with room for a full path.
inline constexpr Key kFrameRate{kSettingSection, "FrameRate", "30", kDefaultCapacity};
inline constexpr Key kImageFormat{kSettingSection, "ImageFormat", "BMP", kDefaultCapacity};
inline constexpr Key kImageDelayTime{kSettingSection, "ImageDelayTime", "0", kDefaultCapacity};
// The folders new stills and clips go to; empty when absent (a reader that
// falls back on the default album says so).
inline constexpr Key kCapturedImageFilePath{kSettingSection, "CapturedImageFilePath", "",
                                            kPathCapacity};
inline constexpr Key kCapturedVideoFilePath{kSettingSection, "CapturedVideoFilePath", "",
                                            kPathCapacity};
// Read when a recording starts, each with room for a full path.
inline constexpr Key kVideoDelayTime{kSettingSection, "VideoDelayTime", "0", kPathCapacity};
inline constexpr Key kIfSelectCaptureDuringTime{kSettingSection, "IfSelectCaptureDuringTime",
                                                "FALSE", kPathCapacity};
inline constexpr Key kCaptureDuringTime{kSettingSection, "CaptureDuringTime", "15", kPathCapacity};
inline constexpr Key kCaptureAudio{kSettingSection, "CaptureAudio", "FALSE", kPathCapacity};
// Two blanks between the parts, as the sound-format table writes them.
inline constexpr Key kAudioSettingProperty{kSettingSection, "AudioSetting_Property",
                                           "8.000KHz  8bits  mono", kPathCapacity};
inline constexpr Key kIndex{kSettingSection, "Index", "0", kPathCapacity};
// The video compressor: its quality and name for the capture graph, and the
// recorder's settings record as hexadecimal text.
inline constexpr Key kLQ{kSettingSection, "lQ", "100", kPathCapacity};
inline constexpr Key kCompressorCodec{kSettingSection, "CompressorCodec", "NULL Compressor",
                                      kPathCapacity};
inline constexpr Key kCompress{kSettingSection, "Compress", "0", 4096};
// The chosen compressor's description, as the compressor dialog lists it.
inline constexpr Key kCompressor{kSettingSection, "Compressor", "", kPathCapacity};

// Section "ALBUM": the album list and the album window.
// The album tree's room for the count; start-up reads it with the default room.
inline constexpr Key kAlbumNum{kAlbumSection, "AlbumNum", "", 10};
inline constexpr Key kCurrentSelectAlbum{kAlbumSection, "CurrentSelectAlbum", "", kDefaultCapacity};
inline constexpr Key kCurrentSelectFile{kAlbumSection, "CurrentSelectFile", "", kPathCapacity};
inline constexpr Key kShowImageMode{kAlbumSection, "ShowImageMode", "", 10};
inline constexpr Key kSortType{kAlbumSection, "SortType", "", 10};

// "Album%d": the path of the album at `index` of the list (a count read
// from the file may be anything, so the index is signed as "%d" is). The key
// it gives refers to the name held here, so use it while this object lives.
class AlbumKey {
 public:
  explicit AlbumKey(int index) : m_name("Album" + std::to_string(index)) {}
  const std::string& Name() const { return m_name; }
  operator Key() const { return {kAlbumSection, m_name, "", kDefaultCapacity}; }

 private:
  std::string m_name;
};

}  // namespace settings

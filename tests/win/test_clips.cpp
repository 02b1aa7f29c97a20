#include "test_clips.h"

#include <vfw.h>

#include <cstdint>
#include <vector>

#include "picture.h"

namespace testing_win {
namespace {

constexpr DWORD kFrameRate = 30;
constexpr DWORD kSoundRate = 22050;
constexpr std::int16_t kToneLevel = 12000;

size_t FrameBytes(const ClipShape& shape) {
  return simcam::FrameBytes(simcam::PixelFormat::Rgb24, shape.width, shape.height);
}

// The streams are made before any data is written: the file service takes
// no new stream after that.
PAVISTREAM CreateVideo(PAVIFILE file, const ClipShape& shape) {
  const size_t bytes = FrameBytes(shape);
  AVISTREAMINFOW info{};
  info.fccType = streamtypeVIDEO;
  info.dwScale = 1;
  info.dwRate = kFrameRate;
  info.dwSuggestedBufferSize = static_cast<DWORD>(bytes);
  ::SetRect(&info.rcFrame, 0, 0, shape.width, shape.height);
  PAVISTREAM stream = nullptr;
  if (::AVIFileCreateStreamW(file, &stream, &info) != 0) return nullptr;
  BITMAPINFOHEADER format{sizeof format, shape.width, shape.height, 1, 24, BI_RGB,
                          static_cast<DWORD>(bytes), 0, 0, 0, 0};
  if (::AVIStreamSetFormat(stream, 0, &format, sizeof format) != 0) {
    ::AVIStreamRelease(stream);
    return nullptr;
  }
  return stream;
}

bool WriteVideo(PAVISTREAM stream, const ClipShape& shape) {
  bool ok = true;
  std::vector<std::uint8_t> frame(FrameBytes(shape));
  for (int i = 0; ok && i < shape.frames; ++i) {
    simcam::DrawFrame(frame.data(), simcam::PixelFormat::Rgb24, shape.width, shape.height,
                      static_cast<std::uint32_t>(i));
    ok = ::AVIStreamWrite(stream, i, 1, frame.data(), static_cast<LONG>(frame.size()),
                          AVIIF_KEYFRAME, nullptr, nullptr) == 0;
  }
  return ok;
}

LONG ToneSamples(const ClipShape& shape) {
  return static_cast<LONG>(kSoundRate * static_cast<DWORD>(shape.frames) / kFrameRate);
}

PAVISTREAM CreateTone(PAVIFILE file, const ClipShape& shape) {
  AVISTREAMINFOW info{};
  info.fccType = streamtypeAUDIO;
  info.dwScale = 2;  // one block: one 16-bit sample
  info.dwRate = kSoundRate * 2;
  info.dwSampleSize = 2;
  info.dwSuggestedBufferSize = static_cast<DWORD>(ToneSamples(shape)) * 2;
  PAVISTREAM stream = nullptr;
  if (::AVIFileCreateStreamW(file, &stream, &info) != 0) return nullptr;
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kSoundRate, kSoundRate * 2, 2, 16, 0};
  if (::AVIStreamSetFormat(stream, 0, &format, sizeof format) != 0) {
    ::AVIStreamRelease(stream);
    return nullptr;
  }
  return stream;
}

bool WriteTone(PAVISTREAM stream, const ClipShape& shape) {
  const LONG samples = ToneSamples(shape);
  std::vector<std::int16_t> sound(static_cast<size_t>(samples));
  for (size_t i = 0; i < sound.size(); ++i) {
    sound[i] = (i / 11) % 2 ? kToneLevel : static_cast<std::int16_t>(-kToneLevel);
  }
  return ::AVIStreamWrite(stream, 0, samples, sound.data(), static_cast<LONG>(sound.size() * 2),
                         AVIIF_KEYFRAME, nullptr, nullptr) == 0;
}

}  // namespace

bool WriteClip(const std::filesystem::path& path, const ClipShape& shape) {
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  bool ok = ::AVIFileOpenW(&file, path.wstring().c_str(), OF_CREATE | OF_WRITE, nullptr) == 0;
  if (ok) {
    PAVISTREAM video = CreateVideo(file, shape);
    PAVISTREAM tone = shape.tone ? CreateTone(file, shape) : nullptr;
    ok = video && (!shape.tone || tone) && WriteVideo(video, shape) &&
         (!tone || WriteTone(tone, shape));
    if (tone) ::AVIStreamRelease(tone);
    if (video) ::AVIStreamRelease(video);
    ::AVIFileRelease(file);
  }
  ::AVIFileExit();
  return ok;
}

}  // namespace testing_win

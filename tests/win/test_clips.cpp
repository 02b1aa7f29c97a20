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
  BITMAPINFOHEADER format{sizeof format,
                          shape.width,
                          shape.height,
                          1,
                          24,
                          BI_RGB,
                          static_cast<DWORD>(bytes),
                          0,
                          0,
                          0,
                          0};
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

const std::vector<std::uint8_t>& GreyJpeg() {
  static const std::vector<std::uint8_t> kJpeg = {
      0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00,
      0x01, 0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02, 0x03, 0x02,
      0x02, 0x03, 0x03, 0x03, 0x03, 0x04, 0x03, 0x03, 0x04, 0x05, 0x08, 0x05, 0x05, 0x04, 0x04,
      0x05, 0x0a, 0x07, 0x07, 0x06, 0x08, 0x0c, 0x0a, 0x0c, 0x0c, 0x0b, 0x0a, 0x0b, 0x0b, 0x0d,
      0x0e, 0x12, 0x10, 0x0d, 0x0e, 0x11, 0x0e, 0x0b, 0x0b, 0x10, 0x16, 0x10, 0x11, 0x13, 0x14,
      0x15, 0x15, 0x15, 0x0c, 0x0f, 0x17, 0x18, 0x16, 0x14, 0x18, 0x12, 0x14, 0x15, 0x14, 0xff,
      0xc0, 0x00, 0x0b, 0x08, 0x00, 0x10, 0x00, 0x10, 0x01, 0x01, 0x11, 0x00, 0xff, 0xc4, 0x00,
      0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x08,
      0x01, 0x01, 0x00, 0x00, 0x3f, 0x00, 0x00, 0xff, 0xd9};
  return kJpeg;
}

bool WriteMjpegClip(const std::filesystem::path& path, int frames) {
  const DWORD mjpg = mmioFOURCC('M', 'J', 'P', 'G');
  const std::vector<std::uint8_t>& jpeg = GreyJpeg();
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  bool ok = ::AVIFileOpenW(&file, path.wstring().c_str(), OF_CREATE | OF_WRITE, nullptr) == 0;
  if (ok) {
    AVISTREAMINFOW info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = mjpg;
    info.dwScale = 1;
    info.dwRate = kFrameRate;
    info.dwSuggestedBufferSize = static_cast<DWORD>(jpeg.size());
    ::SetRect(&info.rcFrame, 0, 0, 16, 16);
    PAVISTREAM stream = nullptr;
    ok = ::AVIFileCreateStreamW(file, &stream, &info) == 0;
    BITMAPINFOHEADER format{sizeof format, 16, 16, 1, 24, mjpg, 16 * 16 * 3, 0, 0, 0, 0};
    ok = ok && ::AVIStreamSetFormat(stream, 0, &format, sizeof format) == 0;
    for (int i = 0; ok && i < frames; ++i) {
      ok = ::AVIStreamWrite(stream, i, 1, const_cast<std::uint8_t*>(jpeg.data()),
                            static_cast<LONG>(jpeg.size()), AVIIF_KEYFRAME, nullptr, nullptr) == 0;
    }
    if (stream) ::AVIStreamRelease(stream);
    ::AVIFileRelease(file);
  }
  ::AVIFileExit();
  return ok;
}

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

// The lumjpeg compressor as the platform's codec service drives it: the
// formats it takes, frames compressed and decompressed again, broken data,
// and clips written through the AVI service.
#include <gtest/gtest.h>
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "avi_reader.h"
#include "driver_proc.h"
#include "mjpeg_codec.h"
#include "picture.h"
#include "temp_folder.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr DWORD kQuality75 = 7500;
// The budget that keeps a 20-minute clip at 30 fps under 2,013,265,920 bytes.
constexpr size_t kMaxAverageFrameBytes = 55000;

BITMAPINFOHEADER RgbHeader(int width, int height, WORD bits = 24) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = bits;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(lumjpeg::DibBytes(width, height < 0 ? -height : height));
  return h;
}

std::vector<unsigned char> CameraFrame(uint32_t number, int width = kWidth, int height = kHeight) {
  std::vector<unsigned char> frame(simcam::FrameBytes(simcam::PixelFormat::Rgb24, width, height));
  simcam::DrawFrame(frame.data(), simcam::PixelFormat::Rgb24, width, height, number);
  return frame;
}

double MeanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int{a[i]} - int{b[i]});
  return sum / static_cast<double>(a.size());
}

class Lumjpeg : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(::ICInstall(ICTYPE_VIDEO, lumjpeg::kFourcc,
                            reinterpret_cast<LPARAM>(&lumjpeg::DriverProc), nullptr,
                            ICINSTALL_FUNCTION));
  }
  static void TearDownTestSuite() { ::ICRemove(ICTYPE_VIDEO, lumjpeg::kFourcc, 0); }

  void SetUp() override {
    hic = ::ICOpen(ICTYPE_VIDEO, lumjpeg::kFourcc, ICMODE_COMPRESS);
    ASSERT_NE(hic, nullptr);
  }
  void TearDown() override {
    if (hic) ::ICClose(hic);
  }

  // One frame through ICCompress: the JPEG bytes, its flags and header.
  std::vector<unsigned char> Compress(const std::vector<unsigned char>& frame, DWORD quality,
                                      DWORD* flags = nullptr) {
    BITMAPINFOHEADER in = RgbHeader(kWidth, kHeight);
    BITMAPINFOHEADER out{};
    EXPECT_EQ(ICCompressGetFormat(hic, &in, &out), ICERR_OK);
    std::vector<unsigned char> jpeg(ICCompressGetSize(hic, &in, &out));
    EXPECT_EQ(ICCompressBegin(hic, &in, &out), ICERR_OK);
    DWORD frameFlags = 0, ckid = 0;
    const DWORD result = ::ICCompress(hic, ICCOMPRESS_KEYFRAME, &out, jpeg.data(), &in,
                                      const_cast<unsigned char*>(frame.data()), &ckid, &frameFlags,
                                      0, 0, quality, nullptr, nullptr);
    ICCompressEnd(hic);
    EXPECT_EQ(result, static_cast<DWORD>(ICERR_OK));
    if (flags) *flags = frameFlags;
    jpeg.resize(result == ICERR_OK ? out.biSizeImage : 0);
    return jpeg;
  }

  HIC hic = nullptr;
};

TEST_F(Lumjpeg, TakesOnly24BitFramesAndDescribesItself) {
  ICINFO info{};
  ASSERT_EQ(::ICGetInfo(hic, &info, sizeof info), sizeof info);
  EXPECT_EQ(info.fccHandler, lumjpeg::kFourcc);
  EXPECT_STREQ(info.szDescription, L"lumjpeg");
  EXPECT_TRUE(info.dwFlags & VIDCF_QUALITY);
  DWORD quality = 0;
  EXPECT_EQ(::ICSendMessage(hic, ICM_GETDEFAULTQUALITY, reinterpret_cast<DWORD_PTR>(&quality), 0),
            ICERR_OK);
  EXPECT_EQ(quality, kQuality75);

  BITMAPINFOHEADER rgb24 = RgbHeader(kWidth, kHeight), topDown = RgbHeader(kWidth, -kHeight);
  BITMAPINFOHEADER rgb32 = RgbHeader(kWidth, kHeight, 32), rgb16 = RgbHeader(kWidth, kHeight, 16);
  EXPECT_EQ(ICCompressQuery(hic, &rgb24, nullptr), ICERR_OK);
  EXPECT_EQ(ICCompressQuery(hic, &topDown, nullptr), ICERR_OK);
  EXPECT_EQ(ICCompressQuery(hic, &rgb32, nullptr), ICERR_BADFORMAT);
  EXPECT_EQ(ICCompressQuery(hic, &rgb16, nullptr), ICERR_BADFORMAT);
  BITMAPINFOHEADER huge = RgbHeader(5000, 10);
  EXPECT_EQ(ICCompressQuery(hic, &huge, nullptr), ICERR_BADFORMAT);

  BITMAPINFOHEADER out{};
  ASSERT_EQ(ICCompressGetFormat(hic, &rgb24, &out), ICERR_OK);
  EXPECT_EQ(out.biCompression, lumjpeg::kFourcc);
  EXPECT_EQ(out.biWidth, kWidth);
  EXPECT_EQ(out.biHeight, kHeight);
  EXPECT_EQ(ICCompressQuery(hic, &rgb24, &out), ICERR_OK);
  EXPECT_EQ(ICDecompressQuery(hic, &out, &rgb24), ICERR_OK);
  EXPECT_EQ(ICDecompressQuery(hic, &rgb24, nullptr), ICERR_BADFORMAT);
}

// A camera frame becomes one baseline JPEG key frame, within the size
// budget, and decompresses close to the original, bottom row first.
TEST_F(Lumjpeg, FramesRoundTripAsKeyFrames) {
  const auto frame = CameraFrame(1234);
  DWORD flags = 0;
  const auto jpeg = Compress(frame, kQuality75, &flags);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(flags & AVIIF_KEYFRAME, static_cast<DWORD>(AVIIF_KEYFRAME));
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(jpeg[2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  EXPECT_LE(jpeg.size(), kMaxAverageFrameBytes);

  BITMAPINFOHEADER in{};
  BITMAPINFOHEADER rgb = RgbHeader(kWidth, kHeight);
  ASSERT_EQ(ICCompressGetFormat(hic, &rgb, &in), ICERR_OK);
  in.biSizeImage = static_cast<DWORD>(jpeg.size());
  std::vector<unsigned char> decoded(frame.size());
  ASSERT_EQ(ICDecompressBegin(hic, &in, &rgb), ICERR_OK);
  ASSERT_EQ(
      ::ICDecompress(hic, 0, &in, const_cast<unsigned char*>(jpeg.data()), &rgb, decoded.data()),
      static_cast<DWORD>(ICERR_OK));
  ICDecompressEnd(hic);
  EXPECT_LT(MeanDifference(frame, decoded), 3.0);
  // The stamped frame number (black and white pixels in the bottom rows)
  // survives, so the rows are in the right order.
  EXPECT_EQ(simcam::ReadFrameNumber(decoded.data(), simcam::PixelFormat::Rgb24), 1234u);
}

TEST_F(Lumjpeg, QualityTradesSizeForFidelity) {
  const auto frame = CameraFrame(7);
  const size_t low = Compress(frame, 2500).size();
  const size_t mid = Compress(frame, kQuality75).size();
  const size_t high = Compress(frame, 10000).size();
  EXPECT_LT(low, mid);
  EXPECT_LT(mid, high);
  // The "default" quality of the codec service is 75.
  EXPECT_EQ(Compress(frame, static_cast<DWORD>(-1)).size(), mid);
}

TEST_F(Lumjpeg, BrokenDataFailsWithoutHarm) {
  BITMAPINFOHEADER rgb = RgbHeader(kWidth, kHeight);
  BITMAPINFOHEADER in{};
  ASSERT_EQ(ICCompressGetFormat(hic, &rgb, &in), ICERR_OK);
  std::vector<unsigned char> decoded(rgb.biSizeImage);
  auto jpeg = Compress(CameraFrame(3), kQuality75);
  // Cut short, garbage, and a picture of another size.
  in.biSizeImage = static_cast<DWORD>(jpeg.size() / 3);
  EXPECT_NE(::ICDecompress(hic, 0, &in, jpeg.data(), &rgb, decoded.data()),
            static_cast<DWORD>(ICERR_OK));
  std::vector<unsigned char> garbage(5000, 0x5A);
  in.biSizeImage = static_cast<DWORD>(garbage.size());
  EXPECT_NE(::ICDecompress(hic, 0, &in, garbage.data(), &rgb, decoded.data()),
            static_cast<DWORD>(ICERR_OK));
  BITMAPINFOHEADER small = RgbHeader(320, 240);
  in.biSizeImage = static_cast<DWORD>(jpeg.size());
  EXPECT_NE(::ICDecompress(hic, 0, &in, jpeg.data(), &small, decoded.data()),
            static_cast<DWORD>(ICERR_OK));
}

// The AVI service writes an 'MJPG' stream of key frames with the codec,
// and reads the frames back decompressed.
TEST_F(Lumjpeg, ClipThroughTheAviService) {
  testing_win::TempFolder folder;
  const std::filesystem::path clip = folder.Path() / L"clip.avi";
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  ASSERT_EQ(::AVIFileOpenW(&file, clip.c_str(), OF_CREATE | OF_WRITE, nullptr), AVIERR_OK);
  AVISTREAMINFOW info{};
  info.fccType = streamtypeVIDEO;
  info.fccHandler = lumjpeg::kFourcc;
  info.dwScale = 1;
  info.dwRate = 30;
  ::SetRect(&info.rcFrame, 0, 0, kWidth, kHeight);
  PAVISTREAM stream = nullptr, compressed = nullptr;
  ASSERT_EQ(::AVIFileCreateStreamW(file, &stream, &info), AVIERR_OK);
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = lumjpeg::kFourcc;
  options.dwQuality = kQuality75;
  options.dwFlags = AVICOMPRESSF_VALID;
  ASSERT_EQ(::AVIMakeCompressedStream(&compressed, stream, &options, nullptr), AVIERR_OK);
  BITMAPINFOHEADER header = RgbHeader(kWidth, kHeight);
  ASSERT_EQ(::AVIStreamSetFormat(compressed, 0, &header, sizeof header), AVIERR_OK);
  constexpr int kFrames = 30;
  for (int i = 0; i < kFrames; ++i) {
    auto frame = CameraFrame(static_cast<uint32_t>(i) * 5);
    ASSERT_EQ(::AVIStreamWrite(compressed, i, 1, frame.data(), static_cast<LONG>(frame.size()),
                               AVIIF_KEYFRAME, nullptr, nullptr),
              AVIERR_OK);
  }
  ::AVIStreamRelease(compressed);
  ::AVIStreamRelease(stream);
  ::AVIFileRelease(file);

  const testing_win::AviFile avi = testing_win::ReadAvi(clip);
  ASSERT_EQ(avi.streams.size(), 1u);
  EXPECT_EQ(avi.streams[0].handler, lumjpeg::kFourcc);
  ASSERT_GE(avi.streams[0].format.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER strf;
  std::memcpy(&strf, avi.streams[0].format.data(), sizeof strf);
  EXPECT_EQ(strf.biCompression, lumjpeg::kFourcc);
  const auto chunks = avi.ChunksOf(0);
  ASSERT_EQ(chunks.size(), static_cast<size_t>(kFrames));
  size_t total = 0;
  for (const auto* chunk : chunks) total += chunk->data.size();
  EXPECT_LE(total / chunks.size(), kMaxAverageFrameBytes);

  // Read back through the service, which decompresses with the codec.
  PAVIFILE reread = nullptr;
  ASSERT_EQ(::AVIFileOpenW(&reread, clip.c_str(), OF_READ, nullptr), AVIERR_OK);
  PAVISTREAM video = nullptr;
  ASSERT_EQ(::AVIFileGetStream(reread, &video, streamtypeVIDEO, 0), AVIERR_OK);
  PGETFRAME frames = ::AVIStreamGetFrameOpen(video, nullptr);
  ASSERT_NE(frames, nullptr);
  const auto* picture = static_cast<const BITMAPINFOHEADER*>(::AVIStreamGetFrame(frames, 4));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->biWidth, kWidth);
  const auto* pixels = reinterpret_cast<const unsigned char*>(picture) + picture->biSize +
                       picture->biClrUsed * sizeof(RGBQUAD);
  if (picture->biBitCount == 24) {
    EXPECT_EQ(simcam::ReadFrameNumber(pixels, simcam::PixelFormat::Rgb24), 20u);
  }
  ::AVIStreamGetFrameClose(frames);
  ::AVIStreamRelease(video);
  ::AVIFileRelease(reread);
  ::AVIFileExit();
}

}  // namespace

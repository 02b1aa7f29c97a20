// Thumbnails of the album's files: JPEG pictures decoded at reduced size
// look as the platform's picture object draws them whole, and the worker
// that makes thumbnails drops what was asked for an album that was left.
#include <windows.h>

#include <olectl.h>

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "album/picture_file.h"
#include "album/thumbnail_maker.h"
#include "album/thumbnail_worker.h"
#include "gradient_jpeg.h"
#include "solid_bmp.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The pixels of a bitmap, top row first, 4 bytes each (blue, green, red).
std::vector<BYTE> PixelsOf(HBITMAP bitmap, SIZE size) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> pixels(static_cast<std::size_t>(size.cx) * size.cy * 4);
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &bi,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != size.cy) pixels.clear();
  return pixels;
}

// The picture object's rendering of the whole picture into the box, as the
// cells drew JPEG pictures before they were decoded at reduced size.
std::vector<BYTE> RenderedWhole(const fs::path& path, SIZE box) {
  base::ComPtr<IPicture> picture;
  if (LoadPictureFile(path.wstring(), picture) != PictureLoad::kLoaded) return {};
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, box.cx, box.cy);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  const HRESULT hr = RenderWhole(*picture.Get(), dc, box.cx, box.cy);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  std::vector<BYTE> pixels = SUCCEEDED(hr) ? PixelsOf(bitmap, box) : std::vector<BYTE>{};
  ::DeleteObject(bitmap);
  return pixels;
}

struct Difference {
  double mean = 0;
  int most = 0;
};

Difference Compare(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
  Difference d;
  long long sum = 0;
  int count = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (i % 4 == 3) continue;  // the unused byte
    const int diff = std::abs(a[i] - b[i]);
    sum += diff;
    d.most = diff > d.most ? diff : d.most;
    ++count;
  }
  d.mean = count ? static_cast<double>(sum) / count : 0;
  return d;
}

TEST(JpegThumbnail, ReducedDecodeLooksLikeTheWholePictureStretched) {
  testing_win::TempFolder folder;
  const fs::path jpeg = folder.Path() / L"P0000001.JPG";
  ASSERT_TRUE(testing_win::WriteGradientJpeg(jpeg, 640, 480));
  // Large icons (decoded at 1/4), small icons (1/8) and details (1/8), and a
  // picture smaller than its box (whole, stretched up).
  for (const SIZE box : {SIZE{120, 90}, SIZE{80, 60}, SIZE{40, 30}, SIZE{800, 600}}) {
    const Thumbnail thumbnail = MakeThumbnail(jpeg.wstring(), ThumbnailSource::kPicture, box);
    ASSERT_EQ(thumbnail.status, ThumbnailStatus::kMade) << box.cx;
    const std::vector<BYTE> made = PixelsOf(thumbnail.bitmap.Get(), box);
    const std::vector<BYTE> whole = RenderedWhole(jpeg, box);
    ASSERT_FALSE(made.empty());
    ASSERT_EQ(made.size(), whole.size());
    const Difference d = Compare(made, whole);
    EXPECT_LT(d.mean, 2.0) << box.cx;
    EXPECT_LE(d.most, 12) << box.cx;
  }
}

// What libjpeg cannot read still shows as the picture object draws it: here
// a bitmap file that was given a .jpg name.
TEST(JpegThumbnail, OtherPicturesUnderAJpegNameStillShow) {
  testing_win::TempFolder folder;
  const fs::path renamed = folder.Path() / L"renamed.jpg";
  testing_win::WriteSolidBmp(renamed, 64, 48, 0x60);
  const Thumbnail thumbnail = MakeThumbnail(renamed.wstring(), ThumbnailSource::kPicture, {80, 60});
  ASSERT_EQ(thumbnail.status, ThumbnailStatus::kMade);
  const std::vector<BYTE> pixels = PixelsOf(thumbnail.bitmap.Get(), {80, 60});
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[0], 0x60);
  EXPECT_EQ(pixels[pixels.size() - 2], 0x60);

  const Thumbnail missing =
      MakeThumbnail((folder.Path() / L"gone.jpg").wstring(), ThumbnailSource::kPicture, {80, 60});
  EXPECT_EQ(missing.status, ThumbnailStatus::kCannotOpen);
  EXPECT_FALSE(missing.bitmap);
}

// Every job queued before Cancel is dropped, with the result of the one the
// thread had under way; the job queued after it is made.
TEST(ThumbnailWorker, CancelDropsEverythingAskedBeforeIt) {
  testing_win::TempFolder folder;
  std::vector<fs::path> left;
  for (int i = 0; i < 20; ++i) {
    left.push_back(folder.Path() / (L"left" + std::to_wstring(i) + L".bmp"));
    testing_win::WriteSolidBmp(left.back(), 800, 600, 0x10);
  }
  const fs::path shown = folder.Path() / L"shown.bmp";
  testing_win::WriteSolidBmp(shown, 64, 48, 0xC0);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
  ASSERT_NE(window, nullptr);
  std::vector<ThumbnailDone> done;
  {
    ThumbnailWorker worker(window, WM_APP + 1);
    unsigned ticket = 0;
    for (const fs::path& p : left)
      ASSERT_TRUE(worker.Queue({++ticket, p.wstring(), ThumbnailSource::kBitmapFile, {120, 90}}, false));
    ::Sleep(5);  // the thread is at work on one of them
    worker.Cancel();
    ASSERT_TRUE(worker.Queue({100, shown.wstring(), ThumbnailSource::kBitmapFile, {120, 90}}, true));
    for (int i = 0; i < 500 && (worker.Busy() || done.empty()); ++i) {
      for (ThumbnailDone& d : worker.Take()) done.push_back(std::move(d));
      ::Sleep(10);
    }
  }
  ::DestroyWindow(window);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].ticket, 100u);
  EXPECT_EQ(done[0].path, shown.wstring());
  ASSERT_EQ(done[0].thumbnail.status, ThumbnailStatus::kMade);
  const std::vector<BYTE> pixels = PixelsOf(done[0].thumbnail.bitmap.Get(), {120, 90});
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[0], 0xC0);
}

}  // namespace

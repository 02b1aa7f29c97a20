#include "jpeg_thumbnail.h"

#include <new>

#include "jpeg_errors.h"

namespace lumjpeg {
namespace {

// Progressive files with thousands of tiny scans take minutes to decode;
// real ones have a dozen or so.
constexpr int kMaxScans = 500;
// Decoded pictures beyond this many pixels are refused.
constexpr std::size_t kMaxPixels = std::size_t{64} << 20;

struct Progress {
  jpeg_progress_mgr manager{};
  const std::atomic<bool>* cancel = nullptr;
};

void OnProgress(j_common_ptr cinfo) {
  const auto* progress = reinterpret_cast<const Progress*>(cinfo->progress);
  if (progress->cancel && progress->cancel->load(std::memory_order_relaxed)) FailJpeg(cinfo);
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) FailJpeg(cinfo);
}

// No object with a destructor lives in these two frames, so the jump back
// to setjmp skips nothing that needs cleaning up.
bool ReadHeader(jpeg_decompress_struct& cinfo, JpegErrors& errors, Progress& progress,
                const std::uint8_t* data, std::size_t size, int minWidth, int minHeight) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress.manager;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) return false;
  cinfo.out_color_space = JCS_EXT_BGRX;
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(ScaleDenominator(
      static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height), minWidth, minHeight));
  jpeg_calc_output_dimensions(&cinfo);
  return cinfo.output_width > 0 && cinfo.output_height > 0 &&
         static_cast<std::size_t>(cinfo.output_width) * cinfo.output_height <= kMaxPixels;
}

bool ReadRows(jpeg_decompress_struct& cinfo, JpegErrors& errors, std::uint8_t* out) {
  if (setjmp(errors.jump)) return false;
  jpeg_start_decompress(&cinfo);
  const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 4;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out + cinfo.output_scanline * stride;
    if (jpeg_read_scanlines(&cinfo, &row, 1) == 0) return false;
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

int ScaleDenominator(int width, int height, int minWidth, int minHeight) {
  int denominator = 8;
  while (denominator > 1 &&
         (width / denominator < minWidth || height / denominator < minHeight)) {
    denominator /= 2;
  }
  return denominator;
}

bool DecodeScaled(const std::uint8_t* data, std::size_t size, int minWidth, int minHeight,
                  const std::atomic<bool>* cancel, ScaledPicture& out) {
  if (!data || size == 0) return false;
  jpeg_decompress_struct cinfo{};
  JpegErrors errors;
  InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  Progress progress;
  progress.manager.progress_monitor = OnProgress;
  progress.cancel = cancel;
  bool ok = ReadHeader(cinfo, errors, progress, data, size, minWidth, minHeight);
  if (ok) {
    try {
      out.width = static_cast<int>(cinfo.output_width);
      out.height = static_cast<int>(cinfo.output_height);
      out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  ok = ok && ReadRows(cinfo, errors, out.pixels.data());
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

}  // namespace lumjpeg

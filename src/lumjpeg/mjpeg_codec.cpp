#include "mjpeg_codec.h"

#include "jpeg_errors.h"

namespace lumjpeg {
namespace {

constexpr int kDefaultQuality = 75;
constexpr std::uint32_t kMaxCodecQuality = 10000;
// Rows handed to libjpeg per call: one MCU row of 4:2:0 samples.
constexpr int kRowBatch = 16;

// The compressed data go straight into the caller's buffer; running out of
// room fails the frame instead of growing anything.
struct FixedDestination {
  jpeg_destination_mgr manager{};
  std::uint8_t* start = nullptr;
  std::size_t capacity = 0;
};

void InitDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<FixedDestination*>(cinfo->dest);
  d->manager.next_output_byte = d->start;
  d->manager.free_in_buffer = d->capacity;
}

boolean BufferFull(j_compress_ptr cinfo) {
  ERREXIT(cinfo, JERR_BUFFER_SIZE);
  return FALSE;
}

void TermDestination(j_compress_ptr) {}

// Row `y` of the picture (0 at the top) in a frame stored either way round.
std::uint8_t* RowOf(std::uint8_t* frame, int y, int height, std::size_t stride, bool bottomUp) {
  return frame + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * stride;
}

// No object with a destructor lives in these two frames, so the jump back
// to setjmp skips nothing that needs cleaning up.
bool RunEncode(jpeg_compress_struct& cinfo, JpegErrors& errors, FixedDestination& dest,
               const std::uint8_t* pixels, int width, int height, bool bottomUp, int quality) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_compress(&cinfo);
  cinfo.dest = &dest.manager;
  dest.manager.init_destination = InitDestination;
  dest.manager.empty_output_buffer = BufferFull;
  dest.manager.term_destination = TermDestination;
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t stride = DibBytes(width, 1);
  // libjpeg takes rows as writable pointers but only reads them.
  auto* frame = const_cast<std::uint8_t*>(pixels);
  JSAMPROW rows[kRowBatch];
  while (cinfo.next_scanline < cinfo.image_height) {
    int n = 0;
    for (; n < kRowBatch && cinfo.next_scanline + n < cinfo.image_height; ++n) {
      rows[n] = RowOf(frame, static_cast<int>(cinfo.next_scanline) + n, height, stride, bottomUp);
    }
    jpeg_write_scanlines(&cinfo, rows, static_cast<JDIMENSION>(n));
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

bool RunDecode(jpeg_decompress_struct& cinfo, JpegErrors& errors, const std::uint8_t* data,
               std::size_t size, int width, int height, bool bottomUp, std::uint8_t* out) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width != static_cast<JDIMENSION>(width) ||
      cinfo.image_height != static_cast<JDIMENSION>(height) || cinfo.num_components != 3) {
    return false;
  }
  cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  const std::size_t stride = DibBytes(width, 1);
  JSAMPROW rows[kRowBatch];
  while (cinfo.output_scanline < cinfo.output_height) {
    int n = 0;
    for (; n < kRowBatch && cinfo.output_scanline + n < cinfo.output_height; ++n) {
      rows[n] = RowOf(out, static_cast<int>(cinfo.output_scanline) + n, height, stride, bottomUp);
    }
    const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(n));
    if (got == 0) return false;
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool IsFrameSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

std::size_t DibBytes(int width, int height) {
  return ((static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}) *
         static_cast<std::size_t>(height);
}

// Whole 16 x 16 blocks of samples at 3 bytes per pixel, and room for the
// headers and tables.
std::size_t MaxJpegBytes(int width, int height) {
  const std::size_t w = (static_cast<std::size_t>(width) + 15) & ~std::size_t{15};
  const std::size_t h = (static_cast<std::size_t>(height) + 15) & ~std::size_t{15};
  return w * h * 3 + 2048;
}

int JpegQuality(std::uint32_t codecQuality) {
  if (codecQuality > kMaxCodecQuality) return kDefaultQuality;
  const int q = static_cast<int>((codecQuality + 50) / 100);
  return q < 1 ? 1 : q;
}

std::size_t EncodeFrame(const std::uint8_t* pixels, int width, int height, bool bottomUp,
                        int quality, std::uint8_t* out, std::size_t capacity) {
  if (!pixels || !out || !IsFrameSize(width, height)) return 0;
  jpeg_compress_struct cinfo{};
  JpegErrors errors;
  InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  FixedDestination dest;
  dest.start = out;
  dest.capacity = capacity;
  const bool ok = RunEncode(cinfo, errors, dest, pixels, width, height, bottomUp, quality);
  jpeg_destroy_compress(&cinfo);
  return ok ? capacity - dest.manager.free_in_buffer : 0;
}

bool DecodeFrame(const std::uint8_t* data, std::size_t size, int width, int height, bool bottomUp,
                 std::uint8_t* out, std::size_t capacity) {
  if (!data || !out || size == 0 || !IsFrameSize(width, height) ||
      capacity < DibBytes(width, height)) {
    return false;
  }
  jpeg_decompress_struct cinfo{};
  JpegErrors errors;
  InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  const bool ok = RunDecode(cinfo, errors, data, size, width, height, bottomUp, out);
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

}  // namespace lumjpeg

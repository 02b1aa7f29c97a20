#include "jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace zimg {
namespace {

// libjpeg's own error handler ends the process; this one jumps back to the
// call that began the work, which then reports failure.
struct JpegErrors {
  jpeg_error_mgr manager{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump;
};

// Progressive files with thousands of tiny scans take minutes to decode;
// real ones have a dozen or so.
constexpr int kMaxScans = 500;

[[noreturn]] void FailJpeg(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Warnings are silent, except data that end before the picture does: a
// truncated file is a failed read, not a grey lower half.
void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) FailJpeg(cinfo);
}

void OnJpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    FailJpeg(cinfo);
}

void InstallErrors(j_common_ptr cinfo, JpegErrors& errors) {
  cinfo->err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = FailJpeg;
  errors.manager.emit_message = OnJpegMessage;
  errors.manager.output_message = [](j_common_ptr) {};
  errors.progress.progress_monitor = OnJpegProgress;
}

// Print-shop JPEGs store ink amounts; Adobe's files store them inverted.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool adobe) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const int k = adobe ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const int ink = adobe ? cmyk[2 - c] : 255 - cmyk[2 - c];
      bgr[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
    }
  }
}

// The libjpeg calls of one decode. No object with a destructor lives in this
// frame, so the jump back to setjmp skips nothing that needs cleaning up.
bool RunDecode(jpeg_decompress_struct& cinfo, JpegErrors& errors, const std::uint8_t* data,
               std::size_t size, Picture& picture) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &errors.progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  if (cinfo.image_width > static_cast<JDIMENSION>(kMaxSide) ||
      cinfo.image_height > static_cast<JDIMENSION>(kMaxSide) ||
      !picture.Allocate(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)))
    return false;
  jpeg_start_decompress(&cinfo);
  // CMYK rows go through a row of libjpeg's own memory, freed with cinfo.
  JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                         JPOOL_IMAGE, cinfo.output_width * 4, 1)
                            : nullptr;
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint8_t* out = picture.TopRow(static_cast<int>(cinfo.output_scanline));
    JSAMPROW row = cmyk ? cmykRow[0] : out;
    jpeg_read_scanlines(&cinfo, &row, 1);
    if (cmyk) CmykToBgr(row, out, picture.width, cinfo.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

bool RunEncode(jpeg_compress_struct& cinfo, JpegErrors& errors, const Picture& picture,
               int quality, unsigned char** buffer, unsigned long* size) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // libjpeg takes rows as writable pointers but only reads them.
    JSAMPROW row = const_cast<std::uint8_t*>(picture.TopRow(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

std::optional<Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  jpeg_decompress_struct cinfo{};
  JpegErrors errors;
  InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  Picture picture;
  const bool ok = RunDecode(cinfo, errors, data, size, picture);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) return {};
  return picture;
}

std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Picture& picture, int quality) {
  jpeg_compress_struct cinfo{};
  JpegErrors errors;
  InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = RunEncode(cinfo, errors, picture, quality, &buffer, &size);
  jpeg_destroy_compress(&cinfo);
  std::optional<std::vector<std::uint8_t>> result;
  try {
    if (ok) result.emplace(buffer, buffer + size);
  } catch (const std::bad_alloc&) {
    result.reset();
  }
  std::free(buffer);  // jpeg_mem_dest allocates with malloc
  return result;
}

}  // namespace zimg

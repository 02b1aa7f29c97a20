#pragma once
// libjpeg's own error handler ends the process; this one jumps back to the
// call that began the work, which then reports failure. The function that
// calls setjmp must hold no object with a destructor.
#include <csetjmp>
#include <cstdio>
// libjpeg's header needs FILE declared before it.
// clang-format off
#include <jerror.h>
#include <jpeglib.h>
// clang-format on

namespace lumjpeg {

struct JpegErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf jump;
};

[[noreturn]] inline void FailJpeg(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Data that end before the picture does fail the work rather than leaving
// the lower part of the picture grey; other warnings are silent.
inline void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) FailJpeg(cinfo);
}

inline void InstallErrors(j_common_ptr cinfo, JpegErrors& errors) {
  cinfo->err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = FailJpeg;
  errors.manager.emit_message = OnJpegMessage;
  errors.manager.output_message = [](j_common_ptr) {};
}

}  // namespace lumjpeg

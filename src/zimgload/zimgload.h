#pragma once
// The entries of ZImgLoad.dll, the program's BMP and JPEG library. A picture
// loaded with ZLoadImg is written once with ZSaveImg, which also frees it.
#include <windows.h>

enum ZImgFormat : int {
  kZImgBmp = 0,   // 24-bit bottom-up bitmap, 40-byte header, no colour table
  kZImgJpeg = 1,  // JPEG at quality 90
};

extern "C" {
// The picture in a JPEG or bitmap file (1, 4, 8, 24 or 32 bits); null when the
// file is missing, unreadable or malformed. Exported at ordinal 2.
void* WINAPI ZLoadImg(const char* path) noexcept;
// Writes the picture to `path` in `format` and frees it; the low byte of the
// result is non-zero when the file was written. An unknown or already used
// handle gives 0. Exported at ordinal 3.
int WINAPI ZSaveImg(void* picture, const char* path, int format) noexcept;
}

using ZLoadImgFn = void*(WINAPI*)(const char*);
using ZSaveImgFn = int(WINAPI*)(void*, const char*, int);

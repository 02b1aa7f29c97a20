#pragma once
// The Video for Windows driver entry of the lumjpeg compressor (FOURCC
// MJPG): 24-bit frames in, one baseline JPEG per frame out, every frame a
// key frame; it also decompresses, so clips play back through the platform.
#include <windows.h>

namespace lumjpeg {

inline constexpr DWORD kFourcc = mmioFOURCC('M', 'J', 'P', 'G');
inline constexpr wchar_t kName[] = L"lumjpeg";

// The driver procedure the platform calls (exported as DriverProc).
LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM lParam1,
                            LPARAM lParam2);

}  // namespace lumjpeg

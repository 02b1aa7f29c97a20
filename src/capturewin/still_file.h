#pragma once
// Still pictures written from a frame buffer (a 40-byte bitmap header
// followed by the pixels) into the capture folder: a temporary file first,
// then the first free "P%07d" name.
#include <windows.h>

#include <cstddef>
#include <string>

namespace capturewin {

// The folder of "CapturedImageFilePath" (the default album when the value is
// empty), created when missing.
std::wstring ImageFolder(const std::wstring& iniPath);

// Writes the frame as "<folder>\P%07d.BMP" through "<folder>\temp.bmp".
// Returns the final name; the empty text for a missing or malformed frame
// or when no number is free. A frame that could not be written completely
// is never renamed: the name returned then does not exist.
std::wstring WriteBmpStill(const unsigned char* dib, std::size_t bytes, const std::wstring& folder);

// Writes "<folder>\temp.BMP" and converts it to "<folder>\P%07d.JPG" with
// the image library "<programFolder>ZImgLoad.dll", loaded for this one
// conversion. Without the library the user is told (no caption, `owner`'s
// box) and the temporary file stays. Returns the final name, written or not;
// the empty text as WriteBmpStill does.
std::wstring WriteJpegStill(const unsigned char* dib, std::size_t bytes, const std::wstring& folder,
                            const std::wstring& programFolder, HWND owner);

}  // namespace capturewin

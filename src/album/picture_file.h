#pragma once
// JPEG pictures read through the platform's picture object: the whole file
// in a movable memory block, a stream on it, a picture made from the stream.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "base/com_ptr.h"
#include "base/handles.h"

enum class PictureLoad { kLoaded, kCannotOpen, kNotAPicture };

// Files of more than 256 MB, and JPEG files whose header declares a picture
// beyond the program's limits (core/jpeg_header.h), count as no picture.
PictureLoad LoadPictureFile(const std::wstring& path, base::ComPtr<IPicture>& picture);

// The whole picture drawn into (0, 0, width, height) of `dc`, stretched.
HRESULT RenderWhole(IPicture& picture, HDC dc, int width, int height);

// The picture of `path` rendered into a bitmap of its own size. The user is
// told (boxes owned by `owner`) when the file cannot be opened, is no
// picture, or cannot be rendered; the bitmap is then empty.
base::Bitmap LoadPictureBitmap(const std::wstring& path, HWND owner);

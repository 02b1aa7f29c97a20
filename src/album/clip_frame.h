#pragma once
// The first usable frame of a video clip, through the platform's AVI file
// service, as a device bitmap.
#include <windows.h>

#include <string>

#include "base/handles.h"

struct ClipFrame {
  base::Bitmap bitmap;  // empty when the clip cannot be opened or decoded
  int streams = 0;      // streams in the file: 2 when it carries sound
};

ClipFrame LoadClipFrame(const std::wstring& path);

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

// Thumbnails look among the first 90 frames and take the next frame when
// the chosen one starts with a black pixel; the import dialog's preview
// looks among the first 100 frames and takes the first usable one as it is.
enum class ClipFrameSearch { kThumbnail, kPreview };

ClipFrame LoadClipFrame(const std::wstring& path, ClipFrameSearch search = ClipFrameSearch::kThumbnail);

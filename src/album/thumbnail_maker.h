#pragma once
// Thumbnails of the album's files, made on any thread: a bitmap of the
// thumbnail box's size from a bitmap file (a 1-bit one at its own size, not
// scaled), the first usable frame of a clip, or a JPEG picture. Pictures are
// stretched to the box by dropping rows and columns, their own aspect ratio
// not kept.
#include <windows.h>

#include <atomic>
#include <string>

#include "base/handles.h"

enum class ThumbnailSource { kBitmapFile, kClip, kPicture };

enum class ThumbnailStatus {
  kMade,          // the bitmap holds the thumbnail
  kEmpty,         // nothing to show: damaged, unreadable or no picture
  kCannotOpen,    // a JPEG file that cannot be opened
  kRenderFailed,  // a picture that was read but could not be drawn
};

struct Thumbnail {
  ThumbnailStatus status = ThumbnailStatus::kEmpty;
  base::Bitmap bitmap;
  int streams = 0;  // clips: the streams in the file, 2 when it carries sound
};

// What reading a bitmap file of the album gives, told from its 14-byte file
// header and its length without reading the picture.
enum class BitmapFileCheck {
  kReadable,
  kNoBitmap,    // cannot be opened, or nothing behind the header: silently empty
  kReadFailed,  // header cut short, or a size field beyond the real file
};
BitmapFileCheck CheckBitmapFile(const std::wstring& path);

// `cancel`, once set, ends a long decode early with nothing made.
Thumbnail MakeThumbnail(const std::wstring& path, ThumbnailSource source, SIZE box,
                        const std::atomic<bool>* cancel = nullptr);

// The library's two entries: load a BMP or JPEG file into a picture, and
// write a picture as a bitmap or JPEG file.
#include "zimgload.h"

#include "base/strings.h"
#include "bmp_codec.h"
#include "base/file_io.h"
#include "jpeg_codec.h"
#include "picture_registry.h"

namespace {

// A file this large is no picture the program takes.
constexpr std::size_t kMaxFileBytes = std::size_t{512} << 20;

zimg::PictureRegistry& Registry() {
  static zimg::PictureRegistry registry;
  return registry;
}

// Chosen by the file's first bytes, not by its name: albums hold files
// renamed by hand.
std::optional<zimg::Picture> ReadPicture(const std::wstring& path) {
  const auto bytes = base::ReadWholeFile(path, kMaxFileBytes);
  if (!bytes || bytes->size() < 2) return {};
  const std::uint8_t* data = bytes->data();
  if (data[0] == 'B' && data[1] == 'M') return zimg::ReadBmp(data, bytes->size());
  if (data[0] == 0xFF && data[1] == 0xD8) return zimg::DecodeJpeg(data, bytes->size());
  return {};
}

std::optional<std::vector<std::uint8_t>> Encode(const zimg::Picture& picture, int format) {
  switch (format) {
    case kZImgBmp:
      return zimg::WriteBmp(picture);
    case kZImgJpeg:
      return zimg::EncodeJpeg(picture, zimg::kJpegQuality);
    default:
      return {};
  }
}

}  // namespace

void* WINAPI ZLoadImg(const char* path) noexcept {
  try {
    if (path == nullptr) return nullptr;
    std::optional<zimg::Picture> picture = ReadPicture(base::Widen(path));
    if (!picture) return nullptr;
    return Registry().Add(std::make_unique<zimg::Picture>(std::move(*picture)));
  } catch (...) {
    return nullptr;
  }
}

int WINAPI ZSaveImg(void* handle, const char* path, int format) noexcept {
  try {
    // Taken out first: the caller passes each handle once, so the picture is
    // freed whether or not the write succeeds.
    const std::unique_ptr<zimg::Picture> picture = Registry().Take(handle);
    if (!picture || path == nullptr || *path == '\0') return 0;
    const auto bytes = Encode(*picture, format);
    return bytes && base::ReplaceFileWith(base::Widen(path), *bytes) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

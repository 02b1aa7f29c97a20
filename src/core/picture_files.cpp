#include "core/picture_files.h"

#include <cstdlib>

namespace core {
namespace {

wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool EndsWithNoCase(std::wstring_view path, std::wstring_view upperTail) {
  if (path.size() < upperTail.size()) return false;
  const std::wstring_view tail = path.substr(path.size() - upperTail.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (UpperAscii(tail[i]) != upperTail[i]) return false;
  }
  return true;
}

}  // namespace

PictureType PictureTypeOf(std::wstring_view path) {
  if (EndsWithNoCase(path, L"BMP")) return PictureType::kBmp;
  if (EndsWithNoCase(path, L"JPG")) return PictureType::kJpg;
  return PictureType::kOther;
}

bool IsClipName(std::wstring_view path) { return EndsWithNoCase(path, L"AVI"); }

bool IsEditableArea(std::int32_t width, std::int32_t height) {
  return std::int64_t{width} * std::llabs(std::int64_t{height}) <= kMaxEditableArea;
}

}  // namespace core

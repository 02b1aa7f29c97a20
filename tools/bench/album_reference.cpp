// The reference for the album benchmark (album_bench): on the same files, a
// plain listing of the folder (FindFirstFileW / FindNextFileW) and a plain
// decode of every file outside the file list, through the same platform
// services the thumbnails use: the bitmap file loaded as a bitmap, the
// first usable frame of a clip, a JPEG picture made into a picture object.
//   album_reference.exe FOLDER      (the files of album_bench --make)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "album/clip_frame.h"
#include "album/picture_file.h"
#include "base/handles.h"
#include "base/strings.h"
#include "bench_support.h"
#include "core/album_rules.h"
#include "imaging/dib_bitmap.h"

namespace {

constexpr int kListRounds = 5;

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  base::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileW(find.Get(), &found));
  return names;
}

// Decodes one file; false when it could not be decoded.
bool Decode(const std::wstring& path, core::AlbumFileKind kind) {
  switch (kind) {
    case core::AlbumFileKind::Bitmap:
      return static_cast<bool>(imaging::LoadBitmapFile(path));
    case core::AlbumFileKind::Video:
      return static_cast<bool>(LoadClipFrame(path, ClipFrameSearch::kPreview).bitmap);
    case core::AlbumFileKind::Jpeg: {
      base::ComPtr<IPicture> picture;
      return LoadPictureFile(path, picture) == PictureLoad::kLoaded;
    }
    default:
      return false;
  }
}

struct KindTotals {
  const char* name;
  core::AlbumFileKind kind;
  int files = 0, failed = 0;
  double ms = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::puts("album_reference.exe FOLDER");
    return 2;
  }
  const std::wstring folder = argv[1];
  const base::ComScope com;
  std::vector<std::wstring> names;
  const bench::Summary list = bench::Time(kListRounds, [&] { names = ListFolder(folder); });
  std::printf("plain listing of %zu files: %.1f ms (median of %d)\n", names.size(), list.median,
              kListRounds);

  KindTotals kinds[] = {{"bitmaps", core::AlbumFileKind::Bitmap},
                        {"clips", core::AlbumFileKind::Video},
                        {"JPEG pictures", core::AlbumFileKind::Jpeg}};
  double total = 0;
  int decoded = 0;
  for (const std::wstring& name : names) {
    const core::AlbumFileKind kind = core::KindOfFile(base::Narrow(name));
    for (KindTotals& k : kinds) {
      if (k.kind != kind) continue;
      const double start = bench::NowMs();
      const bool ok = Decode(folder + L"\\" + name, kind);
      const double ms = bench::NowMs() - start;
      ++k.files;
      k.failed += ok ? 0 : 1;
      k.ms += ms;
      total += ms;
      ++decoded;
    }
  }
  for (const KindTotals& k : kinds) {
    std::printf("plain decode of %d %s: %.2f ms each (%d failed)\n", k.files, k.name,
                k.files ? k.ms / k.files : 0.0, k.failed);
  }
  bench::PrintFigure("album.files", static_cast<double>(names.size()));
  bench::PrintFigure("album.list_ms", list.median);
  bench::PrintFigure("album.decode_ms_per_file", decoded ? total / decoded : 0.0);
  return decoded > 0 ? 0 : 1;
}

#include "test_pictures.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

#include "lumora_session.h"

namespace e2e {

namespace fs = std::filesystem;

// Every pixel tells where it came from.
Picture Pattern(int width, int height) {
  Picture p{width, height, std::vector<unsigned char>(static_cast<size_t>(width * height * 3))};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* px = p.At(x, y);
      px[0] = static_cast<unsigned char>(x * 5);
      px[1] = static_cast<unsigned char>(y * 7);
      px[2] = 100;
    }
  }
  return p;
}

size_t Stride(int width) { return static_cast<size_t>((width * 24 + 31) / 32 * 4); }

void WriteBmp(const fs::path& path, const Picture& p, size_t fileBytes) {
  const size_t stride = Stride(p.width), image = stride * static_cast<size_t>(p.height);
  std::vector<unsigned char> file(std::max(54 + image, fileBytes), 0);
  const auto put = [&](size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + static_cast<size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<std::uint32_t>(54 + image), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(p.width), 4);
  put(22, static_cast<std::uint32_t>(p.height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < p.height; ++y) {
    std::copy_n(p.At(0, y), p.width * 3, &file[54 + static_cast<size_t>(p.height - 1 - y) * stride]);
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                               static_cast<std::streamsize>(file.size()));
}

// A 24-bit bottom-up bitmap file with a 40-byte header; empty otherwise.
Picture ReadBmp(const fs::path& path) {
  const auto b = ReadAll(path);
  if (b.size() < 54 || b[0] != 'B' || b[28] != 24) return {};
  const auto i32 = [&](size_t at) {
    return static_cast<int>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<unsigned>(b[at + 3]) << 24);
  };
  Picture p{i32(18), i32(22), {}};
  if (p.width <= 0 || p.height <= 0 || b.size() < 54 + Stride(p.width) * static_cast<size_t>(p.height)) return {};
  p.bgr.resize(static_cast<size_t>(p.width * p.height * 3));
  for (int y = 0; y < p.height; ++y) {
    std::copy_n(&b[54 + static_cast<size_t>(p.height - 1 - y) * Stride(p.width)], p.width * 3, p.At(0, y));
  }
  return p;
}

std::vector<std::wstring> NamesInFolderOrder(const fs::path& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = ::FindFirstFileW((folder / pattern).wstring().c_str(), &found);
  for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(find, &found)) {
    names.push_back(found.cFileName);
  }
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  return names;
}

// Converts through the program's image library, as a user's JPEG camera would.
bool ConvertWithLibrary(const fs::path& from, const fs::path& to, int format) {
  HMODULE library = ::LoadLibraryW((BinFolder() + L"ZImgLoad.dll").c_str());
  using Load = void*(WINAPI*)(const char*);
  using Save = int(WINAPI*)(void*, const char*, int);
  const auto load = reinterpret_cast<Load>(reinterpret_cast<void*>(::GetProcAddress(library, "ZLoadImg")));
  const auto save = reinterpret_cast<Save>(reinterpret_cast<void*>(::GetProcAddress(library, "ZSaveImg")));
  const bool ok = load && save && (save(load(from.string().c_str()), to.string().c_str(), format) & 0xFF);
  if (library) ::FreeLibrary(library);
  return ok;
}

}  // namespace e2e

#include "zimg_support.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zimg_test {
namespace {

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace

HMODULE Library::Module() {
  static HMODULE module = ::LoadLibraryW((ProgramFolder() / L"ZImgLoad.dll").c_str());
  if (!module) throw std::runtime_error("ZImgLoad.dll does not load");
  return module;
}

void* Library::Load(const std::filesystem::path& file) {
  auto load = reinterpret_cast<ZLoadImgFn>(reinterpret_cast<void*>(::GetProcAddress(Module(), "ZLoadImg")));
  return load(file.string().c_str());
}

int Library::Save(void* picture, const std::filesystem::path& file, int format) {
  auto save = reinterpret_cast<ZSaveImgFn>(reinterpret_cast<void*>(::GetProcAddress(Module(), "ZSaveImg")));
  return save(picture, file.string().c_str(), format) & 0xFF;
}

Bytes ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path DataFile(const wchar_t* name) {
  return ProgramFolder() / L"zimgload-data" / name;
}

void PutU16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

Bytes BuildBmp(const BmpSpec& spec) {
  const auto offset = static_cast<std::uint32_t>(54 + spec.extra.size());
  Bytes out{'B', 'M'};
  PutU32(out, offset + static_cast<std::uint32_t>(spec.rows.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(spec.width));
  PutU32(out, static_cast<std::uint32_t>(spec.height));
  PutU16(out, 1);
  PutU16(out, spec.bits);
  PutU32(out, spec.compression);
  PutU32(out, static_cast<std::uint32_t>(spec.rows.size()));
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, spec.coloursUsed);
  PutU32(out, 0);
  out.insert(out.end(), spec.extra.begin(), spec.extra.end());
  out.insert(out.end(), spec.rows.begin(), spec.rows.end());
  return out;
}

BmpSpec PatternBmp(int width, int height, std::uint8_t padding) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  const int stride = (width * 3 + 3) & ~3;
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      spec.rows.push_back(static_cast<std::uint8_t>(x * 255 / width));
      spec.rows.push_back(static_cast<std::uint8_t>(row * 255 / height));
      spec.rows.push_back(static_cast<std::uint8_t>((x + row) * 255 / (width + height)));
    }
    spec.rows.insert(spec.rows.end(), static_cast<std::size_t>(stride - width * 3), padding);
  }
  return spec;
}

const std::uint8_t* PixelOf(const Bytes& bmp, int x, int y) {
  const auto width = static_cast<int>(U32At(bmp, 18));
  const auto height = static_cast<int>(U32At(bmp, 22));
  const int stride = (width * 3 + 3) & ~3;
  return bmp.data() + U32At(bmp, 10) + static_cast<std::size_t>(stride) * (height - 1 - y) + x * 3;
}

}  // namespace zimg_test

#include "test_dib.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace plugin_test {

TestDib::TestDib(int width, int height, unsigned seed, WORD bitCount, bool statedSize)
    : m_width(width), m_height(height) {
  const auto rows = static_cast<std::size_t>((width * bitCount / 8 + 3) & ~3) * height;
  m_bytes.assign(sizeof(BITMAPINFOHEADER) + rows, 0);
  std::mt19937 gen(seed);
  if (seed) std::generate(m_bytes.begin() + sizeof(BITMAPINFOHEADER), m_bytes.end(), gen);
  m_bytes.resize(m_bytes.size() + kGuard, kGuardByte);
  *header() = {sizeof(BITMAPINFOHEADER),
               width,
               height,
               1,
               bitCount,
               BI_RGB,
               statedSize ? static_cast<DWORD>(rows) : 0,
               0,
               0,
               0,
               0};
}

TestDib TestDib::FromFile(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(file), {}};
  TestDib dib;
  if (data.size() < 14 + sizeof(BITMAPINFOHEADER)) return dib;
  dib.m_bytes.assign(data.begin() + 14, data.end());
  dib.m_bytes.resize(dib.m_bytes.size() + kGuard, kGuardByte);
  dib.m_width = dib.header()->biWidth;
  dib.m_height = dib.header()->biHeight;
  return dib;
}

Bgr TestDib::at(int x, int y) const {
  const std::uint8_t* p = pixels() + static_cast<std::size_t>(y) * stride() + 3 * x;
  return {p[0], p[1], p[2]};
}

void TestDib::set(int x, int y, Bgr c) {
  std::uint8_t* p = pixels() + static_cast<std::size_t>(y) * stride() + 3 * x;
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

bool TestDib::GuardIntact() const {
  return std::all_of(m_bytes.end() - kGuard, m_bytes.end(),
                     [](std::uint8_t b) { return b == kGuardByte; });
}

}  // namespace plugin_test

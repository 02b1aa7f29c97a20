#pragma once
// A packed bitmap in memory as a host hands it to a plug-in, followed by
// guard bytes that no plug-in may touch.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace plugin_test {

struct Bgr {
  std::uint8_t b, g, r;
  bool operator==(const Bgr&) const = default;
};

class TestDib {
 public:
  // Pixels from `seed` (0: black). A zero image size field leaves the
  // plug-in to fill it in.
  explicit TestDib(int width, int height, unsigned seed = 0, WORD bitCount = 24,
                   bool statedSize = true);
  // A bitmap file's contents after its 14-byte file header; empty when unreadable.
  static TestDib FromFile(const std::wstring& path);

  BITMAPINFOHEADER* header() { return reinterpret_cast<BITMAPINFOHEADER*>(m_bytes.data()); }
  int width() const { return m_width; }
  int height() const { return m_height; }
  std::size_t stride() const { return (static_cast<std::size_t>(m_width) * 3 + 3) & ~3u; }
  std::uint8_t* pixels() { return m_bytes.data() + sizeof(BITMAPINFOHEADER); }
  const std::uint8_t* pixels() const { return m_bytes.data() + sizeof(BITMAPINFOHEADER); }
  Bgr at(int x, int y) const;
  void set(int x, int y, Bgr c);

  // Header, pixels and guard.
  const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
  bool GuardIntact() const;

 private:
  static constexpr std::size_t kGuard = 64;
  static constexpr std::uint8_t kGuardByte = 0xA5;
  TestDib() = default;

  int m_width = 0;
  int m_height = 0;
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace plugin_test

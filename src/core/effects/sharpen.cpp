#include "core/effects/sharpen.h"

namespace core::effects {
namespace {

// Unsigned arithmetic wraps where signed would overflow; the conversion back
// to signed is modular.
std::uint8_t HoldToByte(std::uint32_t sum) {
  const auto value = static_cast<std::int32_t>(sum);
  if (value > 255) return 255;
  if (value < 0) return 0;
  return static_cast<std::uint8_t>(value);
}

// One stored row from the rows before it, itself and after it, every
// kStep-th byte from `first` up to the last pixel but one. A fixed step lets
// the compiler vectorise the loop over all bytes.
template <std::size_t kStep>
void SharpenRow(const std::uint8_t* before, const std::uint8_t* row, const std::uint8_t* after,
                std::uint8_t* out, std::size_t first, std::size_t end,
                const std::array<std::uint32_t, 9>& c) {
  for (std::size_t i = first; i < end; i += kStep) {
    const std::uint32_t sum = c[0] * before[i - 3] + c[1] * before[i] + c[2] * before[i + 3] +
                              c[3] * row[i - 3] + c[4] * row[i] + c[5] * row[i + 3] +
                              c[6] * after[i - 3] + c[7] * after[i] + c[8] * after[i + 3];
    out[i] = HoldToByte(sum);
  }
}

}  // namespace

void Sharpen(const std::uint8_t* base, std::uint8_t* working, const Geometry& geometry,
             Channel channel, const Kernel& kernel) {
  if (geometry.width < 3) return;
  std::array<std::uint32_t, 9> c{};
  for (std::size_t i = 0; i < c.size(); ++i) c[i] = static_cast<std::uint32_t>(kernel[i]);
  // All bytes of the inner pixels, or every third one from the channel's byte.
  const std::array<bool, 3> bytes = BytesOf(channel);
  const bool all = channel == Channel::Rgb;
  const std::size_t first = 3 + (all ? 0 : (bytes[0] ? 0 : bytes[1] ? 1 : 2));
  const std::size_t end = static_cast<std::size_t>(geometry.width - 1) * 3;
  for (int y = 1; y < geometry.height - 1; ++y) {
    const std::uint8_t* before = base + geometry.Offset(0, y - 1);
    const std::uint8_t* row = base + geometry.Offset(0, y);
    const std::uint8_t* after = base + geometry.Offset(0, y + 1);
    std::uint8_t* out = working + geometry.Offset(0, y);
    if (all) {
      SharpenRow<1>(before, row, after, out, first, end, c);
    } else {
      SharpenRow<3>(before, row, after, out, first, end, c);
    }
  }
}

}  // namespace core::effects

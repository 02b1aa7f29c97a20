#include "core/player_rules.h"

#include <cwchar>
#include <iterator>

namespace core {

int CentredOffset(int outer, int inner) { return inner <= outer ? (outer - inner) / 2 : 0; }

std::wstring ClockText(std::int64_t milliseconds) {
  const std::int64_t seconds = milliseconds > 0 ? milliseconds / 1000 : 0;
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  wchar_t text[32];
  if (h > 0) {
    std::swprintf(text, std::size(text), L"%lld:%02lld:%02lld", h, m, s);
  } else {
    std::swprintf(text, std::size(text), L"%lld:%02lld", m, s);
  }
  return text;
}

std::wstring PositionText(std::int64_t elapsedMs, std::int64_t totalMs) {
  return ClockText(elapsedMs) + L" / " + ClockText(totalMs);
}

}  // namespace core

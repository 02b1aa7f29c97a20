#include "core/inf_match.h"

#include "core/text.h"

namespace core {
namespace {

bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool Contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

// The next word of `in` into `token`, cut to kInfTokenChars; false at the end.
bool NextToken(std::istream& in, std::string& token) {
  token.clear();
  std::streambuf* buf = in.rdbuf();
  if (!buf) return false;
  int c = buf->sbumpc();
  while (c != std::char_traits<char>::eof() && IsSpace(c)) c = buf->sbumpc();
  if (c == std::char_traits<char>::eof()) return false;
  while (c != std::char_traits<char>::eof() && !IsSpace(c)) {
    if (token.size() < kInfTokenChars) token.push_back(static_cast<char>(c));
    c = buf->sbumpc();
  }
  return true;
}

}  // namespace

bool InfNamesCamera(std::istream& in) {
  std::string token;
  for (int i = 0; i < 3; ++i) {
    if (!NextToken(in, token)) return false;
  }
  if (!Contains(token, "QV818UCM.INF")) return false;
  while (NextToken(in, token)) {
    if (Contains(token, "VID")) return Contains(token, "VID_0D7C&PID_41A0");
  }
  return false;
}

std::string PrecompiledInfPath(std::string_view infPath) {
  constexpr std::string_view kExtension = ".inf";
  if (infPath.size() < kExtension.size() ||
      !EqualsNoCase(infPath.substr(infPath.size() - kExtension.size()), kExtension)) {
    return {};
  }
  std::string path(infPath.substr(0, infPath.size() - 3));
  path += "pnf";
  return path;
}

}  // namespace core

#include "core/mail_list.h"

#include "core/text.h"

namespace core {

std::vector<std::string> SplitMailList(std::string_view list) {
  std::vector<std::string> paths;
  while (true) {
    const std::size_t end = list.find_first_of(";,");
    const std::string_view piece = TrimBlanks(list.substr(0, end));
    if (!piece.empty()) paths.emplace_back(piece);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return paths;
}

bool MailServiceReached(unsigned long result) {
  constexpr unsigned long kSuccess = 0, kUserAbort = 1, kLogonFailure = 3;
  return result == kSuccess || result == kUserAbort || result == kLogonFailure;
}

}  // namespace core

#pragma once
// The list of files handed to the mail service: paths separated by ";" or
// ",", each trimmed of blanks; empty pieces do not count.
#include <string>
#include <string_view>
#include <vector>

namespace core {

std::vector<std::string> SplitMailList(std::string_view list);

// Whether the mail service's answer means it was reached: sent (0), the
// user cancelled (1) or the log-on failed (3).
bool MailServiceReached(unsigned long result);

}  // namespace core

#pragma once
// Small text helpers shared by the program's platform-free rules.
#include <string>
#include <string_view>

namespace core {

// Without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view s);

// Equal when ASCII letters are compared without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

std::string ToUpperAscii(std::string_view s);
std::string ToLowerAscii(std::string_view s);

// The C rule of atoi: optional blanks and sign, then leading digits; anything
// else gives 0. Saturates instead of overflowing.
int AtoiC(std::string_view s);

}  // namespace core

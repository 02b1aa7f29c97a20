#pragma once
// The root of a path as the free-space query wants it.
#include <string>

namespace core {

// "\\server\share\" for a network path (two leading backslashes), otherwise
// everything up to and including the first backslash ("C:\"). A path without
// the backslash that ends its root is returned whole with one appended.
std::wstring PathRoot(const std::wstring& path);

}  // namespace core

// Small path helpers of the Windows layer that respect double-byte characters.
#pragma once

#include <string>

namespace win32 {

// The path without its trailing backslash, unless it is a root such as "C:\".
std::string WithoutTrailingBackslash(const std::string& path);
// Everything before the last backslash ("C:\" for a child of a root).
std::string ParentDirectory(const std::string& path);

}  // namespace win32

// Small path helpers of the Windows layer that respect double-byte characters.
#pragma once

#include <string>

namespace win32 {

// The path without its trailing backslash, unless it is a root such as "C:\".
std::string WithoutTrailingBackslash(const std::string& path);
// The path with a backslash at its end, one only where its last character
// is none (a second byte 0x5C ends a character, not a folder name).
std::string WithTrailingBackslash(const std::string& path);
// Everything before the last backslash ("C:\" for a child of a root).
std::string ParentDirectory(const std::string& path);

}  // namespace win32

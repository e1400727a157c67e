#include "Win32Util.h"

#include <windows.h>

namespace win32 {

namespace {
// Offset of the last backslash that is not the second byte of a double-byte character.
std::string::size_type LastBackslash(const std::string& s) {
    std::string::size_type last = std::string::npos;
    for (std::string::size_type i = 0; i < s.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(s[i])) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == '\\') last = i;
    }
    return last;
}
}  // namespace

std::string WithoutTrailingBackslash(const std::string& path) {
    std::string::size_type last = LastBackslash(path);
    if (last != std::string::npos && last + 1 == path.size() && !(last == 2 && path[1] == ':') && last != 0)
        return path.substr(0, last);
    return path;
}

std::string WithTrailingBackslash(const std::string& path) {
    std::string::size_type last = LastBackslash(path);
    return last != std::string::npos && last + 1 == path.size() ? path : path + '\\';
}

std::string ParentDirectory(const std::string& path) {
    std::string::size_type last = LastBackslash(path);
    if (last == std::string::npos) return std::string();
    if (last == 2 && path[1] == ':') return path.substr(0, 3);
    if (last == 0) return path.substr(0, 1);
    return path.substr(0, last);
}

}  // namespace win32

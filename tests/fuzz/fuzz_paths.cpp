// The path helpers on text with double-byte characters: a delimiter is never
// the second byte of one, and the parts put back together give the path.
#include <cstdint>
#include <string>
#include <vector>

#include "Backend.h"
#include "FuzzCheck.h"
#include "Utils.h"

namespace {

// Where each character begins: a lead byte takes the next byte with it.
std::vector<bool> CharStarts(const std::string& s) {
    std::vector<bool> start(s.size(), false);
    for (std::size_t i = 0; i < s.size(); ++i) {
        start[i] = true;
        if (plat::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
    }
    return start;
}

std::size_t ReferenceLast(const std::string& delims, const std::string& s) {
    std::vector<bool> start = CharStarts(s);
    for (std::size_t i = s.size(); i-- > 0;)
        if (start[i] && delims.find(s[i]) != std::string::npos) return i;
    return std::string::npos;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = AsText(data, size);
    for (const char* d : {"\\", "\\:", ".\\:", "."})
        FUZZ_CHECK(LastDelimiter(d, path) == ReferenceLast(d, path), "last delimiter");

    const std::size_t slash = ReferenceLast("\\", path);
    FUZZ_CHECK(EndsWithBackslash(path) == (!path.empty() && slash == path.size() - 1), "ends with a backslash");

    const std::string name = ExtractFileName(path);
    FUZZ_CHECK(EndsWith(path, name), "the name ends the path");
    FUZZ_CHECK(ReferenceLast("\\:", name) == std::string::npos, "no delimiter in the name");
    const std::string ext = ExtractFileExt(path);
    FUZZ_CHECK(EndsWith(name, ext), "the extension ends the name");
    FUZZ_CHECK(ext.empty() || (ext[0] == '.' && ReferenceLast(".", ext) == 0), "the extension is the last dot on");

    const std::string dir = ExtractFileDir(path);
    if (slash == std::string::npos) {
        FUZZ_CHECK(dir.empty(), "no backslash, no directory");
    } else {
        FUZZ_CHECK(path.compare(0, dir.size(), dir) == 0, "the directory begins the path");
        std::string rest = path.substr(slash + 1);
        bool keepsSlash = slash == 0 || (slash == 2 && path[1] == ':');
        FUZZ_CHECK(dir + (keepsSlash ? "" : "\\") + rest == path, "directory and rest give the path");
    }

    const std::string t = TrimControl(path);
    FUZZ_CHECK(t.empty() || (static_cast<unsigned char>(t.front()) > 32 && static_cast<unsigned char>(t.back()) > 32),
               "trimmed ends");
    FUZZ_CHECK(path.find(t) != std::string::npos, "trimmed text is part of the path");
    const std::string r = TrimControlRight(path);
    FUZZ_CHECK(path.compare(0, r.size(), r) == 0 && (r.empty() || static_cast<unsigned char>(r.back()) > 32),
               "right-trimmed text");

    bool letter = path.size() > 2 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    bool absolute = !path.empty() && (path[0] == '\\' || (letter && path[1] == ':' && path[2] == '\\'));
    FUZZ_CHECK(IsAbsolutePath(path) == absolute, "absolute path");
    return 0;
}

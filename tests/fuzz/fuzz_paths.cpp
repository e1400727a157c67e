// The path helpers on text with double-byte characters: a delimiter is never
// the second byte of one, and the parts put back together give the path.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Utils.h"

namespace {

std::size_t ReferenceLast(const std::string& delims, const std::string& s) {
    std::size_t last = std::string::npos;
    for (std::size_t i : CharStarts(s))
        if (delims.find(s[i]) != std::string::npos) last = i;
    return last;
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

    FUZZ_CHECK(IsAbsolutePath(path) == Absolute(path), "absolute path");
    return 0;
}

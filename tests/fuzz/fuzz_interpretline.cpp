// InterpretLine: one line of the text box to a folder or file target,
// against a reference written straight from the rule.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "Headless.h"
#include "Main.h"

namespace {

TfomMain& Window() {
    static TfomMain* form = [] {
        headless::Reset();
        return new TfomMain;
    }();
    return *form;
}

bool Letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The last character is a backslash, not the second byte of a double-byte one.
bool LastCharIsBackslash(const std::string& t) {
    bool last = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        last = t[i] == '\\';
        if (plat::IsLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size()) {
            ++i;
            last = false;
        }
    }
    return last;
}

bool Reference(std::string t, bool onlyDir, const std::string& panelDir, bool& isFolder, std::string& path) {
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32) t.erase(0, 1);
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= 32) t.pop_back();
    for (char& c : t)
        if (c == '/') c = '\\';
    if (t.empty() || t == "\\") return false;
    bool absolute = t[0] == '\\' || (t.size() > 2 && Letter(t[0]) && t[1] == ':' && t[2] == '\\');
    if (!absolute) t = panelDir + t;
    const bool slash = LastCharIsBackslash(t);
    isFolder = onlyDir || slash;
    if (slash) t.pop_back();
    path = t;
    return true;
}

}  // namespace

// Input: a byte whose low bit is the OnlyDir mode, the panel directory as a
// length-prefixed piece, then the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    TfomMain& f = Window();
    f.OnlyDirMode = in.Byte() & 1;
    f.PanelDir = in.Piece();
    const std::string line = in.Rest();

    bool isFolder = false, refFolder = false;
    std::string path = "untouched", refPath;
    bool taken = f.InterpretLine(line, isFolder, path);
    bool refTaken = Reference(line, f.OnlyDirMode, f.PanelDir, refFolder, refPath);
    FUZZ_CHECK(taken == refTaken, "skipped or taken");
    if (!taken) return 0;
    FUZZ_CHECK(isFolder == refFolder, "folder or file");
    FUZZ_CHECK(path == refPath, "target path");
    return 0;
}

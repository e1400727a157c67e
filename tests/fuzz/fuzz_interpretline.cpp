// InterpretLine: one line of the text box to a folder or file target. No
// second copy of its steps: the result must not change when blanks and
// control bytes are put around the line or '/' is written as '\', an
// absolute line must not depend on the panel directory, and the target read
// back as a line gives itself again.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"

namespace {

struct Target {
    bool taken = false, folder = false;
    std::string path;
    bool operator==(const Target& o) const {
        return taken == o.taken && (!taken || (folder == o.folder && path == o.path));
    }
};

Target Interpret(const std::string& line, bool onlyDir, const std::string& panelDir) {
    TfomMain& f = FuzzWindow();
    f.OnlyDirMode = onlyDir;
    f.PanelDir = panelDir;
    Target t;
    t.path = "untouched";
    t.taken = f.InterpretLine(line, t.folder, t.path);
    return t;
}

}  // namespace

// Input: a byte whose low bit is the OnlyDir mode, the panel directory as a
// length-prefixed piece, then the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const bool onlyDir = in.Byte() & 1;
    const std::string panelDir = in.Piece();
    const std::string line = in.Rest();
    const Target r = Interpret(line, onlyDir, panelDir);

    FUZZ_CHECK(Interpret(" \t\x01" + line, onlyDir, panelDir) == r, "blanks before the line change nothing");
    if (!EndsInLoneLead(line))
        FUZZ_CHECK(Interpret(line + "\r \x1f", onlyDir, panelDir) == r, "blanks after the line change nothing");
    std::string slashed = line;
    for (char& c : slashed)
        if (c == '/') c = '\\';
    FUZZ_CHECK(Interpret(slashed, onlyDir, panelDir) == r, "'/' is a backslash");

    // The line as the user meant it: blanks and control bytes at its ends
    // are no part of it.
    std::string t = slashed;
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32) t.erase(0, 1);
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= 32) t.pop_back();
    FUZZ_CHECK(r.taken == !(t.empty() || t == "\\"), "only an empty line or a lone backslash is skipped");
    if (!r.taken) return 0;

    const bool marked = LastCharIs(t, "\\");
    const std::string core = marked ? t.substr(0, t.size() - 1) : t;
    if (Absolute(t)) {
        FUZZ_CHECK_EQ(r.path, core, "an absolute line is its own target");
        FUZZ_CHECK(Interpret(line, onlyDir, "Z:\\elsewhere\\") == r, "an absolute line ignores the panel directory");
    } else if (!EndsInLoneLead(panelDir)) {
        FUZZ_CHECK_EQ(r.path, panelDir + core, "a relative line goes under the panel directory");
    }
    if (!EndsInLoneLead(panelDir) || Absolute(t)) FUZZ_CHECK(r.folder == (onlyDir || marked), "folder or file");

    // The target, written as a line, is the same target (the panel
    // directory is taken as it is, '/' and all).
    if (Absolute(r.path) && !EndsInLoneLead(r.path) && r.path.find('/') == std::string::npos)
        FUZZ_CHECK(Interpret(r.path + (r.folder ? "\\" : ""), false, panelDir) == r, "the target read back");
    return 0;
}

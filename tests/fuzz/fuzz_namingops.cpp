// The naming menu's operations on the lines of the text box, against where
// a line's name stands, found here character by character: each operation
// changes the name alone (prefix before it, suffix after it, case, title case
// as found here, blanks, separators), leaves path, extension and folder mark
// byte for byte, keeps empty lines empty and the final line break, and
// numbers the lines in order. Split and joined again, a line comes back.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Utils.h"

namespace {

// Where the name stands in a line: [begin, end). A folder's root or doubled
// backslash ("C:\", "\", "a\\") has an empty name after the whole line,
// and a name put there gets a folder mark of its own.
struct NameSpot {
    std::size_t begin = 0, end = 0;
    bool root = false, folder = false;
};
NameSpot FindName(const std::string& w) {
    NameSpot n;
    n.folder = LastCharIs(w, "\\");
    const std::string body = n.folder ? w.substr(0, w.size() - 1) : w;
    if (n.folder && (body.empty() || LastCharIs(body, "\\:"))) {
        n.begin = n.end = w.size();
        n.root = true;
        return n;
    }
    for (std::size_t i : CharStarts(body))
        if (body[i] == '\\' || body[i] == ':') n.begin = i + 1;
    n.end = body.size();
    if (!n.folder)
        for (std::size_t i : CharStarts(body))
            if (i >= n.begin && body[i] == '.') n.end = i;
    return n;
}

std::string Letters(long long n, bool upper) {
    std::string s;
    for (; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<char>((upper ? 'A' : 'a') + (n - 1) % 26));
    return s;
}

std::string Padded(long long v, std::size_t width) {
    std::string s = std::to_string(v);
    return std::string(width > s.size() ? width - s.size() : 0, '0') + s;
}

// Every `from` that starts on a character, left to right, as `to`.
std::string Replaced(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string r;
    std::size_t next = 0;
    for (std::size_t i : CharStarts(s)) {
        if (i < next) continue;
        r.append(s, next, i - next);
        next = i;
        if (s.compare(i, from.size(), from) == 0) {
            r += to;
            next = i + from.size();
        }
    }
    return r + s.substr(std::min(next, s.size()));
}

// Title case: an ASCII letter is a capital at the start of a run of them and
// lower case inside it; a double-byte character is no letter.
std::string Titled(const std::string& s) {
    std::string r = s;
    bool inRun = false;
    for (std::size_t i : CharStarts(s)) {
        const bool letter = IsAsciiLetter(s[i]);
        if (letter) r[i] = inRun ? AsciiLower(s[i]) : static_cast<char>(AsciiLower(s[i]) - 32);
        inRun = letter;
    }
    return r;
}

}  // namespace

// Input: the operation, a byte of flags (bit 0: OnlyDir mode), the entry's
// text, the text before and after it as length-prefixed pieces, then the
// text box's text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int op = in.Byte() % 17;
    TfomMain& f = FuzzWindow();
    f.OnlyDirMode = in.Byte() & 1;
    // A braced list reads the pieces in order: text, before, after.
    TfomMain::NamingData d{static_cast<unsigned char>(op), in.Piece(), in.Piece(), in.Piece()};
    const std::string text = in.Rest();
    std::vector<std::string> lines = SplitOn(text, "\r\n");
    for (const std::string& l : lines)
        if (l.size() > 4000) return 0;  // longer than any line the box hands on
    // A separator that ends in half a character is no text a user can enter.
    if ((op == 10 || op == 11) && EndsInLoneLead(d.Text)) return 0;

    TMenuItem entry;
    entry.Data = &d;
    TMenuItem* fixed[] = {&f.mniLowerCase, &f.mniUpperCase, &f.mniTitleCase, &f.mniDelPreSpace, &f.mniDelSufSpace};
    TMenuItem* item = op < 12 ? &entry : fixed[op - 12];
    f.mmoFileNames.SetText(text);
    if (op < 10) f.ApplyNaming(item);
    else f.mniChangeCaseOrSpace(item);
    const std::string got = f.mmoFileNames.Text();
    if (text.empty()) {
        FUZZ_CHECK(got.empty(), "an empty box stays empty");
        return 0;
    }

    const bool finalBreak = lines.size() > 1 && lines.back().empty();
    if (finalBreak) lines.pop_back();
    const long long count = static_cast<long long>(lines.size());
    const std::size_t width = std::to_string(count).size();
    std::string want;
    for (long long i = 0; i < count; ++i) {
        if (i) want += "\r\n";
        const std::string& line = lines[i];
        if (line.empty()) continue;
        const std::string w = f.OnlyDirMode && !LastCharIs(line, "\\") ? line + "\\" : line;
        const NameSpot spot = FindName(w);
        const std::string name = w.substr(spot.begin, spot.end - spot.begin);
        std::string x;
        switch (op) {
        case 0: case 1: x = d.Text; break;
        case 2: case 3: x = Padded(i, width); break;
        case 4: case 5: x = Padded(i + 1, width); break;
        case 6: case 7: x = Letters(i + 1, true); break;
        case 8: case 9: x = Letters(i + 1, false); break;
        }
        std::string named;
        if (op < 10) named = op % 2 == 0 ? d.Before + x + d.After + name : name + d.Before + x + d.After;
        else if (op == 10) named = Replaced(name, d.Text, " ");
        else if (op == 11) named = Replaced(name, " ", d.Text);
        else if (op == 12) named = plat::AnsiLowerCase(name);
        else if (op == 13) named = plat::AnsiUpperCase(name);
        else if (op == 14) named = Titled(name);
        else if (op == 15) named = TrimControlLeft(name);
        else named = TrimControlRight(name);
        // A folder whose name is gone is written as its path, when that ends
        // in a backslash: no doubled backslash is made.
        const std::string path = w.substr(0, spot.begin);
        if (spot.root) want += w + (named.empty() ? "" : named + "\\");
        else if (named.empty() && spot.folder && LastCharIs(path, "\\")) want += path;
        else want += path + named + w.substr(spot.end);
    }
    const std::size_t caret = want.size();
    if (finalBreak) want += "\r\n";
    FUZZ_CHECK_EQ(got, want, "only the names change, as the entry says");
    int a = -1, b = -1;
    f.mmoFileNames.GetSel(a, b);
    FUZZ_CHECK(a == static_cast<int>(caret) && b == a, "the caret at the end of the last line");
    return 0;
}

// TfomMain: what the naming menu's entries do to the lines of the text box:
// prefixes and suffixes, letter case, blanks, spaces and separators.
#include <algorithm>
#include <climits>

#include "Main.h"
#include "Utils.h"

namespace {

const int kMaxLineBytes = 4096;

std::string Padded(long long value, std::size_t width) {
    std::string s = std::to_string(value);
    return s.size() < width ? std::string(width - s.size(), '0') + s : s;
}

// Every match of `from`, left to right and without overlap; a match never
// starts on the second byte of a double-byte character.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string r;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, from.size(), from) == 0) {
            r += to;
            i += from.size();
        } else if (plat::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            r.append(text, i, 2);
            i += 2;
        } else {
            r += text[i++];
        }
    }
    return r;
}

}  // namespace

LineParts TfomMain::SplitLine(const std::string& line) const { return SplitNameLine(line, OnlyDirMode); }

// The new text is built whole and set in one step: replacing the lines one
// by one in the box costs time in proportion to the text for every line.
// The end state is the same: every line rewritten, the caret at the end of
// the last line, nothing selected, nothing to undo, the caret in view.
void TfomMain::RewriteLines(const std::function<std::string(const std::string&, int, int)>& rewrite) {
    const std::string text = mmoFileNames.Text();
    if (text.empty()) return;
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find("\r\n", start);
        std::size_t stop = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, std::min<std::size_t>(stop - start, kMaxLineBytes)));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    // A final empty line is not a line; it stays as it is.
    const bool finalBreak = lines.size() > 1 && lines.back().empty();
    if (finalBreak) lines.pop_back();
    const int count = static_cast<int>(lines.size());
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 64);
    for (int i = 0; i < count; ++i) {
        if (i) out += "\r\n";
        // An empty line stays empty; the others keep their positions.
        if (!lines[i].empty()) out += rewrite(lines[i], i, count);
    }
    if (finalBreak) out += "\r\n";
    mmoFileNames.SetText(out);
    // The box counts positions in its own units (characters where it keeps
    // its text as UTF-16, bytes where it keeps ANSI text), so the end of the
    // last line is asked of the box: before the final line break, or the end
    // of the text, where a position past it lands.
    const int caret = finalBreak ? mmoFileNames.LineStart(mmoFileNames.LineCount()) - 2 : INT_MAX;
    mmoFileNames.SetSel(caret, caret);
    plat::EditScrollCaret(mmoFileNames.Handle);
}

void TfomMain::ApplyNaming(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !item->Data) return;
    const NamingData d = *static_cast<const NamingData*>(item->Data);
    if (d.Kind > SuffixLowerLetters) return;
    RewriteLines([&](const std::string& line, int i, int count) {
        const std::size_t width = NumberPattern(count).size();
        std::string x;
        switch (d.Kind) {
        case PrefixText: case SuffixText: x = d.Text; break;
        case PrefixNumberFrom0: case SuffixNumberFrom0: x = Padded(i, width); break;
        case PrefixNumberFrom1: case SuffixNumberFrom1: x = Padded(i + 1, width); break;
        case PrefixUpperLetters: case SuffixUpperLetters: x = LetterSequence(i + 1, true); break;
        default: x = LetterSequence(i + 1, false); break;
        }
        LineParts p = SplitLine(line);
        if (d.Kind % 2 == 0) p.Name = d.Before + x + d.After + p.Name;
        else p.Name += d.Before + x + d.After;
        return JoinNameLine(p);
    });
}

void TfomMain::mniChangeCaseOrSpace(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    std::string oldText, newText;
    if (const auto* d = static_cast<const NamingData*>(item->Data)) {
        if (d->Kind == SpaceToSeparator) {
            oldText = " ";
            newText = d->Text;
        } else {
            oldText = d->Text;
            newText = " ";
        }
    }
    RewriteLines([&](const std::string& line, int, int) {
        LineParts p = SplitLine(line);
        if (item == &mniLowerCase) p.Name = plat::AnsiLowerCase(p.Name);
        else if (item == &mniUpperCase) p.Name = plat::AnsiUpperCase(p.Name);
        else if (item == &mniTitleCase) p.Name = TitleCase(p.Name);
        else if (item == &mniDelPreSpace) p.Name = TrimControlLeft(p.Name);
        else if (item == &mniDelSufSpace) p.Name = TrimControlRight(p.Name);
        else p.Name = ReplaceAll(p.Name, oldText, newText);
        return JoinNameLine(p);
    });
}

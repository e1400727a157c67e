// The naming lists: SplitList after JoinList gives the pieces back, and
// lists and bracket pairs that the stored form can hold come back unchanged
// from the ini file.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Inioptions.h"
#include "RecordCompare.h"

namespace {

// An entry the joined text can hold: not empty, no line break, none of the
// separators, and every quote closed within it (an open quote would swallow
// the separators after it). A double-byte character is one character: its
// second byte is no separator, and a lead byte at the end would take the
// separator after it as its second byte.
bool Holdable(const std::string& e, const char* separators) {
    if (e.empty() || e.find_first_of("\r\n") != std::string::npos || EndsInLoneLead(e)) return false;
    char quote = 0;
    for (std::size_t i : CharStarts(e)) {
        const char c = e[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (std::string(separators).find(c) != std::string::npos) {
            return false;
        }
    }
    return quote == 0;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> list;
    TIniOptions::SplitList(text, sep, list);
    return list;
}

}  // namespace

// Input: entries separated by a NUL byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> entries = SplitOn(AsText(data, size), std::string(1, '\0'));

    // Any text: split, join and split again gives the same pieces.
    for (char sep : {'|', '*'}) {
        for (const std::string& e : entries) {
            std::vector<std::string> once = Split(e, sep);
            for (const std::string& piece : once) FUZZ_CHECK(!piece.empty(), "no empty piece");
            std::string joined;
            for (const std::string& piece : once) joined += (joined.empty() ? "" : std::string(1, sep)) + piece;
            FUZZ_CHECK(Split(joined, sep) == once, "split, join, split");
        }
    }

    // Through the ini file, for what the stored form can hold.
    TIniOptions out;
    out.SeparatorList = {"", " "};
    std::vector<std::string>* lists[] = {&out.SeparatorList, &out.CommonUseList, &out.TimeFormatList};
    std::size_t stored = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& e = entries[i];
        if (Holdable(e, "|") && (stored += e.size() + 1) <= 2000) lists[i % 3]->push_back(e);
    }
    std::size_t wrapped = 0;
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        const std::string &b = entries[i], &a = entries[i + 1];
        if (!Holdable(b, "|*") || !Holdable(a, "|*") || (wrapped += b.size() + a.size() + 2) > 2000) continue;
        out.WrapperList.push_back({b, a});
    }

    FreshIniFolder();
    out.SaveToFile(kIniPath);
    TIniOptions in;
    in.LoadFromFile(kIniPath);
    FUZZ_CHECK(SameLists(in, out), "every list through the file");
    return 0;
}

// A line of the text box split into path, name and extension and joined
// again gives the line back (with the folder mark that the OnlyDir mode
// adds); each part holds what its name says, found character by character.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MainNaming.h"

// Input: one byte for the mode, then the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool onlyDir = data[0] & 1;
    const std::string line = AsText(data + 1, size - 1);
    const LineParts p = SplitNameLine(line, onlyDir);
    if (line.empty()) {
        FUZZ_CHECK(p.Path.empty() && p.Name.empty() && p.Ext.empty(), "an empty line has no parts");
        return 0;
    }
    const bool folder = LastCharIs(line, "\\");
    const std::string whole = onlyDir && !folder ? line + "\\" : line;
    FUZZ_CHECK_EQ(JoinNameLine(p), whole, "split and joined, the line comes back");

    FUZZ_CHECK(p.Path.empty() || LastCharIs(p.Path, "\\:"), "the path ends at a delimiter");
    FUZZ_CHECK(!HasChar(p.Name, "\\:"), "no delimiter in the name");
    FUZZ_CHECK(whole.compare(0, p.Path.size(), p.Path) == 0, "the path begins the line");
    // A lone lead byte at the end takes the OnlyDir mode's backslash as its
    // second byte: such a line stays a file.
    if (LastCharIs(whole, "\\")) {
        FUZZ_CHECK(p.Ext == "\\", "a folder's mark is its extension");
    } else {
        FUZZ_CHECK(p.Ext.empty() || (p.Ext[0] == '.' && !HasChar(p.Ext.substr(1), ".\\:")),
                   "the extension is the last dot on");
        FUZZ_CHECK(p.Ext.empty() == !HasChar(p.Name + p.Ext, "."), "the extension is there when the name has a dot");
        FUZZ_CHECK(p.Path + p.Name + p.Ext == whole, "a file's parts are the line");
    }
    return 0;
}

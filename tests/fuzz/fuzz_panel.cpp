// The panel-directory step on a raw command line: the walk of a line that
// carries the panel path alone, and the selection branch that fills the list.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"
#include "Utils.h"

// Input: one byte of option bits, then the raw command line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t bits = data[0];
    const std::string raw = AsText(data + 1, size - 1);

    const std::string walked = PanelDirFromRawLine(raw);
    if (!walked.empty()) {
        FUZZ_CHECK(walked.size() < raw.size(), "the directory is part of the line");
        std::size_t at = raw.size() - walked.size();
        FUZZ_CHECK(raw.compare(at, std::string::npos, walked) == 0, "the directory ends the line");
        FUZZ_CHECK(raw[at - 1] == ' ', "the directory follows a blank");
    }

    // Two folders that selected items can name.
    static TfomMain& f = []() -> TfomMain& {
        TfomMain& w = FuzzWindow();
        headless::AddDir("D:\\w\\src");
        headless::AddDir("D:\\w\\old.files");
        return w;
    }();
    headless::State().commandLine = raw;
    const std::vector<std::string> args = SplitArguments(raw);
    const SwitchScan scan = ScanSwitches(args);
    f.SwitchCount = scan.SwitchCount;
    f.OnlyDirMode = scan.OnlyDirMode || (bits & 1);
    f.Options->NoExtOnlyDir = bits & 2;
    f.Options->InitPathType = (bits >> 2) & 3;
    f.Options->InitBySelect = bits & 16;
    f.Options->AutoSizeOnInit = bits & 32;
    f.mmoFileNames.SetText(std::string());
    f.PanelDir = "stale";
    f.InitPanelDir();
    const std::string text = f.mmoFileNames.Text();

    if (!raw.empty() && raw.back() == '\\') {
        FUZZ_CHECK(f.PanelDir == walked, "nothing selected: the walked directory");
        FUZZ_CHECK(text.empty(), "nothing selected: no list");
        return 0;
    }
    const std::size_t first = static_cast<std::size_t>(scan.SwitchCount) + 1;
    if (first >= args.size()) {
        FUZZ_CHECK(f.PanelDir.empty() && text.empty(), "no item: nothing taken");
        return 0;
    }
    const std::string& item = args[first];
    FUZZ_CHECK(item.compare(0, f.PanelDir.size(), f.PanelDir) == 0, "the directory begins the first item");
    if (!f.PanelDir.empty()) {
        char last = f.PanelDir.back();
        FUZZ_CHECK(last == '\\' || last == ':', "the directory ends at a delimiter");
        FUZZ_CHECK(LastDelimiter("\\:", f.PanelDir) == f.PanelDir.size() - 1, "a real delimiter, not a second byte");
    }
    FUZZ_CHECK(LastDelimiter("\\:", item.substr(f.PanelDir.size())) == std::string::npos,
               "the directory ends at the last delimiter");
    if (!f.Options->InitBySelect) {
        FUZZ_CHECK(text.empty(), "selection off: no list");
        return 0;
    }

    // The list: the selected items one per line, a folder with its
    // backslash. The options are checked as changes of that plain list, not
    // by a second copy of the steps that make it.
    std::vector<std::string> plain;
    bool breaks = false;
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& a = args[i];
        plain.push_back(a + (a.back() != '\\' && plat::DirectoryExists(a) ? "\\" : ""));
        breaks = breaks || a.find_first_of("\r\n") != std::string::npos;
    }
    std::string want;
    for (std::string line : plain) {
        // Without an extension: the last dot on goes when it comes after the
        // last backslash or colon and is no second byte.
        if (f.OnlyDirMode && f.Options->NoExtOnlyDir) {
            std::size_t dot = std::string::npos;
            for (std::size_t k : CharStarts(line)) {
                if (line[k] == '.') dot = k;
                else if (line[k] == '\\' || line[k] == ':') dot = std::string::npos;
            }
            if (dot != std::string::npos) line.erase(dot);
        }
        // Relative: as many bytes as the panel directory has go.
        if (f.Options->InitPathType == 1) line.erase(0, std::min(line.size(), f.PanelDir.size()));
        want += line + "\r\n";
    }
    FUZZ_CHECK_EQ(text, TrimControlRight(want), "the initial list");
    if (!breaks && f.Options->InitPathType == 1) {
        // The items of the panel directory lose exactly that directory.
        const std::vector<std::string> got = SplitOn(text, "\r\n");
        // The list's end is trimmed, and with empty lines before it that can
        // reach back into the last line left: that one is not compared.
        for (std::size_t i = 0; i + 1 < got.size() && i < plain.size(); ++i)
            if (plain[i].compare(0, f.PanelDir.size(), f.PanelDir) == 0 && !(f.OnlyDirMode && f.Options->NoExtOnlyDir))
                FUZZ_CHECK_EQ(f.PanelDir + got[i], plain[i], "relative lines under the panel directory");
    }
    int a = -1, b = -1;
    f.mmoFileNames.GetSel(a, b);
    FUZZ_CHECK(a == 0 && b == static_cast<int>(text.size()), "the whole list is selected");
    return 0;
}

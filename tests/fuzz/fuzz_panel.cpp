// The panel-directory step on a raw command line: the walk of a line that
// carries the panel path alone, and the selection branch that fills the list.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"
#include "Headless.h"
#include "Main.h"
#include "Utils.h"

namespace {

TfomMain& Window() {
    static TfomMain* form = [] {
        headless::Reset();
        headless::AddDir("D:\\w\\src");
        headless::AddDir("D:\\w\\old.files");
        return new TfomMain;
    }();
    return *form;
}

}  // namespace

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

    TfomMain& f = Window();
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

    // The list, built from the definition of each line.
    std::string expected;
    for (std::size_t i = first; i < args.size(); ++i) {
        std::string line = args[i];
        if (line.back() != '\\' && plat::DirectoryExists(line)) line += '\\';
        if (f.OnlyDirMode && f.Options->NoExtOnlyDir) {
            std::size_t d = LastDelimiter(".\\:", line);
            if (d != std::string::npos && line[d] == '.') line.erase(d);
        }
        if (f.Options->InitPathType == 1) line.erase(0, std::min(line.size(), f.PanelDir.size()));
        expected += line + "\r\n";
    }
    FUZZ_CHECK_EQ(text, TrimControlRight(expected), "the initial list");
    int a = -1, b = -1;
    f.mmoFileNames.GetSel(a, b);
    FUZZ_CHECK(a == 0 && b == static_cast<int>(text.size()), "the whole list is selected");
    return 0;
}

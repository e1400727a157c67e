// TfomMain: the panel directory and the initial list from the selection.
#include <algorithm>

#include "CommandLine.h"
#include "Main.h"
#include "Utils.h"

void TfomMain::InitPanelDir() {
    const std::string raw = plat::CommandLine();
    if (!raw.empty() && raw.back() == '\\') {
        // The panel path alone, nothing selected; it may hold unquoted blanks.
        PanelDir = PanelDirFromRawLine(raw);
        return;
    }
    std::vector<std::string> args = SplitArguments(raw);
    const std::size_t first = static_cast<std::size_t>(SwitchCount < 0 ? 0 : SwitchCount) + 1;
    if (first >= args.size()) {
        // Start-up refuses such a line; should one get here, there is
        // neither a directory nor a selection to take.
        PanelDir.clear();
        return;
    }
    const std::string& item = args[first];
    std::size_t p = LastDelimiter("\\:", item);
    PanelDir = p == std::string::npos ? std::string() : item.substr(0, p + 1);
    if (Options && Options->InitBySelect) InitListFromSelection();
}

void TfomMain::InitListFromSelection() {
    std::vector<std::string> args = SplitArguments(plat::CommandLine());
    const std::size_t first = static_cast<std::size_t>(SwitchCount < 0 ? 0 : SwitchCount) + 1;

    std::string text = mmoFileNames.Text();
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    for (std::size_t i = first; i < args.size(); ++i) {
        std::string line = args[i];
        // Folders get their backslash so that the line reads as a folder line.
        if (!line.empty() && line.back() != '\\' && plat::DirectoryExists(line)) line += '\\';
        if (OnlyDirMode && Options->NoExtOnlyDir) {
            std::size_t d = LastDelimiter(".\\:", line);
            if (d != std::string::npos && line[d] == '.') line.erase(d);
        }
        if (Options->InitPathType == 1) line.erase(0, std::min(PanelDir.size(), line.size()));
        text += line;
        text += "\r\n";
    }
    mmoFileNames.SetText(TrimControlRight(text));
    mmoFileNames.SelectAll();
    if (Options->AutoSizeOnInit) AutoSizeWindow();
}

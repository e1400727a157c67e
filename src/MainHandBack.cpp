// Handing the new items back to the file manager when the window closes:
// marking them in its panel, then opening the new files.
#include <cstring>

#include "Main.h"
#include "Utils.h"

namespace {

// What a panel item text of an entry begins with: the file name, then the
// panel's column separator (the low 8 bits of TcColSep). A separator 0 ends
// the key at the name, since the compare stops at the first zero byte.
std::string PanelKey(const std::string& path, int colSep) {
    std::string key = ExtractFileName(path);
    key += static_cast<char>(colSep & 0xFF);
    return key.substr(0, std::strlen(key.c_str()));
}

// Byte for byte, letter case significant; an empty item text begins with no
// key. The panel hands back at most its first 1023 bytes, which always hold
// a whole key: a file name is far shorter.
bool BeginsWith(const std::string& text, const std::string& key) {
    return !text.empty() && text.compare(0, key.size(), key) == 0;
}

}  // namespace

int TfomMain::MarkCreatedItems() {
    if (CreatedItems.empty()) return 0;
    // The keyboard goes back to the panel, and the file manager gets the
    // wait to list the new items before its panel is read.
    SetVisible(false);
    plat::ActivateWindow(TcPanelHandle);
    plat::ProcessPendingMessages();
    plat::SleepMs(Options->SleepTime);

    const int count = plat::PanelCount(TcPanelHandle);
    const std::size_t n = CreatedItems.size();
    std::vector<std::string> keys;
    keys.reserve(n);
    for (const CreateItem& item : CreatedItems) keys.push_back(PanelKey(item.Path, Options->TcColSep));

    // Both limits as unsigned numbers: a negative OpenMax sets no limit,
    // OpenMax 0 ends the walk after its first step.
    const unsigned limit = static_cast<unsigned>(Options->OpenMax);
    unsigned marked = 0;
    int files = 0;
    auto mark = [&](int index, std::size_t entry) {
        plat::PanelSelect(TcPanelHandle, index);
        ++marked;
        if (CreatedItems[entry].IsFolder == 0) ++files;
    };
    auto done = [&] { return marked >= n || marked >= limit; };

    const int pos = Options->CursorPos;
    if (pos == 0 || pos == 1) {
        // Panel order: each item is read once; the item visited last among
        // the new ones keeps the cursor.
        for (int j = 0; j < count; ++j) {
            const int p = pos == 0 ? count - 1 - j : j;
            const std::string text = plat::PanelText(TcPanelHandle, p);
            for (std::size_t e = 0; e < n; ++e)
                if (BeginsWith(text, keys[e])) {
                    mark(p, e);
                    break;
                }
            if (done()) break;
        }
    } else {
        // Entry order: the panel is read from the top again for every entry.
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t e = pos == 2 ? n - 1 - k : k;
            for (int p = 0; p < count; ++p)
                if (BeginsWith(plat::PanelText(TcPanelHandle, p), keys[e])) {
                    mark(p, e);
                    break;
                }
            if (done()) break;
        }
    }
    MarkedFileCount = files;
    return static_cast<int>(marked);
}

void TfomMain::OpenCreatedFiles() {
    if (!Options->AutoOpen) return;
    if (Options->OpenMethod == 0) {
        // The file manager opens what is marked in its panel; key presses
        // only, no releases.
        if (MarkedFileCount <= 0) return;
        std::vector<unsigned short> keys{vkF4};
        if (Options->KeyType != 0) {
            unsigned short second = 0;
            if (Options->KeyType == 1) second = vkEscape;
            else if (Options->KeyType == 2) second = vkCapital;
            keys.push_back(second);
        }
        plat::SendKeys(keys);
        return;
    }
    // The shell opens every new file wherever it was made, up to OpenMax
    // (signed: 0 or less opens none); the walk always visits every entry.
    int opened = 0;
    for (const CreateItem& item : CreatedItems) {
        if (item.IsFolder != 0 || opened >= Options->OpenMax || !plat::FileExists(item.Path)) continue;
        plat::ShellOpen(item.Path, PanelDir);
        ++opened;
    }
}

#include "Inioptions.h"

#include "Backend.h"

namespace {

// The logged-on user's name, or empty when it cannot be had in the 128 bytes
// (terminating zero included) the program allows for it.
std::string LoggedOnUser() {
    std::string name;
    if (!plat::UserName(name) || name.size() > 127) return std::string();
    return name;
}

}  // namespace

void TIniOptions::LoadFromFile(const std::string& path) {
    if (!plat::FileExists(path)) return;
    TIniFile ini(path);
    KeepFile = ini.LoadFailed();
    ReadOptions(ini);
}

void TIniOptions::SaveToFile(const std::string& path) {
    if (KeepFile) return;
    TIniFile ini(path);
    WriteOptions(ini);
    ini.UpdateFile();
}

void TIniOptions::ReadOptions(TIniFile& ini) {
    // In table order: a window bound's switch is read before the bound.
    for (const IniKey& k : IniKeys) {
        if (k.KeptBy && !(this->*k.KeptBy)) continue;
        if (k.Int) this->*k.Int = ini.ReadInteger(k.Section, k.Name, k.Default);
        else if (k.Bool) this->*k.Bool = ini.ReadBool(k.Section, k.Name, k.Default != 0);
        else this->*k.Text = ini.ReadString(k.Section, k.Name, k.DefaultText);
    }
    // The user's name is one phrase, whatever its bytes: a double-byte
    // character may end in 0x7C, the list separator.
    const bool storedPhrases = ini.HasKey("Naming", "CommonUse");
    if (!storedPhrases) CommonUse = LoggedOnUser();

    SeparatorList.clear();
    TimeFormatList.clear();
    CommonUseList.clear();
    SplitList(Separator, '|', SeparatorList);
    SplitList(TimeFormat, '|', TimeFormatList);
    if (storedPhrases) SplitList(CommonUse, '|', CommonUseList);
    else if (!CommonUse.empty()) CommonUseList.push_back(CommonUse);
    NormalizeSeparators();

    WrapperList.clear();
    std::vector<std::string> entries;
    SplitList(Wrapper, '|', entries);
    for (const std::string& entry : entries) {
        std::vector<std::string> halves;
        SplitList(entry, '*', halves);
        // "(*", "*)" and "a*b*c" do not describe a pair.
        if (halves.size() == 2) WrapperList.push_back({halves[0], halves[1]});
    }
}

void TIniOptions::WriteOptions(TIniFile& ini) {
    Separator = JoinList(SeparatorList);
    Wrapper = JoinWrappers(WrapperList);
    CommonUse = JoinList(CommonUseList);
    TimeFormat = JoinList(TimeFormatList);
    for (const IniKey& k : IniKeys) {
        if (k.KeptBy && !(this->*k.KeptBy)) continue;
        if (k.Int) ini.WriteInteger(k.Section, k.Name, this->*k.Int);
        else if (k.Bool) ini.WriteBool(k.Section, k.Name, this->*k.Bool);
        else ini.WriteString(k.Section, k.Name, this->*k.Text);
    }
}

void TIniOptions::NormalizeSeparators() {
    bool hasBlank = false;
    for (const std::string& s : SeparatorList)
        if (s == " ") hasBlank = true;
    if (!hasBlank) SeparatorList.insert(SeparatorList.begin(), " ");
    SeparatorList.insert(SeparatorList.begin(), std::string());
}

void TIniOptions::RemoveFixedSeparators(std::vector<std::string>& list) {
    if (list.empty()) return;
    list.erase(list.begin());
    for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == " ") {
            list.erase(it);
            break;
        }
}

std::string TIniOptions::JoinList(const std::vector<std::string>& list) {
    std::string text;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += '|';
        text += list[i];
    }
    return text;
}

std::string TIniOptions::JoinWrappers(const std::vector<WrapperPair>& list) {
    std::string text;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += '|';
        text += list[i].Before + "*" + list[i].After;
    }
    return text;
}

void TIniOptions::SplitList(const std::string& text, char separator, std::vector<std::string>& list) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        while (i < n && (text[i] == '\r' || text[i] == '\n')) ++i;
        size_t head = i;
        char quote = 0;
        for (; i < n; ++i) {
            char c = text[i];
            // The second byte of a double-byte character is never a
            // separator or a quote.
            if (plat::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
                ++i;
                continue;
            }
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else if (c == separator || c == '\r' || c == '\n') {
                break;
            }
        }
        if (i > head) list.push_back(text.substr(head, i - head));
        ++i;  // past the separator or line break that ended the piece
    }
}

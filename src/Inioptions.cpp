#include "Inioptions.h"

#include "Backend.h"

namespace {

const char* const kFileList = "FileList";
const char* const kAfterCreate = "AfterCreate";
const char* const kWindow = "Window";
const char* const kNaming = "Naming";

const char* const kDefaultSeparator = ".|-|_|#";
const char* const kDefaultWrapper = "(*)|[*]|{*}";
const char* const kDefaultTimeFormat = "yyyymmdd|yyyy-mm-dd|yymmdd|yyyymmddhhnnss|yyyy_mm_dd_ddd";

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
    ConfirmMode = ini.ReadInteger(kFileList, "ConfirmMode", 0);
    InitBySelect = ini.ReadBool(kFileList, "InitBySelect", true);
    AutoSizeOnInit = ini.ReadBool(kFileList, "AutoSizeOnInit", true);
    WidthSpace = ini.ReadInteger(kFileList, "WidthSpace", 40);
    HeightSpace = ini.ReadInteger(kFileList, "HeightSpace", 100);
    InitPathType = ini.ReadInteger(kFileList, "InitPathType", 0);
    CursorQuickMove = ini.ReadBool(kFileList, "CursorQuickMove", false);
    NoExtOnlyDir = ini.ReadBool(kFileList, "NoExtOnlyDir", true);
    TemplatePath = ini.ReadString(kFileList, "TemplatePath", "");

    AutoOpen = ini.ReadBool(kAfterCreate, "AutoOpen", true);
    OpenMax = ini.ReadInteger(kAfterCreate, "OpenMax", 16);
    OpenMethod = ini.ReadInteger(kAfterCreate, "OpenMethod", 0);
    KeyType = ini.ReadInteger(kAfterCreate, "KeyType", 0);
    SleepTime = ini.ReadInteger(kAfterCreate, "SleepTime", 200);
    CursorPos = ini.ReadInteger(kAfterCreate, "CursorPos", 0);
    TcColSep = ini.ReadInteger(kAfterCreate, "TcColSep", 9);

    SavePos = ini.ReadBool(kWindow, "SavePos", false);
    if (SavePos) {
        Left = ini.ReadInteger(kWindow, "Left", 380);
        Top = ini.ReadInteger(kWindow, "Top", 260);
    }
    SaveSize = ini.ReadBool(kWindow, "SaveSize", false);
    if (SaveSize) {
        Width = ini.ReadInteger(kWindow, "Width", 460);
        Height = ini.ReadInteger(kWindow, "Height", 160);
    }

    Separator = ini.ReadString(kNaming, "Separator", kDefaultSeparator);
    Wrapper = ini.ReadString(kNaming, "Wrapper", kDefaultWrapper);
    // The user's name is one phrase, whatever its bytes: a double-byte
    // character may end in 0x7C, the list separator.
    const bool storedPhrases = ini.HasKey(kNaming, "CommonUse");
    CommonUse = storedPhrases ? ini.ReadString(kNaming, "CommonUse", "") : LoggedOnUser();
    TimeFormat = ini.ReadString(kNaming, "TimeFormat", kDefaultTimeFormat);

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
    ini.WriteInteger(kFileList, "ConfirmMode", ConfirmMode);
    ini.WriteBool(kFileList, "InitBySelect", InitBySelect);
    ini.WriteBool(kFileList, "AutoSizeOnInit", AutoSizeOnInit);
    ini.WriteInteger(kFileList, "WidthSpace", WidthSpace);
    ini.WriteInteger(kFileList, "HeightSpace", HeightSpace);
    ini.WriteInteger(kFileList, "InitPathType", InitPathType);
    ini.WriteBool(kFileList, "CursorQuickMove", CursorQuickMove);
    ini.WriteBool(kFileList, "NoExtOnlyDir", NoExtOnlyDir);
    ini.WriteString(kFileList, "TemplatePath", TemplatePath);

    ini.WriteBool(kAfterCreate, "AutoOpen", AutoOpen);
    ini.WriteInteger(kAfterCreate, "OpenMax", OpenMax);
    ini.WriteInteger(kAfterCreate, "OpenMethod", OpenMethod);
    ini.WriteInteger(kAfterCreate, "KeyType", KeyType);
    ini.WriteInteger(kAfterCreate, "SleepTime", SleepTime);
    ini.WriteInteger(kAfterCreate, "CursorPos", CursorPos);
    ini.WriteInteger(kAfterCreate, "TcColSep", TcColSep);

    // Bounds that are not kept stay in the file as they were.
    ini.WriteBool(kWindow, "SavePos", SavePos);
    if (SavePos) {
        ini.WriteInteger(kWindow, "Left", Left);
        ini.WriteInteger(kWindow, "Top", Top);
    }
    ini.WriteBool(kWindow, "SaveSize", SaveSize);
    if (SaveSize) {
        ini.WriteInteger(kWindow, "Width", Width);
        ini.WriteInteger(kWindow, "Height", Height);
    }

    Separator = JoinList(SeparatorList);
    Wrapper = JoinWrappers(WrapperList);
    CommonUse = JoinList(CommonUseList);
    TimeFormat = JoinList(TimeFormatList);
    ini.WriteString(kNaming, "Separator", Separator);
    ini.WriteString(kNaming, "Wrapper", Wrapper);
    ini.WriteString(kNaming, "CommonUse", CommonUse);
    ini.WriteString(kNaming, "TimeFormat", TimeFormat);
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

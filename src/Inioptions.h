// The options record: every setting of Korvalin, and its ini file.
//
// One instance lives as long as the main window. It is loaded once at start
// (only when the ini file exists) and saved once at the end; the settings
// dialog edits it in memory only. Each naming list is held twice: as the
// joined text the file stores and as the parsed list the program uses.
//
// IniKeys below is the one list of what the file holds: loading, saving and
// the tests all walk it, so a new option is added there and nowhere else.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "Inifile.h"

// A bracket pair of the naming menu: "(*)" in the file is Before "(" and After ")".
struct WrapperPair {
    std::string Before;
    std::string After;
};

class TIniOptions : public TObject {
public:
    TIniOptions() = default;

    // Without an ini file every field keeps these values: nothing is read,
    // not even the defaults of the missing keys.
    int ConfirmMode = 0;
    bool InitBySelect = false;
    bool AutoSizeOnInit = false;
    int WidthSpace = 0;
    int HeightSpace = 0;
    int InitPathType = 0;
    bool CursorQuickMove = false;
    bool NoExtOnlyDir = false;
    std::string TemplatePath;
    bool AutoOpen = false;
    int OpenMax = 0;
    int OpenMethod = 0;
    int KeyType = 0;
    int SleepTime = 0;
    int CursorPos = 0;
    int TcColSep = 0;
    bool SavePos = false;
    bool SaveSize = false;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::string Separator;
    std::string Wrapper;
    std::string CommonUse;
    std::string TimeFormat;
    int OpenMaxLimit = 31;  // the settings dialog's highest OpenMax; never stored
    // The ini file exists but could not be read, even after waiting for the
    // program that held it: the record holds defaults the user never saw,
    // and SaveToFile leaves the file alone. The settings dialog's OK clears
    // it, as the user has then seen and accepted every value.
    bool KeepFile = false;
    std::vector<std::string> SeparatorList;
    std::vector<std::string> CommonUseList;
    std::vector<std::string> TimeFormatList;
    std::vector<WrapperPair> WrapperList;

    // Reads the file at `path` if one exists; otherwise changes nothing.
    void LoadFromFile(const std::string& path);
    // Writes the options into the file at `path` in one step, keeping what
    // else it holds. Throws Exception("Unable to write to " + path) on
    // failure; the file is then unchanged.
    void SaveToFile(const std::string& path);

    void ReadOptions(TIniFile& ini);
    void WriteOptions(TIniFile& ini);

    // Puts a single blank at the front unless the list already holds one,
    // then the empty separator ("no separator") in front of everything.
    void NormalizeSeparators();
    // The inverse for an editable copy of SeparatorList: deletes its first
    // entry, then the first entry that is a single blank.
    static void RemoveFixedSeparators(std::vector<std::string>& list);

    // The stored forms: entries joined with "|", pairs as Before*After.
    static std::string JoinList(const std::vector<std::string>& list);
    static std::string JoinWrappers(const std::vector<WrapperPair>& list);
    std::string JoinWrappers() const { return JoinWrappers(WrapperList); }

    // Appends the pieces of `text` between `separator`s to `list`. A quote
    // (' or ") opens a stretch up to the same quote in which separators and
    // line breaks do not end the piece; the quotes stay in it. Line breaks
    // end a piece and are skipped at its start; empty pieces are dropped.
    // A double-byte character is never split, whatever its second byte.
    static void SplitList(const std::string& text, char separator, std::vector<std::string>& list);
};

// One key of the ini file and the field of the record that holds it.
// Exactly one of Int, Bool and Text names the field.
struct IniKey {
    const char* Section;
    const char* Name;
    int TIniOptions::*Int;
    bool TIniOptions::*Bool;
    std::string TIniOptions::*Text;
    int Default;              // read for a missing key: an Int's value, a Bool's as 0 or 1
    const char* DefaultText;  // read for a missing Text key
    // A window bound is read and written only while its switch is on: a
    // bound that is not kept stays in the file as it was.
    bool TIniOptions::*KeptBy;
};

constexpr IniKey IntKey(const char* section, const char* name, int TIniOptions::*field, int def,
                        bool TIniOptions::*keptBy = nullptr) {
    return {section, name, field, nullptr, nullptr, def, nullptr, keptBy};
}
constexpr IniKey BoolKey(const char* section, const char* name, bool TIniOptions::*field, bool def) {
    return {section, name, nullptr, field, nullptr, def ? 1 : 0, nullptr, nullptr};
}
constexpr IniKey TextKey(const char* section, const char* name, std::string TIniOptions::*field,
                         const char* def) {
    return {section, name, nullptr, nullptr, field, 0, def, nullptr};
}

// In the order the keys are written to a new file.
inline constexpr IniKey IniKeys[] = {
    IntKey("FileList", "ConfirmMode", &TIniOptions::ConfirmMode, 0),
    BoolKey("FileList", "InitBySelect", &TIniOptions::InitBySelect, true),
    BoolKey("FileList", "AutoSizeOnInit", &TIniOptions::AutoSizeOnInit, true),
    IntKey("FileList", "WidthSpace", &TIniOptions::WidthSpace, 40),
    IntKey("FileList", "HeightSpace", &TIniOptions::HeightSpace, 100),
    IntKey("FileList", "InitPathType", &TIniOptions::InitPathType, 0),
    BoolKey("FileList", "CursorQuickMove", &TIniOptions::CursorQuickMove, false),
    BoolKey("FileList", "NoExtOnlyDir", &TIniOptions::NoExtOnlyDir, true),
    // Empty: the main window puts its Templates folder in (SetupTemplateDir).
    TextKey("FileList", "TemplatePath", &TIniOptions::TemplatePath, ""),

    BoolKey("AfterCreate", "AutoOpen", &TIniOptions::AutoOpen, true),
    IntKey("AfterCreate", "OpenMax", &TIniOptions::OpenMax, 16),
    IntKey("AfterCreate", "OpenMethod", &TIniOptions::OpenMethod, 0),
    IntKey("AfterCreate", "KeyType", &TIniOptions::KeyType, 0),
    IntKey("AfterCreate", "SleepTime", &TIniOptions::SleepTime, 200),
    IntKey("AfterCreate", "CursorPos", &TIniOptions::CursorPos, 0),
    IntKey("AfterCreate", "TcColSep", &TIniOptions::TcColSep, 9),

    BoolKey("Window", "SavePos", &TIniOptions::SavePos, false),
    IntKey("Window", "Left", &TIniOptions::Left, 380, &TIniOptions::SavePos),
    IntKey("Window", "Top", &TIniOptions::Top, 260, &TIniOptions::SavePos),
    BoolKey("Window", "SaveSize", &TIniOptions::SaveSize, false),
    IntKey("Window", "Width", &TIniOptions::Width, 460, &TIniOptions::SaveSize),
    IntKey("Window", "Height", &TIniOptions::Height, 160, &TIniOptions::SaveSize),

    // The naming lists' stored texts: parsed into the lists after reading,
    // joined from them before writing.
    TextKey("Naming", "Separator", &TIniOptions::Separator, ".|-|_|#"),
    TextKey("Naming", "Wrapper", &TIniOptions::Wrapper, "(*)|[*]|{*}"),
    // Missing, it is the logged-on user's name (ReadOptions).
    TextKey("Naming", "CommonUse", &TIniOptions::CommonUse, ""),
    TextKey("Naming", "TimeFormat", &TIniOptions::TimeFormat,
            "yyyymmdd|yyyy-mm-dd|yymmdd|yyyymmddhhnnss|yyyy_mm_dd_ddd"),
};

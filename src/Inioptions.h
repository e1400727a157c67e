// The options record: every setting of Korvalin, and its ini file.
//
// One instance lives as long as the main window. It is loaded once at start
// (only when the ini file exists) and saved once at the end; the settings
// dialog edits it in memory only. Each naming list is held twice: as the
// joined text the file stores and as the parsed list the program uses.
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

// The options record and its ini file. The keys are walked through IniKeys,
// so that every option, present and future, is read, written and kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "../fuzz/RecordCompare.h"
#include "Controls.h"
#include "Headless.h"
#include "Inioptions.h"

namespace {

using List = std::vector<std::string>;

const char* const kPath = "C:\\Korvalin\\korvalin.ini";

TIniOptions LoadFrom(const std::string& content) {
    headless::Reset();
    headless::AddFile(kPath, content);
    TIniOptions o;
    o.LoadFromFile(kPath);
    return o;
}

List Pairs(const TIniOptions& o) {
    List out;
    for (const WrapperPair& p : o.WrapperList) out.push_back(p.Before + "," + p.After);
    return out;
}

// A key's value in `o` as the file stores it: a switch as 1 or 0.
std::string Stored(const IniKey& k, const TIniOptions& o) {
    if (k.Int) return std::to_string(o.*k.Int);
    if (k.Bool) return o.*k.Bool ? "1" : "0";
    return o.*k.Text;
}

// The name of the switch that keeps a window bound.
std::string SwitchOf(const IniKey& k) {
    for (const IniKey& s : IniKeys)
        if (s.Bool && s.Bool == k.KeptBy) return s.Name;
    return "(none)";
}

// Without a file nothing is read, not even a default: sentinels in every
// field survive the load.
TEST(IniOptions, NoFileChangesNothing) {
    headless::Reset();
    TIniOptions o;
    int n = 0;
    for (const IniKey& k : IniKeys) {
        ++n;
        if (k.Int) o.*k.Int = -1000 - n;
        else if (k.Bool) o.*k.Bool = !k.Default;
        else o.*k.Text = "sentinel " + std::to_string(n);
    }
    o.SeparatorList = o.TimeFormatList = o.CommonUseList = {"sentinel"};
    o.WrapperList = {{"<", ">"}};
    const TIniOptions before = o;
    o.LoadFromFile(kPath);
    EXPECT_TRUE(SameRecord(o, before));
    EXPECT_FALSE(o.KeepFile);
}

// What a user who never touched a key gets. Every key of the table must
// have its row here, so that a new option states its default.
TEST(IniOptions, MissingKeysGiveDefaults) {
    TIniOptions o = LoadFrom("[Window]\r\nSavePos=1\r\nSaveSize=1\r\n");
    const struct { const char *name, *expected; } rows[] = {
        {"ConfirmMode", "0"}, {"InitBySelect", "1"}, {"AutoSizeOnInit", "1"}, {"WidthSpace", "40"},
        {"HeightSpace", "100"}, {"InitPathType", "0"}, {"CursorQuickMove", "0"}, {"NoExtOnlyDir", "1"},
        {"TemplatePath", ""}, {"AutoOpen", "1"}, {"OpenMax", "16"}, {"OpenMethod", "0"}, {"KeyType", "0"},
        {"SleepTime", "200"}, {"CursorPos", "0"}, {"TcColSep", "9"}, {"SavePos", "1"}, {"Left", "380"},
        {"Top", "260"}, {"SaveSize", "1"}, {"Width", "460"}, {"Height", "160"}, {"Separator", ".|-|_|#"},
        {"Wrapper", "(*)|[*]|{*}"}, {"CommonUse", "tester"},
        {"TimeFormat", "yyyymmdd|yyyy-mm-dd|yymmdd|yyyymmddhhnnss|yyyy_mm_dd_ddd"},
    };
    for (const IniKey& k : IniKeys) {
        const auto* row = std::find_if(std::begin(rows), std::end(rows),
                                       [&](const auto& r) { return std::string(r.name) == k.Name; });
        if (row == std::end(rows)) {
            ADD_FAILURE() << k.Name << ": no expected default";
            continue;
        }
        EXPECT_EQ(Stored(k, o), row->expected) << k.Name;
    }
    EXPECT_EQ(std::make_tuple(o.SeparatorList, Pairs(o), o.CommonUseList),
              std::make_tuple(List{"", " ", ".", "-", "_", "#"}, List{"(,)", "[,]", "{,}"}, List{"tester"}));
    EXPECT_EQ(o.TimeFormatList, (List{"yyyymmdd", "yyyy-mm-dd", "yymmdd", "yyyymmddhhnnss", "yyyy_mm_dd_ddd"}));
}

TEST(IniOptions, ValuesFromTheFile) {
    TIniOptions o = LoadFrom(
        "[AfterCreate]\nOpenMax=99\nSleepTime=abc\nTcColSep=265\n"
        "[Window]\nSavePos=0\nLeft=11\nTop=22\nSaveSize=2\nWidth=0x100\n");
    // OpenMax: only the settings dialog keeps it within range. SleepTime: not a number, the default.
    // TcColSep: stored as read, users take its low byte. Left and Top: not read while SavePos is off.
    EXPECT_EQ(std::vector<int>({o.OpenMax, o.SleepTime, o.TcColSep, o.Left, o.Top, o.Width, o.Height}),
              std::vector<int>({99, 200, 265, 0, 0, 256, 160}));
}

// Each key is read from its own section only, and saved under its name in
// that section; a window bound needs its switch on for either.
TEST(IniOptions, EachKeyLivesInItsSection) {
    for (const IniKey& k : IniKeys) {
        const std::string other = k.Int ? std::to_string(k.Default + 7) : k.Bool ? (k.Default ? "0" : "1") : "v|w";
        const std::string line = std::string(k.Name) + "=" + other + "\r\n";
        const std::string keptBy = k.KeptBy ? SwitchOf(k) + "=1\r\n" : "";
        TIniOptions o = LoadFrom("[" + std::string(k.Section) + "]\r\n" + keptBy + line);
        EXPECT_EQ(Stored(k, o), other) << k.Name;
        EXPECT_NE(Stored(k, LoadFrom("[Elsewhere]\r\n" + keptBy + line)), other) << k.Name << " in another section";
        if (k.KeptBy) {
            EXPECT_NE(Stored(k, LoadFrom("[" + std::string(k.Section) + "]\r\n" + line)), other)
                << k.Name << " without " << SwitchOf(k);
        }

        headless::Reset();
        headless::AddDir("C:\\Korvalin");
        o.SaveToFile(kPath);
        TIniFile saved(kPath);
        EXPECT_EQ(saved.ReadString(k.Section, k.Name, "(missing)"), Stored(k, o)) << k.Name << " saved";
    }
}

TEST(IniOptions, NamingLists) {
    const struct { const char *separator, *wrapper; List separators, wrappers; } cases[] = {
        {".||-", "(*)|(*|*)|a*b*c|[*]", {"", " ", ".", "-"}, {"(,)", "[,]"}},
        {"| |.|-|_|#", "", {"", " ", ".", "-", "_", "#"}, {}},
        {".| |-", "<**>|'*|*'|x*y", {"", ".", " ", "-"}, {"<,>", "x,y"}},
        {"", "|||", {"", " "}, {}},
    };
    for (const auto& c : cases) {
        TIniOptions o = LoadFrom(std::string("[Naming]\nSeparator=") + c.separator + "\nWrapper=" + c.wrapper + "\n");
        EXPECT_EQ(std::make_pair(o.SeparatorList, Pairs(o)), std::make_pair(c.separators, c.wrappers))
            << c.separator << " / " << c.wrapper;
    }
}

TEST(IniOptions, CommonUseDefaultIsTheUserName) {
    const struct { std::string name; bool ok; List expected; } cases[] = {
        {"tester", true, {"tester"}}, {"tester", false, {}}, {std::string(127, 'u'), true, {std::string(127, 'u')}},
        {std::string(128, 'u'), true, {}},  // does not fit the 128-byte buffer
    };
    for (const auto& c : cases) {
        headless::Reset();
        headless::AddFile(kPath, "[FileList]\r\n");
        headless::State().userName = c.name;
        headless::State().userNameOk = c.ok;
        TIniOptions o;
        o.LoadFromFile(kPath);
        EXPECT_EQ(o.CommonUseList, c.expected) << c.name.size() << c.ok;
    }
}

TEST(IniOptions, SplitList) {
    const struct { std::string text; char sep; List expected; } cases[] = {
        {"|a||b|", '|', {"a", "b"}}, {"", '|', {}}, {" a | b ", '|', {" a ", " b "}},
        {"it's|x", '|', {"it's|x"}}, {"'a|b'|c", '|', {"'a|b'", "c"}},
        {"\"a'b\"|c", '|', {"\"a'b\"", "c"}}, {"a\r\nb|\n\nc\r", '|', {"a", "b", "c"}},
        {"'x\r\ny'|z", '|', {"'x\r\ny'", "z"}}, {"a*b*c", '*', {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        List list{"kept"};
        TIniOptions::SplitList(c.text, c.sep, list);
        List expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(list, expected) << c.text;
    }
}

TEST(IniOptions, FixedSeparators) {
    const struct { List list, normalized, editable; } cases[] = {
        {{".", "-"}, {"", " ", ".", "-"}, {".", "-"}},
        {{".", " ", " "}, {"", ".", " ", " "}, {".", " "}},
        {{}, {"", " "}, {}},
    };
    for (const auto& c : cases) {
        TIniOptions o;
        o.SeparatorList = c.list;
        o.NormalizeSeparators();
        EXPECT_EQ(o.SeparatorList, c.normalized) << ::testing::PrintToString(c.list);
        List editable = o.SeparatorList;
        TIniOptions::RemoveFixedSeparators(editable);
        EXPECT_EQ(editable, c.editable) << ::testing::PrintToString(c.list);
    }
    List none;
    TIniOptions::RemoveFixedSeparators(none);
    EXPECT_TRUE(none.empty());
}

TEST(IniOptions, NewFileLayout) {
    headless::Reset();
    headless::AddDir("C:\\Korvalin");
    TIniOptions o;
    o.SaveToFile(kPath);
    EXPECT_EQ(headless::FileContent(kPath),
              "[FileList]\r\nConfirmMode=0\r\nInitBySelect=0\r\nAutoSizeOnInit=0\r\nWidthSpace=0\r\n"
              "HeightSpace=0\r\nInitPathType=0\r\nCursorQuickMove=0\r\nNoExtOnlyDir=0\r\nTemplatePath=\r\n"
              "\r\n[AfterCreate]\r\nAutoOpen=0\r\nOpenMax=0\r\nOpenMethod=0\r\nKeyType=0\r\n"
              "SleepTime=0\r\nCursorPos=0\r\nTcColSep=0\r\n"
              "\r\n[Window]\r\nSavePos=0\r\nSaveSize=0\r\n"
              "\r\n[Naming]\r\nSeparator=\r\nWrapper=\r\nCommonUse=\r\nTimeFormat=\r\n");
}

// Every key, set away from its default (negative numbers, double-byte
// text), comes back from the saved file.
TEST(IniOptions, RoundTrip) {
    TIniOptions o = LoadFrom("");
    int n = 0;
    for (const IniKey& k : IniKeys) {
        ++n;
        if (k.Int) o.*k.Int = n % 2 ? -3 * n : 100 * n;
        else if (k.Bool) o.*k.Bool = !k.Default;
        else o.*k.Text = "C:\\模板" + std::to_string(n) + "\\";
    }
    o.CommonUseList = {" lead", "中文", "trail "};
    o.WrapperList = {{"(", ")"}, {"", "]"}};  // a pair with an empty half is lost
    o.SaveToFile(kPath);
    EXPECT_EQ(o.Wrapper, "(*)|*]");

    TIniOptions back;
    back.LoadFromFile(kPath);
    for (const IniKey& k : IniKeys) EXPECT_EQ(Stored(k, back), Stored(k, o)) << k.Name;
    EXPECT_EQ(std::make_tuple(back.SeparatorList, back.CommonUseList, Pairs(back)),
              std::make_tuple(o.SeparatorList, o.CommonUseList, List{"(,)"}));

    // No escaping: an unmatched quote merges the phrases after it.
    back.CommonUseList = {"it's", "x"};
    back.SaveToFile(kPath);
    EXPECT_EQ(LoadFrom(headless::FileContent(kPath)).CommonUseList, List{"it's|x"});
}

TEST(IniOptions, SaveKeepsTheRestOfTheFile) {
    const std::string before =
        "; hand-written\n[Other]\nx=1\n[Window]\nSavePos=0\nLeft=11\nTop=22\nSaveSize=1\nWidth=5";
    TIniOptions o = LoadFrom(before);
    o.Left = 99;
    o.Width = 640;
    o.SaveToFile(kPath);
    std::string after = headless::FileContent(kPath);
    const std::string kept = "; hand-written\n[Other]\nx=1\n[Window]\nSavePos=0\nLeft=11\nTop=22\nSaveSize=1\n";
    EXPECT_EQ(after.rfind(kept + "Width=640\r\nHeight=160\r\n", 0), 0u) << after;
    EXPECT_EQ(after.find("Left=99"), std::string::npos);
    EXPECT_NE(after.find("[FileList]\r\nConfirmMode=0\r\n"), std::string::npos);
}

TEST(IniOptions, FailedSaveLeavesTheFileAlone) {
    const std::string before = "[AfterCreate]\r\nOpenMax=3\r\n";
    TIniOptions o = LoadFrom(before);
    o.OpenMax = 9;
    headless::State().unwritable.insert(headless::Key(kPath));
    try {
        o.SaveToFile(kPath);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), std::string("Unable to write to ") + kPath);
    }
    EXPECT_EQ(headless::FileContent(kPath), before);
}

}  // namespace

// The options record and its ini file. The keys are walked through IniKeys,
// so that every option, present and future, is read, written and kept.
#include <gtest/gtest.h>

#include "Inioptions.h"
#include "TestKit.h"

namespace {

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

// Every key away from its default: negative and positive numbers, flipped
// switches, double-byte text.
void SetAwayFromDefaults(TIniOptions& o) {
    int n = 0;
    for (const IniKey& k : IniKeys) {
        ++n;
        if (k.Int) o.*k.Int = n % 2 ? -3 * n : 100 * n;
        else if (k.Bool) o.*k.Bool = !k.Default;
        else o.*k.Text = "C:\\模板" + std::to_string(n) + "\\";
    }
}

// What a user who never touched a key gets. Every key of the table must
// have its line here, so that a new option states its default.
TEST(IniOptions, MissingKeysGiveDefaults) {
    TIniOptions o = LoadFrom("[Window]\r\nSavePos=1\r\nSaveSize=1\r\n");
    std::string keys;
    for (const IniKey& k : IniKeys) keys += std::string(k.Name) + "=" + Stored(k, o) + "\n";
    EXPECT_EQ(keys, "ConfirmMode=0\nInitBySelect=1\nAutoSizeOnInit=1\nWidthSpace=40\nHeightSpace=100\nInitPathType=0\n"
                    "CursorQuickMove=0\nNoExtOnlyDir=1\nTemplatePath=\nAutoOpen=1\nOpenMax=16\nOpenMethod=0\n"
                    "KeyType=0\nSleepTime=200\nCursorPos=0\nTcColSep=9\nSavePos=1\nLeft=380\nTop=260\nSaveSize=1\n"
                    "Width=460\nHeight=160\nSeparator=.|-|_|#\nWrapper=(*)|[*]|{*}\nCommonUse=tester\n"
                    "TimeFormat=yyyymmdd|yyyy-mm-dd|yymmdd|yyyymmddhhnnss|yyyy_mm_dd_ddd\n");
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

TEST(IniOptions, NamingLists) {
    const struct { const char *separator, *wrapper; List separators, wrappers; } cases[] = {
        {".||-", "(*)|(*|*)|a*b*c|[*]", {"", " ", ".", "-"}, {"(,)", "[,]"}},
        {".| |-", "<**>|'*|*'|x*y", {"", ".", " ", "-"}, {"<,>", "x,y"}},
    };
    for (const auto& c : cases) {
        TIniOptions o = LoadFrom(std::string("[Naming]\nSeparator=") + c.separator + "\nWrapper=" + c.wrapper + "\n");
        EXPECT_EQ(std::make_pair(o.SeparatorList, Pairs(o)), std::make_pair(c.separators, c.wrappers))
            << c.separator << " / " << c.wrapper;
    }
}

// A double-byte character whose second byte is '|' (東, 96 7C) leaves the
// user name one phrase, also after it has been stored and read again.
TEST(IniOptions, CommonUseDefaultIsTheUserName) {
    const std::string east = "\xB6\xAB\x96\x7Cx";
    const struct { std::string name; bool ok; List expected; } cases[] = {
        {"tester", true, {"tester"}}, {"tester", false, {}}, {std::string(127, 'u'), true, {std::string(127, 'u')}},
        {std::string(128, 'u'), true, {}},  // does not fit the 128-byte buffer
        {east, true, {east}},
    };
    for (const auto& c : cases) {
        headless::Reset();
        headless::AddFile(kPath, "[FileList]\r\n");
        State().userName = c.name;
        State().userNameOk = c.ok;
        TIniOptions o, back;
        o.LoadFromFile(kPath);
        o.SaveToFile(kPath);
        back.LoadFromFile(kPath);
        EXPECT_EQ(std::make_pair(o.CommonUseList, back.CommonUseList), std::make_pair(c.expected, c.expected))
            << c.name << " " << c.ok;
    }
}

TEST(IniOptions, SplitList) {
    const struct { std::string text; char sep; List expected; } cases[] = {
        {"|a||b|", '|', {"a", "b"}}, {"", '|', {}}, {" a | b ", '|', {" a ", " b "}},
        {"it's|x", '|', {"it's|x"}}, {"'a|b'|c", '|', {"'a|b'", "c"}},
        {"\"a'b\"|c", '|', {"\"a'b\"", "c"}}, {"a\r\nb|\n\nc\r", '|', {"a", "b", "c"}},
        {"'x\r\ny'|z", '|', {"'x\r\ny'", "z"}}, {"a*b*c", '*', {"a", "b", "c"}},
        // 東 (96 7C): its second byte is no separator.
        {"a|\x96\x7C|\x96\x7C\x96\x7C|b", '|', {"a", "\x96\x7C", "\x96\x7C\x96\x7C", "b"}},
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
        List editable = o.SeparatorList;
        TIniOptions::RemoveFixedSeparators(editable);
        EXPECT_EQ(std::make_pair(o.SeparatorList, editable), std::make_pair(c.normalized, c.editable))
            << ::testing::PrintToString(c.list);
    }
    List none;
    TIniOptions::RemoveFixedSeparators(none);
    EXPECT_TRUE(none.empty());
}

// Every key, set away from its default, comes back from the saved file.
TEST(IniOptions, RoundTrip) {
    TIniOptions o = LoadFrom("");
    SetAwayFromDefaults(o);
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

// Another program holds the file for a while: the read is retried; a file
// that stays unreadable is not overwritten with defaults the user never saw
// (until the settings dialog's OK: the inifile case under Wine).
TEST(IniOptions, UnreadableFileAtStart) {
    const std::string held = "[AfterCreate]\r\nOpenMax=7\r\nSleepTime=123\r\n";
    const struct { const char* name; int failedReads; int openMaxRead; bool rewritten; } rows[] = {
        {"released within the retries", 5, 7, true},
        {"held throughout", 1000, 16, false},
    };
    for (const auto& row : rows) {
        headless::Reset();
        headless::AddFile(kPath, held);
        State().readFailures[headless::Key(kPath)] = row.failedReads;
        TIniOptions o;
        o.LoadFromFile(kPath);
        EXPECT_EQ(o.OpenMax, row.openMaxRead) << row.name;
        State().readFailures.clear();  // the other program is done by the end
        o.SaveToFile(kPath);
        const std::string after = headless::FileContent(kPath);
        EXPECT_EQ(after != held, row.rewritten) << row.name << ": " << after;
        EXPECT_NE(after.find("OpenMax=7"), std::string::npos) << row.name << ": " << after;
    }
}

}  // namespace

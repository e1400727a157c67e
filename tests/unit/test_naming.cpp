// The naming menu: its helpers, the date patterns, the accelerators, the
// generated entries, and what the entries do to the lines.
#include <gtest/gtest.h>

#include <memory>

#include "Main.h"
#include "MainNaming.h"
#include "TestKit.h"
#include "Utils.h"

namespace {

TEST(NamingHelpers, NumbersAndLetters) {
    const struct { long long n; const char* zeros; } numbers[] = {
        {0, "0"}, {9, "0"}, {10, "00"}, {99, "00"}, {100, "000"}, {2147483648LL, "0000000000"}};
    for (const auto& c : numbers) EXPECT_EQ(NumberPattern(c.n), c.zeros) << c.n;

    const struct { long long n; const char* letters; } letters[] = {
        {0, ""},     {-5, ""},     {1, "A"},       {26, "Z"},       {27, "AA"},  {52, "AZ"}, {53, "BA"},
        {702, "ZZ"}, {703, "AAA"}, {18278, "ZZZ"}, {18279, "AAAA"}, {2147483647LL, "FXSHRXW"},
        {2147483648LL, "FXSHRXX"}};
    for (const auto& c : letters) {
        EXPECT_EQ(LetterSequence(c.n, true), c.letters) << c.n;
        EXPECT_EQ(LetterSequence(c.n, false), plat::AnsiLowerCase(c.letters)) << c.n;
    }
}

TEST(NamingHelpers, SettleCaptions) {
    // out: the captions settled, "(hidden) " before one that is not shown.
    const struct { const char* what; List in, out; std::vector<bool> lines = {}; } cases[] = {
        {"fixed ones kept", {"前缀(&P)", "后缀(&S)"}, {"前缀(&P)", "后缀(&S)"}},
        {"missing, ASCII", {"&multi", "multi", "multi"}, {"&multi", "m&ulti", "mu&lti"}},
        {"clash moves the later one", {"&abc", "&abc"}, {"&abc", "a&bc"}},
        {"bracketed clash", {"常用(&C)", "常量(&C)"}, {"常用(&C)", "常量(&0)"}},
        {"nothing free in the caption", {"&0", "&1", "0.1"}, {"&0", "&1", "0.1(&2)"}},
        {"nothing at all", {"大写", "小写"}, {"大写(&0)", "小写(&1)"}},
        {"letters by either case", {"&A", "a"}, {"&A", "a(&0)"}},
        {"doubled & is text", {"&&x", "R&&D"}, {"&&&x", "&R&&D"}},
        {"lines", {"-", "a", "-", "-", "b", "-"}, {"(hidden) -", "&a", "-", "(hidden) -", "&b", "(hidden) -"},
         {true, false, true, true, false, true}},
        {"lines only", {"-", "-"}, {"(hidden) -", "(hidden) -"}, {true, true}},
        // A phrase or a date that reads "-" is an entry like any other.
        {"a dash is text", {"-", "-"}, {"-(&0)", "-(&1)"}, {}},
        {"a dash beside a line", {"", "-"}, {"(hidden) ", "-(&0)"}, {true, false}},
    };
    for (const auto& c : cases) {
        List shown;
        for (const ShownCaption& s : SettleCaptions(c.in, c.lines))
            shown.push_back((s.Visible ? "" : "(hidden) ") + s.Caption);
        EXPECT_EQ(shown, c.out) << c.what;
    }
    // Thirty-seven siblings without an accelerator: the last goes without.
    std::vector<ShownCaption> many = SettleCaptions(List(37, "--"));
    EXPECT_EQ(List({many[0].Caption, many[35].Caption, many[36].Caption}), List({"--(&0)", "--(&Z)", "--"}));
}

// Patterns that neither the comparison with Free Pascal nor the fuzz
// reference reaches: a marker's letter quoted or doubled, the widths of the
// milliseconds, a quote left open.
TEST(NamingHelpers, DatePatterns) {
    // Saturday 7 March 2026, 14:05:09.042, and Sunday 22 November 2009 at 0:00:00.007.
    const plat::LocaleTexts loc = headless::ChineseLocale();
    const plat::DateTime t{2026, 3, 7, 14, 5, 9, 42, 6}, morning{2009, 11, 22, 0, 0, 0, 7, 0};
    const struct { const char *pattern, *want, *wantMorning; } cases[] = {
        {"h 'a' AM/PM", "2 a PM", "12 a AM"},
        {"h aa AM/PM", "14 aa PM", "0 aa AM"},
        {"z zz zzz zzzz", "42 42 042 042", "7 07 007 007"},
        {"'unclosed", "unclosed", "unclosed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List({FormatDatePattern(c.pattern, t, loc), FormatDatePattern(c.pattern, morning, loc)}),
                  List({c.want, c.wantMorning}))
            << c.pattern;
}

// The system's date and time formats, as the user's regional settings give
// them, behind the tokens that show them: t, tt, ddddd, dddddd and c.
TEST(NamingHelpers, SystemFormats) {
    enum Slot { ShortTime, LongTime, ShortDate, LongDate };
    const char* const patternOf[] = {"t", "tt", "ddddd", "dddddd"};
    // Each hour is of Saturday 7 March 2026, at :05:09 past it.
    const struct { Slot slot; const char* format; std::vector<std::pair<int, const char*>> atHours; } rows[] = {
        // The zh-CN defaults render on 24 hours, as they always did.
        {ShortTime, "HH:mm", {{0, "00:05"}, {23, "23:05"}}},
        {LongTime, "HH:mm:ss", {{11, "11:05:09"}, {12, "12:05:09"}}},
        {ShortDate, "yyyy/M/d", {{0, "2026/3/7"}}},
        {LongDate, "yyyy'年'M'月'd'日'dddd", {{0, "2026年3月7日星期六"}}},
        {LongDate, "yyyy年M月d日dddd", {{0, "2026年3月7日星期六"}}},  // as Wine gives it
        // A Chinese system set to 12 hours.
        {ShortTime, "tt h:mm", {{0, "上午 12:05"}, {11, "上午 11:05"}, {12, "下午 12:05"}, {23, "下午 11:05"}}},
        {LongTime, "tt hh:mm:ss", {{9, "上午 09:05:09"}}},
        // An English one: the designator after the time.
        {ShortTime, "h:mm tt", {{0, "12:05 上午"}, {12, "12:05 下午"}}},
        // One t is the designator's first character, a double-byte one whole.
        {ShortTime, "h:mmt", {{23, "11:05下"}}},
        {LongTime, "H:m:s", {{9, "9:5:9"}}},
        {LongTime, "HHH hhh mmm sss", {{23, "23 11 05 09"}}},
        // Letters of the other kind, and our own letters, are text there.
        {LongTime, "HH:mm d y n AMPM", {{14, "14:05 d y n AMPM"}}},
        {ShortDate, "d-M-yy h m n c", {{0, "7-3-26 h m n c"}}},
        // Quoted text is kept; a doubled quote inside it is one apostrophe.
        {LongTime, "h'h'mm'm' tt", {{14, "2h05m 下午"}}},
        {LongTime, "'it''s' H", {{14, "it's 14"}}},
        {LongTime, "a''b H", {{14, "ab 14"}}},
        {LongTime, "H 'open", {{14, "14 open"}}},
        {LongTime, "\"H\" H", {{14, "\"14\" 14"}}},  // a double quote is text
        // The date letters as the system reads them.
        {ShortDate, "d dd ddd dddd ddddd", {{0, "7 07 周六 星期六 星期六"}}},
        {ShortDate, "M MM MMM MMMM MMMMM", {{0, "3 03 3月 三月 三月"}}},
        {ShortDate, "y yy yyy yyyy yyyyy", {{0, "26 26 2026 2026 2026"}}},
        {ShortDate, "gg yyyy", {{0, "公元 2026"}}},
        {LongDate, "m mm dddd", {{0, "m mm 星期六"}}},
    };
    for (const auto& r : rows) {
        plat::LocaleTexts loc = headless::ChineseLocale();
        std::string* slots[] = {&loc.ShortTimeFormat, &loc.LongTimeFormat, &loc.ShortDateFormat, &loc.LongDateFormat};
        *slots[r.slot] = r.format;
        for (const auto& [hour, want] : r.atHours)
            EXPECT_EQ(FormatDatePattern(patternOf[r.slot], {2026, 3, 7, hour, 5, 9, 42, 6}, loc), want)
                << r.format << " at " << hour;
    }
    // A one-digit year has no leading zero with one y.
    plat::LocaleTexts loc = headless::ChineseLocale();
    loc.ShortDateFormat = "y|yy|M/d";
    EXPECT_EQ(FormatDatePattern("ddddd", {2009, 1, 2, 0, 0, 0, 0, 5}, loc), "9|09|1/2");

    // c: the short date, then the long time unless it is midnight.
    loc.ShortTimeFormat = "tt h:mm";
    loc.LongTimeFormat = "tt h:mm:ss";
    const struct { plat::DateTime t; const char* want; } c[] = {
        {{2026, 3, 7, 11, 30, 23, 0, 6}, "2026/3/7 上午 11:30:23"},
        {{2026, 3, 7, 0, 0, 1, 0, 6}, "2026/3/7 上午 12:00:01"},
        {{2026, 3, 7, 0, 0, 0, 0, 6}, "2026/3/7"},
        {{2026, 3, 7, 12, 0, 0, 0, 6}, "2026/3/7 下午 12:00:00"},
    };
    loc.ShortDateFormat = "yyyy/M/d";
    for (const auto& row : c) EXPECT_EQ(FormatDatePattern("c", row.t, loc), row.want) << row.want;
}

// ------------------------------------------------------------ the window

class NamingMenu : public ::testing::Test {
protected:
    std::unique_ptr<TfomMain> f;
    void SetUp() override {
        FreshWorld();
        f = std::make_unique<TfomMain>();
        // The lists an ini file with the default naming keys gives.
        TIniOptions& o = *f->Options;
        o.SeparatorList = {"", " ", ".", "-", "_", "#"};
        o.WrapperList = {{"(", ")"}, {"[", "]"}, {"{", "}"}};
        o.CommonUseList = {"abc"};
        o.TimeFormatList = {"yyyymmdd", "yyyy-mm-dd", "yymmdd", "yyyymmddhhnnss", "yyyy_mm_dd_ddd"};
    }
    static List Captions(const std::vector<TMenuItem*>& items) {
        List r;
        for (TMenuItem* m : items) r.push_back(m->Caption);
        return r;
    }
    // What the entry shows once the menu has opened.
    static std::string Shown(const TMenuItem* m) { return headless::W(m->Handle)->text; }
    static bool Visible(const TMenuItem* m) { return headless::W(m->Handle)->visible; }

    // The generated entry of this kind with this before and after (and text:
    // a phrase, a date or a separator).
    TMenuItem* Entry(unsigned char kind, const std::string& before, const std::string& after,
                     const std::string& text = "") {
        for (TMenuItem* m : f->GeneratedMenuItems)
            if (auto* d = static_cast<TfomMain::NamingData*>(m->Data))
                if (d->Kind == kind && d->Before == before && d->After == after && (text.empty() || d->Text == text))
                    return m;
        return nullptr;
    }
    std::string Run(TMenuItem* entry, const std::string& text) {
        f->mmoFileNames.SetText(text);
        if (!entry) return "<no entry>";
        entry->FireClick();
        return f->mmoFileNames.Text();
    }
};

TEST_F(NamingMenu, SkeletonAndGeneratedPart) {
    using V = List;
    // Made on the first opening, not while the window starts.
    EXPECT_EQ(f->pmNaming.Handle, nullptr);
    f->mmoFileNames.SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n");
    ASSERT_EQ(f->mmoFileNames.LineCount(), 12);  // two digits in the samples
    f->btnNamingClick(nullptr);
    EXPECT_TRUE(f->NamingMenuBuilt);
    EXPECT_EQ(Captions(f->mniCommonUsePre.Children), V{"abc"});
    EXPECT_EQ(Captions(f->mniTimeFormatPre.Children),
              (V{"20260307", "2026-03-07", "260307", "20260307140509", "2026_03_07_周六"}));
    ASSERT_EQ(f->mniNumberPre.Children.size(), 2u);
    EXPECT_EQ(Captions(f->mniNumberPre.Children[1]->Children),
              (V{"01", "01(空格)", "01.", "01-", "01_", "01#", "(01)", "[01]", "{01}"}));
    EXPECT_EQ(Captions(f->mniNumberSuf.Children[1]->Children),
              (V{"01", "(空格)01", ".01", "-01", "_01", "#01", "(01)", "[01]", "{01}"}));
    EXPECT_EQ(Captions(f->mniAlphaSuf.Children), (V{"大写", "小写"}));
    EXPECT_EQ(Captions(f->mniSpace.Children),
              (V{"删除前导空格(&P)", "删除末尾空格(&S)", "-", "multi words => multi.words",
                 "multi words => multi-words", "multi words => multi_words", "multi words => multi#words", "-",
                 "multi.words => multi words", "multi-words => multi words", "multi_words => multi words",
                 "multi#words => multi words"}));
    // Shown with accelerators of their own.
    EXPECT_EQ((V{Shown(f->mniNumberPre.Children[1]->Children[0]), Shown(f->mniNumberPre.Children[1]->Children[1]),
                 Shown(f->mniSpace.Children[3]), Shown(f->mniAlphaPre.Children[0])}),
              (V{"&01", "01(空格)(&1)", "&multi words => multi.words", "大写(&0)"}));

    // Every generated entry is listed once, each child before its parent.
    const size_t perSubmenu = 9 + 1;
    const size_t total = (2 + 10 + 8) * perSubmenu + 2 * (1 + 4);
    EXPECT_EQ(f->GeneratedMenuItems.size(), total);
    for (size_t i = 0; i < f->GeneratedMenuItems.size(); ++i)
        for (TMenuItem* c : f->GeneratedMenuItems[i]->Children)
            for (size_t j = i; j < f->GeneratedMenuItems.size(); ++j)
                EXPECT_NE(f->GeneratedMenuItems[j], c) << "child after its parent at " << i;

    // Opened again: nothing added. Rebuilt: the old entries gone.
    const size_t widgets = State().widgets.size();
    f->btnNamingClick(nullptr);
    EXPECT_EQ(State().widgets.size(), widgets);
    f->Options->CommonUseList = {"x", "y"};
    f->Options->SeparatorList = {"", " ", "a b", " -"};
    f->InvalidateNamingMenu();
    f->btnNamingClick(nullptr);
    EXPECT_EQ(Captions(f->mniCommonUseSuf.Children), (V{"x", "y"}));
    EXPECT_EQ(Captions(f->mniCommonUseSuf.Children[0]->Children),
              (V{"x", "(空格)x", "a(空格)bx", "(空格)-x", "(x)", "[x]", "{x}"}));
    // Only the separator with a blank in its middle is offered for spaces.
    EXPECT_EQ(Captions(f->mniSpace.Children), (V{"删除前导空格(&P)", "删除末尾空格(&S)", "-",
                                                 "multi words => multia bwords", "-", "multia bwords => multi words"}));
    EXPECT_EQ(State().widgets.size(), widgets - total + f->GeneratedMenuItems.size());
}

// A phrase "-" and a date pattern that renders "-" make submenus like any
// other text, whose entries show and act; a phrase's & shows as written; with
// no separator fit for spaces, the space submenu's two lines are hidden.
TEST_F(NamingMenu, DashesAmpersandsAndHiddenLines) {
    TIniOptions& o = *f->Options;
    o.SeparatorList = {"", " "};
    o.WrapperList.clear();
    o.CommonUseList = {"R&D", "-"};
    o.TimeFormatList = {"'-'"};
    f->btnNamingClick(nullptr);
    ASSERT_EQ(f->mniSpace.Children.size(), 4u);
    EXPECT_FALSE(Visible(f->mniSpace.Children[2]) || Visible(f->mniSpace.Children[3]));
    EXPECT_EQ(Captions(f->mniNumberPre.Children), (List{"从&0开始", "从&1开始"}));
    ASSERT_EQ(f->mniCommonUsePre.Children.size(), 2u);
    EXPECT_EQ(Shown(f->mniCommonUsePre.Children[0]), "&R&&D");
    for (TMenuItem* level : {&f->mniCommonUsePre, &f->mniTimeFormatSuf}) {
        SCOPED_TRACE(level->Name);
        TMenuItem* sub = level->Children.back();
        ASSERT_EQ(sub->Children.size(), 2u);
        EXPECT_EQ(std::make_tuple(sub->IsSubmenu, sub->IsLine, headless::W(sub->Handle)->menuLine, Visible(sub),
                                  Shown(sub), Visible(sub->Children[0])),
                  std::make_tuple(true, false, false, true, std::string("-(&0)"), true));
    }
    EXPECT_EQ(Run(f->mniCommonUsePre.Children[1]->Children[0], "x.txt"), "-x.txt");
    EXPECT_EQ(Run(f->mniTimeFormatSuf.Children[0]->Children[1], "x.txt"), "x -.txt");
}

TEST_F(NamingMenu, EntriesActOnTheLines) {
    f->btnNamingClick(nullptr);
    using M = TfomMain;
    TMenuItem* const prefix1 = Entry(M::PrefixNumberFrom1, "", "-");
    TMenuItem* const suffix1 = Entry(M::SuffixNumberFrom1, "-", "");
    const struct { const char* what; TMenuItem* entry; std::string in, out; bool onlyDir = false; } rows[] = {
        {"letters", Entry(M::SuffixUpperLetters, "-", ""), "a\r\nC:\\data\\x.tar.gz", "a-A\r\nC:\\data\\x.tar-B.gz"},
        {"lower letters", Entry(M::PrefixLowerLetters, "", ""), "a\r\nb", "aa\r\nbb"},
        {"phrase on .ini", Entry(M::PrefixText, "", "-", "abc"), ".ini", "abc-.ini"},
        {"slash is no folder", suffix1, "abc/", "abc/-1"},
        {"wrapper suffix", Entry(M::SuffixNumberFrom1, "(", ")"), "report.txt", "report(1).txt"},
        {"ten from 0", Entry(M::PrefixNumberFrom0, "", ""), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj",
         "00a\r\n01b\r\n02c\r\n03d\r\n04e\r\n05f\r\n06g\r\n07h\r\n08i\r\n09j"},
        {"empty lines keep places", prefix1, "a\r\n\r\nc\r\n", "1-a\r\n\r\n3-c\r\n"},
        {"roots, a doubled backslash, a drive", prefix1, "C:\\\r\n\\\r\nsub\\\\\r\nC:x.txt",
         "C:\\1-\\\r\n\\2-\\\r\nsub\\\\3-\\\r\nC:4-x.txt"},
        // 乗 (0x81 0x5C) is a file; its second byte is no folder mark.
        {"乗 is a file", suffix1, BYTES("\x81\\.txt\r\n\x81\\\r\n\x81\\\\\r\nd\\\x81\\.txt"),
         BYTES("\x81\\-1.txt\r\n\x81\\-2\r\n\x81\\-3\\\r\nd\\\x81\\-4.txt")},
        {"twice", Entry(M::PrefixText, "", "-", "abc"), "abc-x", "abc-abc-x"},
        {"long lines cut", Entry(M::PrefixText, "", "", "abc"), std::string(5000, 'q'), "abc" + std::string(4096, 'q')},
        {"OnlyDir: folders", suffix1, BYTES("abc\r\nd.e\\\r\n\x81\\"), BYTES("abc-1\\\r\nd.e-2\\\r\n\x81\\-3\\"), true},
        {"lower", &f->mniLowerCase, "My Report.TXT\r\nsub\\Read Me.TXT", "my report.TXT\r\nsub\\read me.TXT"},
        {"lead blanks", &f->mniDelPreSpace, "  abc.txt\r\nsub\\  abc.txt\r\n  sub\\abc.txt",
         "abc.txt\r\nsub\\abc.txt\r\n  sub\\abc.txt"},
        {"trail blanks", &f->mniDelSufSpace, "abc  .txt\r\nabc.txt  \r\nabc  \\", "abc.txt\r\nabc.txt  \r\nabc\\"},
        {"blank folder name", &f->mniDelSufSpace, "sub\\  \\", "sub\\"},
    };
    for (const auto& r : rows) {
        f->OnlyDirMode = r.onlyDir;
        EXPECT_EQ(Run(r.entry, r.in), r.out) << r.what;
    }

    // A match never starts on a second byte: 0x81 0x61 holds no "a".
    f->OnlyDirMode = false;
    f->Options->SeparatorList = {"", " ", "a"};
    f->InvalidateNamingMenu();
    f->btnNamingClick(nullptr);
    EXPECT_EQ(Run(Entry(M::SeparatorToSpace, "", "", "a"), BYTES("\x81\x61" "a")), BYTES("\x81\x61 "));
}

}  // namespace

// The command line as the file manager passes it: the arguments, the
// switches, and the panel's folder read from the raw line.
#include <gtest/gtest.h>

#include <random>

#include "CommandLine.h"
#include "TestKit.h"

namespace {

using Args = List;

TEST(CommandLine, SplitArguments) {
    headless::Reset();
    const struct { const char* name; std::string raw; Args args; } cases[] = {
        {"empty line", "", {""}},
        {"program only", "k.exe", {"k.exe"}},
        {"plain", "k.exe C:\\work\\a.txt", {"k.exe", "C:\\work\\a.txt"}},
        {"quoted program", "\"C:\\Program Files\\k.exe\" -OnlyDir C:\\w\\",
         {"C:\\Program Files\\k.exe", "-OnlyDir", "C:\\w\\"}},
        {"tabs and controls separate", "k\t\x01\x1f" "a\r\nb", {"k", "a", "b"}},
        {"quotes inside an argument", "k a\"b c\"d", {"k", "ab cd"}},
        {"empty pair skipped", "k \"\" C:\\work\\a.txt", {"k", "C:\\work\\a.txt"}},
        {"several empty pairs", "k \"\"\"\" \"\" x", {"k", "x"}},
        {"empty pair then text", "k \"\"abc", {"k", "abc"}},
        {"empty pair inside an argument", "k a\"\"b", {"k", "ab"}},
        {"quoted blank is an argument", "k \" \"", {"k", " "}},
        {"unclosed quote runs to the end", "k \"C:\\My Work\\a", {"k", "C:\\My Work\\a"}},
        {"lone quote at the end", "k a \"", {"k", "a"}},
        {"three quotes", "k \"\"\"", {"k"}},
        {"only blanks and controls", std::string(" \t\x01\x02 \x1f\x20"), {""}},
        {"NUL ends the line", std::string("k a\0b", 5), {"k", "a"}},
        // A lead byte keeps its second byte, even a quote or a blank.
        {"second byte blank", BYTES("k \x81 x"), {"k", BYTES("\x81 x")}},
        {"second byte quote", BYTES("k \x81\"x y"), {"k", BYTES("\x81\"x"), "y"}},
        {"second byte backslash", BYTES("k \"\x81\\\" y"), {"k", BYTES("\x81\\"), "y"}},
        {"lead byte last", BYTES("k a\x81"), {"k", BYTES("a\x81")}},
        {"Chinese path", "k \"D:\\新 建\\甲.txt\"", {"k", "D:\\新 建\\甲.txt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitArguments(c.raw), c.args) << c.name;
}

TEST(CommandLine, SplitArgumentsLongLines) {
    headless::Reset();
    const std::string big(30000, 'x');
    EXPECT_EQ(SplitArguments("k " + big), (Args{"k", big}));
    EXPECT_EQ(SplitArguments("k \"" + big), (Args{"k", big}));
    std::string blanks;
    for (int i = 0; i < 30000; ++i) blanks += static_cast<char>(1 + i % 32);
    EXPECT_EQ(SplitArguments(blanks), Args{""});
    std::string leads(29999, '\x81');  // odd count: the last lead byte stands alone
    EXPECT_EQ(SplitArguments("k " + leads), (Args{"k", leads}));
    std::string many = "k";
    for (int i = 0; i < 10000; ++i) many += " a";
    EXPECT_EQ(SplitArguments(many).size(), 10001u);
}

TEST(CommandLine, RandomLinesKeepTheInvariants) {
    headless::Reset();
    std::mt19937 rng(7);
    const std::string bytes = std::string("\"\"  \t\x01-/\\aZ\x81\xFE\x7F", 15) + std::string(1, '\0');
    for (int round = 0; round < 5000; ++round) {
        std::string raw;
        for (size_t n = rng() % 40; n > 0; --n) raw += bytes[rng() % bytes.size()];
        Args args = SplitArguments(raw);
        ASSERT_FALSE(args.empty());
        size_t total = args[0].size();
        for (size_t i = 1; i < args.size(); ++i) {
            total += args[i].size();
            ASSERT_FALSE(args[i].empty()) << ::testing::PrintToString(raw);
        }
        ASSERT_LE(total, raw.size());
        std::string dir = PanelDirFromRawLine(raw);
        ASSERT_LE(dir.size(), raw.size());
        ASSERT_EQ(raw.compare(raw.size() - dir.size(), dir.size(), dir), 0);  // a tail of the line
    }
}

TEST(CommandLine, ScanSwitches) {
    const struct { Args args; int count; bool onlyDir; } cases[] = {
        {{"k", "C:\\work\\a.txt"}, 0, false},
        {{"k", "-OnlyDir", "C:\\work\\a.txt"}, 1, true},
        {{"k", "/onlydir", "C:\\work\\a.txt"}, 1, true},
        {{"k", "-ONLYDIR", "C:\\work\\a.txt"}, 1, true},
        {{"k", "--onlydir", "C:\\work\\a.txt"}, 2, false},
        {{"k", "-x", "C:\\work\\", "a.txt"}, 2, false},
        {{"k", "-x", "-onlydir", "a.txt"}, 3, true},  // the value is still looked at
        {{"k", "a.txt", "-OnlyDir"}, 1, true},         // switches count anywhere
        {{"k", "-", "/"}, 4, false},
        {{"k", "-onlydirx"}, 2, false},
        {{"-onlydir"}, 0, false},  // the program itself is never a switch
        {{""}, 0, false},
    };
    for (const auto& c : cases) {
        SwitchScan s = ScanSwitches(c.args);
        EXPECT_EQ(std::make_pair(s.SwitchCount, s.OnlyDirMode), std::make_pair(c.count, c.onlyDir))
            << ::testing::PrintToString(c.args);
    }
}

TEST(CommandLine, PanelDirFromRawLine) {
    const struct { std::string raw, dir; } cases[] = {
        {"\"C:\\Korvalin\\korvalin.exe\" -OnlyDir D:\\My Work\\", "D:\\My Work\\"},
        {"\"C:\\Korvalin\\korvalin.exe\" D:\\My Work\\", "D:\\My Work\\"},
        {"korvalin.exe D:\\w\\", "D:\\w\\"},
        {"k  /x  -y D:\\w\\", "D:\\w\\"},
        {"\"C:\\a b\\k.exe\"   D:\\w\\", "D:\\w\\"},
        {"k \"D:\\My Work\\\"", "\"D:\\My Work\\\""},  // the walk does not unquote
        {"\"\"k\" D:\\w\\", "D:\\w\\"},           // the byte after an opening quote is skipped
        {"\"C:\\a b\\k.exe -OnlyDir D:\\w\\", ""},  // the program's quote is never closed
        {"\"", ""},
        {"\"\"", ""},
        {"k -a -b", ""},
        {"k ", ""},
        {"", ""},
        {"D:\\w\\", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PanelDirFromRawLine(c.raw), c.dir) << c.raw;
    // Never reads past the end, however long the open quote runs.
    EXPECT_TRUE(PanelDirFromRawLine("\"" + std::string(30000, 'x') + " D:\\").empty());
    EXPECT_EQ(PanelDirFromRawLine("k" + std::string(30000, ' ') + "D:\\"), "D:\\");
}

}  // namespace

// The command line as the file manager passes it: the arguments, the
// switches, the panel's folder read from the raw line, and the first list
// made from the items it passes.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "Main.h"
#include "TestKit.h"

namespace {

TEST(CommandLine, SplitArguments) {
    headless::Reset();
    const struct { const char* name; std::string raw; List args; } cases[] = {
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
    EXPECT_EQ(SplitArguments("k " + big), (List{"k", big}));
    EXPECT_EQ(SplitArguments("k \"" + big), (List{"k", big}));
    std::string blanks;
    for (int i = 0; i < 30000; ++i) blanks += static_cast<char>(1 + i % 32);
    EXPECT_EQ(SplitArguments(blanks), List{""});
    std::string leads(29999, '\x81');  // odd count: the last lead byte stands alone
    EXPECT_EQ(SplitArguments("k " + leads), (List{"k", leads}));
    std::string many = "k";
    for (int i = 0; i < 10000; ++i) many += " a";
    EXPECT_EQ(SplitArguments(many).size(), 10001u);
}

TEST(CommandLine, ScanSwitches) {
    const struct { List args; int count; bool onlyDir; } cases[] = {
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

// ------------------------------------------------------------ the panel's folder and the first list

const std::string kExe = "\"C:\\Korvalin\\korvalin.exe\"";

// Runs the panel-directory step the way start-up and the show step set it up.
std::string RunPanelStep(TfomMain& f, const std::string& args, bool noExt = false, int pathType = 0) {
    State().commandLine = kExe + " " + args;
    SwitchScan scan = ScanSwitches(SplitArguments(State().commandLine));
    f.SwitchCount = scan.SwitchCount;
    f.OnlyDirMode = scan.OnlyDirMode;
    f.Options->InitBySelect = true;
    f.Options->NoExtOnlyDir = noExt;
    f.Options->InitPathType = pathType;
    f.InitPanelDir();
    return f.mmoFileNames.Text();
}

TEST(Panel, InitialListFromSelection) {
    // The arguments after the program, NoExtOnlyDir, InitPathType.
    const struct { const char* name; std::string args; bool noExt; int pathType; std::string panelDir, text; }
        cases[] = {
        {"folder, full path", "D:\\w\\src", false, 0, "D:\\w\\", "D:\\w\\src\\"},
        {"folder, name only", "D:\\w\\src", false, 1, "D:\\w\\", "src\\"},
        {"folder already with backslash", "\"D:\\w\\src\\\" x", false, 0, "D:\\w\\src\\", "D:\\w\\src\\\r\nx"},
        {"file, OnlyDir, no extension", "-OnlyDir D:\\w\\a.b.txt", true, 0, "D:\\w\\", "D:\\w\\a.b"},
        {"file, OnlyDir, extension kept", "-OnlyDir D:\\w\\a.b.txt", false, 0, "D:\\w\\", "D:\\w\\a.b.txt"},
        {"file, no OnlyDir", "D:\\w\\a.b.txt", true, 0, "D:\\w\\", "D:\\w\\a.b.txt"},
        {"dotted folder keeps its dots", "/onlydir D:\\w\\old.files", true, 0, "D:\\w\\", "D:\\w\\old.files\\"},
        {"dot file becomes its folder", "-OnlyDir D:\\w\\.cfg", true, 0, "D:\\w\\", "D:\\w\\"},
        {"dot file vanishes when last", "-OnlyDir D:\\w\\a.txt D:\\w\\.cfg", true, 1, "D:\\w\\", "a"},
        {"path type 2 is full paths", "D:\\w\\a.txt", false, 2, "D:\\w\\", "D:\\w\\a.txt"},
        {"three items, no fourth line", "D:\\w\\a D:\\w\\b D:\\w\\c", false, 0, "D:\\w\\",
         "D:\\w\\a\r\nD:\\w\\b\r\nD:\\w\\c"},
        {"shorter than the panel dir", "D:\\w\\abc C:\\x", false, 1, "D:\\w\\", "abc"},
        {"quoted names with blanks", "\"D:\\My Work\\a b.txt\" \"D:\\My Work\\c\"", false, 1, "D:\\My Work\\",
         "a b.txt\r\nc\\"},
        {"switch with a value", "-x v D:\\w\\a.txt", false, 0, "D:\\w\\", "D:\\w\\a.txt"},
        {"drive-relative item", "D:a.txt", false, 0, "D:", "D:a.txt"},
        {"no directory part", "a.txt", false, 0, "", "a.txt"},
        // The second byte of 0x81 0x5C is no backslash, of 0x81 0x2E no dot.
        {"double-byte folder name", BYTES("D:\\\x81\\x.txt"), false, 0, "D:\\", BYTES("D:\\\x81\\x.txt")},
        {"double-byte dot", BYTES("-OnlyDir D:\\w\\a\x81."), true, 0, "D:\\w\\", BYTES("D:\\w\\a\x81.")},
        {"double-byte bar", BYTES("D:\\w\\a\x81|.txt"), true, 1, "D:\\w\\", BYTES("a\x81|.txt")},
    };
    for (const auto& c : cases) {
        headless::Reset();
        headless::AddDir("D:\\w\\src");
        headless::AddDir("D:\\w\\old.files");
        headless::AddDir("D:\\My Work\\c");
        TfomMain f;
        const std::string text = RunPanelStep(f, c.args, c.noExt, c.pathType);
        EXPECT_EQ(std::make_tuple(text, f.PanelDir, Selection(f.mmoFileNames)),
                  std::make_tuple(c.text, c.panelDir, std::make_pair(0, static_cast<int>(c.text.size()))))
            << c.name;
    }
}

// No first list: the panel's folder alone on the line (it may hold unquoted
// blanks), the selection switched off, or more switch positions than
// arguments (start-up refuses such a line). The window keeps its bounds, and
// no folder of an earlier step stays.
TEST(Panel, NoFirstList) {
    // switches: the count start-up found; bySelect: InitBySelect.
    const struct { std::string line; int switches; bool bySelect; std::string panelDir; } cases[] = {
        {kExe + " D:\\w\\", 0, true, "D:\\w\\"},
        {kExe + " -OnlyDir D:\\My Work\\", 1, true, "D:\\My Work\\"},
        {kExe + " -OnlyDir  /x  D:\\a b\\", 2, true, "D:\\a b\\"},
        {kExe + " \"D:\\w\\", 0, true, "\"D:\\w\\"},  // the walk stops at the blank: no unquoting
        {"\"C:\\Korvalin\\korvalin.exe -OnlyDir D:\\w\\", 0, false, ""},  // the program's quote is never closed
        {kExe + " D:\\w\\a.txt D:\\w\\b.txt", 0, false, "D:\\w\\"},
        {"k.exe -x", 2, true, ""}, {"k.exe", 2, true, ""}, {"", 2, true, ""}, {" \t ", 2, true, ""},
    };
    for (const auto& c : cases) {
        headless::Reset();
        TfomMain f;
        f.Options->AutoSizeOnInit = true;
        f.Options->InitBySelect = c.bySelect;
        f.SwitchCount = c.switches;
        f.PanelDir = "stale";
        State().commandLine = c.line;
        const Place before = PlaceOf(f.Bounds());
        f.InitPanelDir();
        EXPECT_EQ(std::make_tuple(f.mmoFileNames.Text(), f.PanelDir, PlaceOf(f.Bounds())),
                  std::make_tuple("", c.panelDir, before)) << '"' << c.line << '"';
    }
}

}  // namespace

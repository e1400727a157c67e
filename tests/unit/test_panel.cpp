// The panel's folder and the first list, from the items the file manager
// passes on the command line.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "Main.h"
#include "TestKit.h"

namespace {

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
        {"three items, no fourth line", "D:\\w\\a D:\\w\\b D:\\w\\c", false, 0, "D:\\w\\", "D:\\w\\a\r\nD:\\w\\b\r\nD:\\w\\c"},
        {"shorter than the panel dir", "D:\\w\\abc C:\\x", false, 1, "D:\\w\\", "abc"},
        {"quoted names with blanks", "\"D:\\My Work\\a b.txt\" \"D:\\My Work\\c\"", false, 1, "D:\\My Work\\", "a b.txt\r\nc\\"},
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
        EXPECT_EQ(RunPanelStep(f, c.args, c.noExt, c.pathType), c.text) << c.name;
        EXPECT_EQ(f.PanelDir, c.panelDir) << c.name;
        EXPECT_EQ(Selection(f.mmoFileNames), std::make_pair(0, static_cast<int>(c.text.size()))) << c.name;
    }
}

TEST(Panel, NothingSelected) {
    const struct { std::string args, panelDir; } cases[] = {
        {"D:\\w\\", "D:\\w\\"},
        {"-OnlyDir D:\\My Work\\", "D:\\My Work\\"},  // unquoted blanks are kept
        {"-OnlyDir  /x  D:\\a b\\", "D:\\a b\\"},
        {"\"D:\\w\\", "\"D:\\w\\"},  // the walk stops at the blank: no unquoting
    };
    for (const auto& c : cases) {
        headless::Reset();
        TfomMain f;
        f.Options->AutoSizeOnInit = true;
        plat::Rect before = f.Bounds();
        EXPECT_EQ(RunPanelStep(f, c.args), "") << c.args;
        EXPECT_EQ(f.PanelDir, c.panelDir) << c.args;
        EXPECT_EQ(std::make_pair(f.Bounds().Width, f.Bounds().Height), std::make_pair(before.Width, before.Height));
    }
    headless::Reset();
    TfomMain f;
    State().commandLine = "\"C:\\Korvalin\\korvalin.exe -OnlyDir D:\\w\\";  // never closed
    f.InitPanelDir();
    EXPECT_EQ(f.PanelDir, "");
}

TEST(Panel, SelectionOffOrMissing) {
    headless::Reset();
    TfomMain f;
    f.Options->InitBySelect = false;
    State().commandLine = kExe + " D:\\w\\a.txt D:\\w\\b.txt";
    f.InitPanelDir();
    EXPECT_EQ(f.PanelDir, "D:\\w\\");
    EXPECT_EQ(f.mmoFileNames.Text(), "");

    // More switch positions than arguments: no directory, no list, no crash.
    for (const char* line : {"k.exe -x", "k.exe", "", " \t "}) {
        f.PanelDir = "stale";
        f.Options->InitBySelect = true;
        f.SwitchCount = 2;
        State().commandLine = line;
        f.InitPanelDir();
        EXPECT_EQ(f.PanelDir, "") << line;
        EXPECT_EQ(f.mmoFileNames.Text(), "") << line;
    }
}

// AutoSizeOnInit widens the window to a long first list, and only then.
TEST(Panel, AutoSizeOnlyAfterFilling) {
    const std::string longName = "D:\\w\\" + std::string(200, 'x') + ".txt";
    const struct { std::string args; bool autoSize, wider; } rows[] = {
        {longName + " D:\\w\\b D:\\w\\c", true, true}, {longName, false, false}};
    for (const auto& r : rows) {
        headless::Reset();
        TfomMain f;
        const int before = f.Bounds().Width;
        f.Options->AutoSizeOnInit = r.autoSize;
        RunPanelStep(f, r.args);
        EXPECT_EQ(f.Bounds().Width > before, r.wider) << r.autoSize;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "CommandLine.h"
#include "Headless.h"
#include "Main.h"

#define BYTES(lit) std::string(lit, sizeof(lit) - 1)

namespace {

using headless::State;

const std::string kExe = "\"C:\\Korvalin\\korvalin.exe\"";

struct PanelCase {
    const char* name;
    std::string args;  // after the program
    bool onlyDir = false, noExt = false;
    int pathType = 0;
    std::string panelDir, text;
};

// Runs the panel-directory step the way start-up and the show step set it up.
std::string RunPanelStep(TfomMain& f, const std::string& args, bool onlyDir, bool noExt, int pathType) {
    State().commandLine = kExe + " " + args;
    SwitchScan scan = ScanSwitches(SplitArguments(State().commandLine));
    f.SwitchCount = scan.SwitchCount;
    f.OnlyDirMode = onlyDir || scan.OnlyDirMode;
    f.Options->InitBySelect = true;
    f.Options->NoExtOnlyDir = noExt;
    f.Options->InitPathType = pathType;
    f.InitPanelDir();
    return f.mmoFileNames.Text();
}

TEST(Panel, InitialListFromSelection) {
    const PanelCase cases[] = {
        {"folder, full path", "D:\\w\\src", false, false, 0, "D:\\w\\", "D:\\w\\src\\"},
        {"folder, name only", "D:\\w\\src", false, false, 1, "D:\\w\\", "src\\"},
        {"folder already with backslash", "\"D:\\w\\src\\\" x", false, false, 0, "D:\\w\\src\\", "D:\\w\\src\\\r\nx"},
        {"file, OnlyDir, no extension", "-OnlyDir D:\\w\\a.b.txt", false, true, 0, "D:\\w\\", "D:\\w\\a.b"},
        {"file, OnlyDir, extension kept", "-OnlyDir D:\\w\\a.b.txt", false, false, 0, "D:\\w\\", "D:\\w\\a.b.txt"},
        {"file, no OnlyDir", "D:\\w\\a.b.txt", false, true, 0, "D:\\w\\", "D:\\w\\a.b.txt"},
        {"dotted folder keeps its dots", "/onlydir D:\\w\\old.files", false, true, 0, "D:\\w\\", "D:\\w\\old.files\\"},
        {"dot file becomes its folder", "-OnlyDir D:\\w\\.cfg", false, true, 0, "D:\\w\\", "D:\\w\\"},
        {"dot file vanishes when last", "-OnlyDir D:\\w\\a.txt D:\\w\\.cfg", false, true, 1, "D:\\w\\", "a"},
        {"path type 2 is full paths", "D:\\w\\a.txt", false, false, 2, "D:\\w\\", "D:\\w\\a.txt"},
        {"three items, no fourth line", "D:\\w\\a D:\\w\\b D:\\w\\c", false, false, 0, "D:\\w\\", "D:\\w\\a\r\nD:\\w\\b\r\nD:\\w\\c"},
        {"shorter than the panel dir", "D:\\w\\abc C:\\x", false, false, 1, "D:\\w\\", "abc"},
        {"quoted names with blanks", "\"D:\\My Work\\a b.txt\" \"D:\\My Work\\c\"", false, false, 1, "D:\\My Work\\", "a b.txt\r\nc\\"},
        {"switch with a value", "-x v D:\\w\\a.txt", false, false, 0, "D:\\w\\", "D:\\w\\a.txt"},
        {"drive-relative item", "D:a.txt", false, false, 0, "D:", "D:a.txt"},
        {"no directory part", "a.txt", false, false, 0, "", "a.txt"},
        // The second byte of 0x81 0x5C is no backslash, of 0x81 0x2E no dot.
        {"double-byte folder name", BYTES("D:\\\x81\\x.txt"), false, false, 0, "D:\\", BYTES("D:\\\x81\\x.txt")},
        {"double-byte dot", BYTES("-OnlyDir D:\\w\\a\x81."), false, true, 0, "D:\\w\\", BYTES("D:\\w\\a\x81.")},
        {"double-byte bar", BYTES("D:\\w\\a\x81|.txt"), false, true, 1, "D:\\w\\", BYTES("a\x81|.txt")},
    };
    for (const auto& c : cases) {
        headless::Reset();
        headless::AddDir("D:\\w\\src");
        headless::AddDir("D:\\w\\old.files");
        headless::AddDir("D:\\My Work\\c");
        TfomMain f;
        EXPECT_EQ(RunPanelStep(f, c.args, c.onlyDir, c.noExt, c.pathType), c.text) << c.name;
        EXPECT_EQ(f.PanelDir, c.panelDir) << c.name;
        int a = -1, b = -1;
        f.mmoFileNames.GetSel(a, b);
        EXPECT_EQ(a, 0) << c.name;
        EXPECT_EQ(b, static_cast<int>(c.text.size())) << c.name;
    }
}

TEST(Panel, NothingSelected) {
    const struct {
        std::string args, panelDir;
    } cases[] = {
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
        EXPECT_EQ(RunPanelStep(f, c.args, false, false, 0), "") << c.args;
        EXPECT_EQ(f.PanelDir, c.panelDir) << c.args;
        EXPECT_EQ(f.Bounds().Width, before.Width);
        EXPECT_EQ(f.Bounds().Height, before.Height);
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

TEST(Panel, AutoSizeOnlyAfterFilling) {
    headless::Reset();
    TfomMain f;
    plat::Rect before = f.Bounds();
    f.Options->AutoSizeOnInit = true;
    RunPanelStep(f, "D:\\w\\" + std::string(200, 'x') + ".txt D:\\w\\b D:\\w\\c", false, false, 0);
    EXPECT_GT(f.Bounds().Width, before.Width);

    headless::Reset();
    TfomMain g;
    before = g.Bounds();
    g.Options->AutoSizeOnInit = false;
    RunPanelStep(g, "D:\\w\\" + std::string(200, 'x') + ".txt", false, false, 0);
    EXPECT_EQ(g.Bounds().Width, before.Width);
}

}  // namespace

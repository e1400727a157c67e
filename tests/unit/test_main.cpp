// The main window's creation, show step, keys, sizing and destroy step, and
// start-up, on the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Headless.h"
#include "Main.h"
#include "Startup.h"

using headless::State;

namespace {

const char* const kIni = "C:\\Korvalin\\korvalin.ini";

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        headless::AddDir("C:\\Korvalin");
        headless::AddDir("C:\\work");
        State().commandLine = "\"C:\\Korvalin\\korvalin.exe\" C:\\work\\";
    }
    // An ini file whose FileList section holds `fileList` lines.
    static void WriteIni(const std::string& body) { headless::AddFile(kIni, body); }
    std::unique_ptr<TfomMain> Make() { return std::make_unique<TfomMain>(); }
};

TEST_F(MainWindow, CentredAndCaptionAfterShow) {
    auto f = Make();
    f->Show();
    plat::Rect r = f->Bounds();
    EXPECT_EQ(r.Left, (1280 - r.Width) / 2);
    EXPECT_EQ(r.Top, (1024 - r.Height) / 2);
    EXPECT_EQ(f->Caption(), "Korvalin - C:\\work\\");
    EXPECT_EQ(State().appTitle, f->Caption());
    EXPECT_EQ(headless::Key(State().currentDir), headless::Key("C:\\work"));
}

// The program's folder and ini path are found by character: the second
// byte of 乗 (81 5C) is a backslash's byte.
TEST_F(MainWindow, AppDirAndIniPathByCharacter) {
    struct Case {
        const char* exe;
        const char* appDir;
        const char* ini;
    } cases[] = {
        {"C:\\Korvalin\\korvalin.exe", "C:\\Korvalin\\", "C:\\Korvalin\\korvalin.ini"},
        {"C:\\Korvalin\\k乗.exe", "C:\\Korvalin\\", "C:\\Korvalin\\k乗.ini"},
        {"C:\\Korvalin\\k乗", "C:\\Korvalin\\", "C:\\Korvalin\\k乗.ini"},
        {"C:\\Korvalin\\v1.0\\k乗", "C:\\Korvalin\\v1.0\\", "C:\\Korvalin\\v1.0\\k乗.ini"},
        {"C:\\乗\\korvalin.exe", "C:\\乗\\", "C:\\乗\\korvalin.ini"},
    };
    for (const Case& c : cases) {
        SetUp();
        State().exePath = c.exe;
        auto f = Make();
        EXPECT_EQ(f->AppDir, c.appDir) << c.exe;
        EXPECT_EQ(f->IniPath(), c.ini) << c.exe;
    }
}

TEST_F(MainWindow, HintAndCaptionFollowTheMode) {
    struct Case {
        bool onlyDir;
        const char* caption;
        const char* hint;
    } cases[] = {
        {false, "Korvalin - C:\\work\\",
         "输入多个文件名、文件夹名，每行一个。\r\n以 \\ 或者 / 结尾的行，表示文件夹；否则，表示文件。\r\n"
         "支持绝对路径和相对路径。\r\n支持文件模版。"},
        {true, "Korvalin - OnlyDir - C:\\work\\",
         "输入多个文件名、文件夹名，每行一个。\r\nOnlyDir模式，不论是否以 \\ 或 / 结尾，都新建文件夹。\r\n"
         "支持绝对路径和相对路径。"},
    };
    for (const Case& c : cases) {
        SetUp();
        State().commandLine = std::string("korvalin.exe ") + (c.onlyDir ? "-OnlyDir " : "") + "C:\\work\\";
        auto f = Make();
        f->OnlyDirMode = c.onlyDir;
        f->SwitchCount = c.onlyDir ? 1 : 0;
        f->Show();
        EXPECT_EQ(f->Caption(), c.caption) << "OnlyDir " << c.onlyDir;
        EXPECT_EQ(f->mmoFileNames.Hint(), c.hint) << "OnlyDir " << c.onlyDir;
    }
}

TEST_F(MainWindow, RestoredBoundsAreHeldToTheScreen) {
    struct Case {
        const char* name;
        bool savePos;
        int left, top, width, height;
        plat::Rect want;
    } cases[] = {
        {"within the screen", true, 100, 200, 500, 300, {100, 200, 500, 300}},
        {"above and left of it", true, -50, -10, 500, 300, {0, 0, 500, 300}},
        {"below and right of it", true, 2000, 900, 500, 300, {1280 - 500, 1024 - 300, 500, 300}},
        {"larger than the screen", true, 10, 10, 5000, 4000, {0, 0, 1280, 1024}},
        {"smaller than the least size", true, 10, 10, 100, 50, {10, 10, 360, 100}},
        {"size without position: centred", false, 5, 5, 600, 200, {(1280 - 600) / 2, (1024 - 200) / 2, 600, 200}},
    };
    for (const Case& c : cases) {
        SetUp();
        WriteIni(std::string("[Window]\r\nSavePos=") + (c.savePos ? "1" : "0") + "\r\nSaveSize=1\r\nLeft=" +
                 std::to_string(c.left) + "\r\nTop=" + std::to_string(c.top) + "\r\nWidth=" +
                 std::to_string(c.width) + "\r\nHeight=" + std::to_string(c.height) + "\r\n");
        auto f = Make();
        f->Show();
        plat::Rect r = f->Bounds();
        EXPECT_EQ(r.Left, c.want.Left) << c.name;
        EXPECT_EQ(r.Top, c.want.Top) << c.name;
        EXPECT_EQ(r.Width, c.want.Width) << c.name;
        EXPECT_EQ(r.Height, c.want.Height) << c.name;
    }
}

struct KeyCase {
    int confirmMode;
    bool ctrl, shift;
    bool confirms;
};

TEST_F(MainWindow, ConfirmKeyFollowsConfirmMode) {
    const KeyCase cases[] = {
        {0, false, false, true}, {0, true, false, false}, {0, false, true, true}, {0, true, true, false},
        {1, false, false, false}, {1, true, false, true}, {1, true, true, true}, {2, false, false, true},
        {2, true, false, false},
    };
    for (const KeyCase& c : cases) {
        SetUp();
        WriteIni("[FileList]\r\nConfirmMode=" + std::to_string(c.confirmMode) + "\r\n");
        auto f = Make();
        f->Show();
        unsigned short key = vkReturn;
        TShiftState s;
        s.Ctrl = c.ctrl;
        s.Shift = c.shift;
        f->mmoFileNames.FireKeyDown(key, s);
        EXPECT_EQ(f->SuppressNextChar, c.confirms) << c.confirmMode << c.ctrl << c.shift;
        EXPECT_EQ(f->Visible(), !c.confirms) << c.confirmMode << c.ctrl << c.shift;
        EXPECT_EQ(key, vkReturn);
    }
}

TEST_F(MainWindow, SuppressedCharacterIsDroppedOnce) {
    auto f = Make();
    f->SuppressNextChar = true;
    char ch = '\r';
    f->mmoFileNames.FireKeyPress(ch);
    EXPECT_EQ(ch, 0);
    EXPECT_FALSE(f->SuppressNextChar);
    ch = '\r';
    f->mmoFileNames.FireKeyPress(ch);
    EXPECT_EQ(ch, '\r');
}

TEST_F(MainWindow, QuickMoveKeys) {
    for (bool quick : {false, true}) {
        SetUp();
        WriteIni(std::string("[FileList]\r\nCursorQuickMove=") + (quick ? "1" : "0") + "\r\n");
        auto f = Make();
        struct {
            unsigned short in, out;
        } keys[] = {{vkOem1, quick ? vkLeft : vkOem1}, {vkOem7, quick ? vkRight : vkOem7}, {'X', 'X'}};
        for (auto k : keys) {
            unsigned short key = k.in;
            f->mmoFileNames.FireKeyDown(key, TShiftState{});
            EXPECT_EQ(key, k.out) << quick;
        }
        for (char c : std::string(";':\"a")) {
            char ch = c;
            f->mmoFileNames.FireKeyPress(ch);
            EXPECT_EQ(ch, quick && c != 'a' ? 0 : c) << quick << c;
        }
    }
}

TEST_F(MainWindow, EscapeClosesAndCtrlASelectsAll) {
    auto f = Make();
    Application.MainForm = f.get();
    f->Show();
    f->mmoFileNames.SetText("a.txt\r\nb.txt");
    unsigned short key = 'A';
    TShiftState ctrl;
    ctrl.Ctrl = true;
    f->mmoFileNames.FireKeyDown(key, ctrl);
    int s = -1, e = -1;
    f->mmoFileNames.GetSel(s, e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 12);
    EXPECT_TRUE(f->Visible());
    key = vkEscape;
    f->mmoFileNames.FireKeyDown(key, TShiftState{});
    EXPECT_FALSE(f->Visible());
    EXPECT_TRUE(State().loopQuit);
    Application.MainForm = nullptr;
}

TEST_F(MainWindow, AutoSizeGrowsToTheLongestLineWithinTheWorkArea) {
    struct Case {
        const char* name;
        int charWidth;
        int workWidth, workHeight;
        int lines;
        int wantWidth, wantHeight;
    } cases[] = {
        // 20-byte longest line, WidthSpace 40, HeightSpace 100, 12-pixel lines.
        {"grows", 30, 1280, 984, 3, 20 * 30 + 40, 3 * 12 + 100},
        {"never shrinks below the design width", 2, 1280, 984, 3, 384, 3 * 12 + 100},
        {"held to the work area", 30, 500, 120, 3, 500, 120},
        {"one line", 30, 1280, 984, 1, 640, 112},
    };
    for (const Case& c : cases) {
        SetUp();
        WriteIni("[FileList]\r\nWidthSpace=40\r\nHeightSpace=100\r\n");
        State().charWidth = c.charWidth;
        State().workArea = {0, 0, c.workWidth, c.workHeight};
        auto f = Make();
        std::string text = "12345678901234567890";  // the first of the longest
        if (c.lines == 3) text = "short\r\n" + text + "\r\n" + "abcdefghijklmnopqrst";
        f->mmoFileNames.SetText(text);
        plat::Rect before = f->Bounds();
        f->AutoSizeWindow();
        plat::Rect r = f->Bounds();
        EXPECT_EQ(r.Width, c.wantWidth) << c.name;
        EXPECT_EQ(r.Height, c.wantHeight) << c.name;
        EXPECT_EQ(r.Left, before.Left) << c.name;
        EXPECT_EQ(r.Top, before.Top) << c.name;
    }
}

TEST_F(MainWindow, DestroyStepSavesBoundsOnlyWhereAsked) {
    WriteIni("[Window]\r\nSavePos=0\r\nSaveSize=1\r\nLeft=7\r\nTop=8\r\nWidth=500\r\nHeight=300\r\n");
    {
        auto f = Make();
        f->Show();
        f->SetBounds({1, 2, 640, 200});
    }
    std::string ini = headless::FileContent(kIni);
    EXPECT_NE(ini.find("Left=7\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Top=8\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Width=640\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Height=200\r\n"), std::string::npos);
    EXPECT_TRUE(State().boxes.empty());
}

TEST_F(MainWindow, FailedSaveIsReportedAndLeavesTheOldFile) {
    WriteIni("[FileList]\r\nConfirmMode=1\r\n");
    State().unwritable.insert(headless::Key(kIni));
    { auto f = Make(); }
    ASSERT_EQ(State().boxes.size(), 1u);
    EXPECT_EQ(State().boxes[0].text, std::string("Unable to write to ") + kIni);
    EXPECT_EQ(State().boxes[0].flags, unsigned(plat::MbOk | plat::MbIconStop));
    EXPECT_EQ(headless::FileContent(kIni), "[FileList]\r\nConfirmMode=1\r\n");
}

// Closed minimised or maximised, the window's normal bounds are saved:
// those a restore gives back, not the icon's or the whole screen's.
TEST_F(MainWindow, DestroyStepSavesTheNormalBounds) {
    for (int state : {0, 1, 2}) {
        SetUp();
        WriteIni("[Window]\r\nSavePos=1\r\nSaveSize=1\r\nLeft=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n");
        {
            auto f = Make();
            f->Show();
            headless::SetSizeState(f->Handle, state);
            ASSERT_EQ(f->Bounds().Width == 500, state == 0);
        }
        std::string ini = headless::FileContent(kIni);
        EXPECT_NE(ini.find("Left=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n"), std::string::npos)
            << "state " << state << ": " << ini;
    }
}

// An error while marking or opening is reported, and the steps after it
// still run: the files are opened, the settings saved.
TEST_F(MainWindow, DestroyStepGoesOnAfterAFailedStep) {
    const struct {
        const char* failOn;
        const char* logged;  // the later step's call
    } rows[] = {{"count", "open C:\\work\\a.txt"}, {"text", "open C:\\work\\a.txt"}, {"open", "sel 0"}};
    for (const auto& r : rows) {
        SetUp();
        WriteIni("[AfterCreate]\r\nAutoOpen=1\r\nOpenMethod=1\r\n");
        headless::AddFile("C:\\work\\a.txt");
        State().panel = {{"a.txt\t0"}};
        State().failOn = r.failOn;
        {
            auto f = Make();
            f->TcPanelHandle = State().focus;
            f->Show();
            f->CreatedItems.push_back({0, "C:\\work\\a.txt"});
        }
        const auto& log = State().panelLog;
        EXPECT_NE(std::find(log.begin(), log.end(), r.logged), log.end()) << r.failOn;
        ASSERT_EQ(State().boxes.size(), 1u) << r.failOn;
        EXPECT_EQ(State().boxes[0].text.rfind("failed: ", 0), 0u) << r.failOn;
        EXPECT_NE(headless::FileContent(kIni).find("SavePos="), std::string::npos) << r.failOn;
    }
}

// ------------------------------------------------------------ start-up

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        headless::AddDir("C:\\Korvalin");
        headless::AddDir("C:\\work");
    }
};

TEST_F(StartUp, RefusesToRunWithoutAPathOrForegroundWindow) {
    struct Case {
        const char* line;
        bool foreground;
        int exitCode;
    } cases[] = {
        {"korvalin.exe", true, -1},
        {"korvalin.exe -OnlyDir", true, -1},
        {"korvalin.exe --onlydir C:\\work\\a.txt", true, -1},
        {"korvalin.exe \"\" ", true, -1},
        {"korvalin.exe C:\\work\\a.txt", false, -1},
        {"korvalin.exe C:\\work\\a.txt", true, 0},
        {"korvalin.exe -x C:\\work\\ a.txt", true, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        State().commandLine = c.line;
        if (!c.foreground) State().foreground = nullptr;
        EXPECT_EQ(RunKorvalin(), c.exitCode) << c.line;
        if (c.exitCode == -1) {
            ASSERT_EQ(State().boxes.size(), 1u) << c.line;
            EXPECT_EQ(State().boxes[0].text, kUsageText);
            EXPECT_EQ(State().boxes[0].caption, "Korvalin");
            EXPECT_EQ(State().boxes[0].flags, 0u);
            EXPECT_EQ(State().boxes[0].owner, nullptr);
            EXPECT_FALSE(headless::HasFile(kIni)) << c.line;
            EXPECT_FALSE(headless::HasDir("C:\\Korvalin\\Templates")) << c.line;
        } else {
            EXPECT_TRUE(State().boxes.empty()) << c.line;
            EXPECT_TRUE(headless::HasFile(kIni)) << c.line;
        }
    }
}

// Without an ini file nothing is loaded: the file written at the end holds
// every key with the values of a record just constructed, and the template
// folder beside the program.
TEST_F(StartUp, NoIniAtStartWritesEveryKeyWithTheValuesInMemory) {
    State().commandLine = "korvalin.exe C:\\work\\";
    EXPECT_EQ(RunKorvalin(), 0);
    const std::string written = headless::FileContent(kIni);

    TIniOptions fresh;
    fresh.TemplatePath = "C:\\Korvalin\\Templates\\";
    fresh.SaveToFile("C:\\Korvalin\\fresh.ini");
    EXPECT_EQ(written, headless::FileContent("C:\\Korvalin\\fresh.ini"));
    EXPECT_NE(written.find("[FileList]\r\nConfirmMode=0\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\r\nTemplatePath=C:\\Korvalin\\Templates\\\r\n"), std::string::npos) << written;
}

}  // namespace

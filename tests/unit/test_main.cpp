// The main window's creation, show step, keys, sizing and destroy step, and
// start-up, on the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Main.h"
#include "Startup.h"
#include "TestKit.h"

namespace {

const char* const kIni = "C:\\Korvalin\\korvalin.ini";

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { FreshWorld(); }
    // A fresh start with this ini file (none if empty), the window made and, if asked, shown.
    std::unique_ptr<TfomMain> Start(const std::string& ini = "", bool show = true) {
        SetUp();
        if (!ini.empty()) headless::AddFile(kIni, ini);
        auto f = std::make_unique<TfomMain>();
        if (show) f->Show();
        return f;
    }
    static void Press(TfomMain& f, unsigned short& key, bool ctrl = false, bool shift = false) {
        f.mmoFileNames.FireKeyDown(key, TShiftState{shift, ctrl});
    }
};

// The program's folder and ini path are found by character: the second
// byte of 乗 (81 5C) is a backslash's byte.
TEST_F(MainWindow, AppDirAndIniPathByCharacter) {
    const struct { const char *exe, *appDir, *ini; } cases[] = {
        {"C:\\Korvalin\\korvalin.exe", "C:\\Korvalin\\", "C:\\Korvalin\\korvalin.ini"},
        {"C:\\Korvalin\\k乗.exe", "C:\\Korvalin\\", "C:\\Korvalin\\k乗.ini"},
        {"C:\\Korvalin\\k乗", "C:\\Korvalin\\", "C:\\Korvalin\\k乗.ini"},
        {"C:\\Korvalin\\v1.0\\k乗", "C:\\Korvalin\\v1.0\\", "C:\\Korvalin\\v1.0\\k乗.ini"},
        {"C:\\乗\\korvalin.exe", "C:\\乗\\", "C:\\乗\\korvalin.ini"},
    };
    for (const auto& c : cases) {
        SetUp();
        State().exePath = c.exe;
        TfomMain f;
        EXPECT_EQ(List({f.AppDir, f.IniPath()}), List({c.appDir, c.ini})) << c.exe;
    }
}

TEST_F(MainWindow, ShowStepCentresEntersThePanelFolderAndNamesTheMode) {
    const struct { bool onlyDir; const char *caption, *hint; } cases[] = {
        {false, "Korvalin - C:\\work\\",
         "输入多个文件名、文件夹名，每行一个。\r\n以 \\ 或者 / 结尾的行，表示文件夹；否则，表示文件。\r\n"
         "支持绝对路径和相对路径。\r\n支持文件模版。"},
        {true, "Korvalin - OnlyDir - C:\\work\\",
         "输入多个文件名、文件夹名，每行一个。\r\nOnlyDir模式，不论是否以 \\ 或 / 结尾，都新建文件夹。\r\n"
         "支持绝对路径和相对路径。"},
    };
    for (const auto& c : cases) {
        auto f = Start("", false);
        f->OnlyDirMode = c.onlyDir;
        f->SwitchCount = c.onlyDir ? 1 : 0;
        f->Show();
        const plat::Rect r = f->Bounds();
        EXPECT_EQ(std::make_tuple(r.Left, r.Top, headless::Key(State().currentDir), f->Caption(), State().appTitle,
                                  f->mmoFileNames.Hint()),
                  std::make_tuple((1280 - r.Width) / 2, (1024 - r.Height) / 2, headless::Key("C:\\work"),
                                  std::string(c.caption), std::string(c.caption), std::string(c.hint)))
            << "OnlyDir " << c.onlyDir;
    }
}

TEST_F(MainWindow, RestoredBoundsAreHeldToTheScreen) {
    const struct { const char* name; bool savePos; plat::Rect stored; Place want; } cases[] = {
        {"within the screen", true, {100, 200, 500, 300}, {100, 200, 500, 300}},
        {"above and left of it", true, {-50, -10, 500, 300}, {0, 0, 500, 300}},
        {"below and right of it", true, {2000, 900, 500, 300}, {1280 - 500, 1024 - 300, 500, 300}},
        {"larger than the screen", true, {10, 10, 5000, 4000}, {0, 0, 1280, 1024}},
        {"smaller than the least size", true, {10, 10, 100, 50}, {10, 10, 360, 100}},
        {"size without position: centred", false, {5, 5, 600, 200}, {(1280 - 600) / 2, (1024 - 200) / 2, 600, 200}},
    };
    for (const auto& c : cases) {
        const plat::Rect& s = c.stored;
        auto f = Start(std::string("[Window]\r\nSavePos=") + (c.savePos ? "1" : "0") + "\r\nSaveSize=1\r\nLeft=" +
                       std::to_string(s.Left) + "\r\nTop=" + std::to_string(s.Top) + "\r\nWidth=" +
                       std::to_string(s.Width) + "\r\nHeight=" + std::to_string(s.Height) + "\r\n");
        EXPECT_EQ(PlaceOf(f->Bounds()), c.want) << c.name;
    }
}

TEST_F(MainWindow, ConfirmKeyFollowsConfirmMode) {
    const struct { int confirmMode; bool ctrl, shift, confirms; } cases[] = {
        {0, false, false, true}, {0, true, false, false}, {0, false, true, true}, {0, true, true, false},
        {1, false, false, false}, {1, true, false, true}, {1, true, true, true}, {2, false, false, true},
        {2, true, false, false},
    };
    for (const auto& c : cases) {
        auto f = Start("[FileList]\r\nConfirmMode=" + std::to_string(c.confirmMode) + "\r\n");
        unsigned short key = vkReturn;
        Press(*f, key, c.ctrl, c.shift);
        EXPECT_EQ(std::make_tuple(f->SuppressNextChar, f->Visible(), key),
                  std::make_tuple(c.confirms, !c.confirms, vkReturn))
            << c.confirmMode << c.ctrl << c.shift;
    }
}

TEST_F(MainWindow, SuppressedCharacterIsDroppedOnce) {
    auto f = Start("", false);
    f->SuppressNextChar = true;
    char first = '\r', second = '\r';
    f->mmoFileNames.FireKeyPress(first);
    f->mmoFileNames.FireKeyPress(second);
    EXPECT_EQ(std::make_tuple(first, second, f->SuppressNextChar), std::make_tuple('\0', '\r', false));
}

TEST_F(MainWindow, QuickMoveKeys) {
    for (bool quick : {false, true}) {
        auto f = Start(std::string("[FileList]\r\nCursorQuickMove=") + (quick ? "1" : "0") + "\r\n", false);
        const struct { unsigned short in, out; } keys[] = {
            {vkOem1, quick ? vkLeft : vkOem1}, {vkOem7, quick ? vkRight : vkOem7}, {'X', 'X'}};
        for (auto k : keys) {
            unsigned short key = k.in;
            Press(*f, key);
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
    auto f = Start();
    Application.MainForm = f.get();
    f->mmoFileNames.SetText("a.txt\r\nb.txt");
    unsigned short key = 'A';
    Press(*f, key, true);
    EXPECT_EQ(std::make_pair(Selection(f->mmoFileNames), f->Visible()), std::make_pair(std::make_pair(0, 12), true));
    key = vkEscape;
    Press(*f, key);
    EXPECT_EQ(std::make_pair(f->Visible(), State().loopQuit), std::make_pair(false, true));
    Application.MainForm = nullptr;
}

TEST_F(MainWindow, AutoSizeGrowsToTheLongestLineWithinTheWorkArea) {
    // 20-byte longest line, WidthSpace 40, HeightSpace 100, 12-pixel lines.
    const struct { const char* name; int charWidth, workWidth, workHeight, lines, wantWidth, wantHeight; } cases[] = {
        {"grows", 30, 1280, 984, 3, 20 * 30 + 40, 3 * 12 + 100},
        {"never shrinks below the design width", 2, 1280, 984, 3, 384, 3 * 12 + 100},
        {"held to the work area", 30, 500, 120, 3, 500, 120},
        {"one line", 30, 1280, 984, 1, 640, 112},
    };
    for (const auto& c : cases) {
        auto f = Start("[FileList]\r\nWidthSpace=40\r\nHeightSpace=100\r\n", false);
        State().charWidth = c.charWidth;
        State().workArea = {0, 0, c.workWidth, c.workHeight};
        std::string text = "12345678901234567890";  // the first of the longest
        if (c.lines == 3) text = "short\r\n" + text + "\r\n" + "abcdefghijklmnopqrst";
        f->mmoFileNames.SetText(text);
        const plat::Rect before = f->Bounds();
        f->AutoSizeWindow();
        EXPECT_EQ(PlaceOf(f->Bounds()), Place(before.Left, before.Top, c.wantWidth, c.wantHeight)) << c.name;
    }
}

// What the destroy step saves: the normal bounds (those a restore gives
// back, not the icon's or the whole screen's), the position only where asked.
TEST_F(MainWindow, DestroyStepSavesTheNormalBoundsWhereAsked) {
    const struct { const char* what; bool savePos; int sizeState; const char* saved; } rows[] = {
        {"position not kept", false, 0, "Left=100\r\nTop=50\r\nWidth=640\r\nHeight=200\r\n"},
        {"normal", true, 0, "Left=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n"},
        {"minimised", true, 1, "Left=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n"},
        {"maximised", true, 2, "Left=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n"},
    };
    for (const auto& r : rows) {
        {
            auto f = Start(std::string("[Window]\r\nSavePos=") + (r.savePos ? "1" : "0") +
                           "\r\nSaveSize=1\r\nLeft=100\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n");
            if (!r.savePos) f->SetBounds({1, 2, 640, 200});
            headless::SetSizeState(f->Handle, r.sizeState);
            ASSERT_EQ(f->Bounds().Width == 500, r.savePos && r.sizeState == 0) << r.what;
        }
        const std::string ini = headless::FileContent(kIni);
        EXPECT_NE(ini.find(r.saved), std::string::npos) << r.what << ": " << ini;
        EXPECT_TRUE(State().boxes.empty()) << r.what;
    }
}

TEST_F(MainWindow, FailedSaveIsReportedAndLeavesTheOldFile) {
    auto f = Start("[FileList]\r\nConfirmMode=1\r\n", false);
    State().unwritable.insert(headless::Key(kIni));
    f.reset();
    // Never shown: no title yet, and no owner.
    EXPECT_EQ(BoxesShown(),
              Boxes{Box(std::string("Unable to write to ") + kIni, "", plat::MbOk | plat::MbIconStop, nullptr)});
    EXPECT_EQ(headless::FileContent(kIni), "[FileList]\r\nConfirmMode=1\r\n");
}

// An error while marking or opening is reported, and the steps after it
// still run: the files are opened, the settings saved.
TEST_F(MainWindow, DestroyStepGoesOnAfterAFailedStep) {
    const struct { const char *failOn, *logged; } rows[] = {  // logged: the later step's call
        {"count", "open C:\\work\\a.txt"}, {"text", "open C:\\work\\a.txt"}, {"open", "sel 0"}};
    for (const auto& r : rows) {
        {
            auto f = Start("[AfterCreate]\r\nAutoOpen=1\r\nOpenMethod=1\r\n", false);
            headless::AddFile("C:\\work\\a.txt");
            State().panel = {{"a.txt\t0"}};
            State().failOn = r.failOn;
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

using StartUp = MainWindow;

TEST_F(StartUp, RefusesToRunWithoutAPathOrForegroundWindow) {
    const struct { const char* line; bool foreground; int exitCode; } cases[] = {
        {"korvalin.exe", true, -1},
        {"korvalin.exe -OnlyDir", true, -1},
        {"korvalin.exe --onlydir C:\\work\\a.txt", true, -1},
        {"korvalin.exe \"\" ", true, -1},
        {"korvalin.exe C:\\work\\a.txt", false, -1},
        {"korvalin.exe C:\\work\\a.txt", true, 0},
        {"korvalin.exe -x C:\\work\\ a.txt", true, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        State().commandLine = c.line;
        if (!c.foreground) State().foreground = nullptr;
        EXPECT_EQ(RunKorvalin(), c.exitCode) << c.line;
        const bool refused = c.exitCode == -1;
        EXPECT_EQ(BoxesShown(), refused ? Boxes{Box(kUsageText, "Korvalin", 0, nullptr)} : Boxes{}) << c.line;
        EXPECT_EQ(headless::HasFile(kIni), !refused) << c.line;
        EXPECT_EQ(headless::HasDir("C:\\Korvalin\\Templates"), !refused) << c.line;
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
    EXPECT_NE(written.find("\r\nTemplatePath=C:\\Korvalin\\Templates\\\r\n"), std::string::npos) << written;
}

}  // namespace

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

// The program's folder, its ini path and the template folder beside it are
// found by character: the second byte of 乗 (81 5C) is a backslash's byte.
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
        EXPECT_EQ(List({f.AppDir, f.IniPath(), f.Options->TemplatePath}),
                  List({c.appDir, c.ini, c.appDir + std::string("Templates\\")}))
            << c.exe;
    }
}

// The caption, the hint and the centring are checked on the real window.
TEST_F(MainWindow, ShowStepEntersThePanelFolderAndTitlesTheProgram) {
    auto f = Start("", false);
    f->OnlyDirMode = true;
    f->Show();
    EXPECT_EQ(std::make_pair(headless::Key(State().currentDir), State().appTitle),
              std::make_pair(headless::Key("C:\\work"), std::string("Korvalin - OnlyDir - C:\\work\\")));
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

// The line's own refusals are checked on the real program; a missing
// foreground window cannot be made there.
TEST_F(StartUp, RefusesToRunWithoutAForegroundWindow) {
    State().foreground = nullptr;
    EXPECT_EQ(RunKorvalin(), -1);
    EXPECT_EQ(BoxesShown(), (Boxes{Box(kUsageText, "Korvalin", 0, nullptr)}));
    EXPECT_FALSE(headless::HasFile(kIni));
    EXPECT_FALSE(headless::HasDir("C:\\Korvalin\\Templates"));
}

}  // namespace

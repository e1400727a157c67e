// Layouts at other display scales: the scaling of design pixels, and the
// main window and the settings dialog made, resized and moved at 120, 144
// and 192 dpi on the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Config.h"
#include "Main.h"
#include "TestKit.h"

namespace {

TEST(Dpi, ScaleRoundsAsMulDiv) {
    const struct { int value, dpi, want; } cases[] = {
        {0, 120, 0},      {1, 120, 1},       {2, 120, 3},      {3, 120, 4},     {21, 120, 26},
        {75, 120, 94},    {111, 120, 139},   {1, 144, 2},      {3, 144, 5},     {21, 144, 32},
        {111, 144, 167},  {353, 144, 530},   {75, 144, 113},   {7, 192, 14},    {21, 192, 42},
        {-1, 144, -2},    {-3, 144, -5},     {-2, 120, -3},    {-7, 120, -9},   {-21, 192, -42},
        {12345, 96, 12345}, {-12345, 96, -12345}, {0, 96, 0},
        // No overflow on the way: the product is taken in 64 bits.
        {30000000, 192, 60000000}, {-30000000, 144, -45000000},
    };
    for (const auto& c : cases) EXPECT_EQ(ScaleBy(c.value, c.dpi), c.want) << c.value << " at " << c.dpi;
}

TEST(Dpi, UnscaleGivesBackEveryDesignLength) {
    for (int dpi : {96, 120, 144, 168, 192, 240})
        for (int v = -400; v <= 400; ++v)
            ASSERT_EQ(UnscaleBy(ScaleBy(v, dpi), dpi), v) << v << " at " << dpi;
}

TEST(Dpi, LayoutItemKeepsAllButItsBounds) {
    LayoutItem item{"btnOk", plat::Kind::Button, 221, 9, 65, 21, "OK", plat::StyleDefault, 1};
    LayoutItem s = ScaleBy(item, 144);
    EXPECT_EQ(std::make_tuple(BoundsText({s.Left, s.Top, s.Width, s.Height}), std::string(s.Name),
                              std::string(s.Caption), s.Style, s.Id),
              std::make_tuple("332,14 98x32", "btnOk", "OK", item.Style, 1));
}

// The main window as it opens, one row per dpi: client area, text box,
// bottom panel, the four buttons (in the panel), font and least outer size.
struct MainRow { int dpi; List shown; };
const MainRow kMainRows[] = {
    {96, {"384x111", "0,0 384x75", "0,75 384x36", "4,8 64x21", "84,8 64x21", "220,8 64x21", "300,8 64x21", "12",
          "360x100"}},
    {120, {"480x139", "0,0 480x94", "0,94 480x45", "5,10 80x26", "105,10 80x26", "275,10 80x26", "375,10 80x26",
           "15", "450x125"}},
    {144, {"576x167", "0,0 576x113", "0,113 576x54", "6,12 96x32", "126,12 96x32", "330,12 96x32", "450,12 96x32",
           "18", "540x150"}},
    {192, {"768x222", "0,0 768x150", "0,150 768x72", "8,16 128x42", "168,16 128x42", "440,16 128x42",
           "600,16 128x42", "24", "720x200"}},
};

std::string SizeText(const plat::Size& s) { return std::to_string(s.Width) + "x" + std::to_string(s.Height); }

void CheckMain(TfomMain& f, const MainRow& r, const std::string& at) {
    const plat::Size c = plat::ClientSize(f.Handle);
    const plat::Rect p = f.pnlBottom.Bounds(), ok = f.btnOk.Bounds(), cancel = f.btnCancel.Bounds();
    EXPECT_EQ((List{SizeText(c), BoundsText(f.mmoFileNames.Bounds()), BoundsText(p), BoundsText(f.btnConfig.Bounds()),
                    BoundsText(f.btnNaming.Bounds()), BoundsText(ok), BoundsText(cancel),
                    std::to_string(headless::W(f.Handle)->fontHeight), SizeText(headless::W(f.Handle)->minTrack)}),
              r.shown)
        << at;
    // OK and Cancel lie inside the panel, the panel inside the client area,
    // and they do not overlap.
    EXPECT_LE(p.Top + p.Height, c.Height) << at;
    EXPECT_LE(cancel.Left + cancel.Width, p.Width) << at;
    EXPECT_LE(ok.Top + ok.Height, p.Height) << at;
    EXPECT_LE(ok.Left + ok.Width, cancel.Left) << at;
}

// Opened at one dpi and, for each other one, moved there.
TEST(DpiWindow, MainWindowOpensScaledAndMovesToAnotherScale) {
    for (const MainRow& from : kMainRows)
        for (const MainRow& to : kMainRows) {
            FreshWorld();
            State().dpi = from.dpi;
            auto f = std::make_unique<TfomMain>();
            const std::string at = std::to_string(from.dpi) + " dpi, then " + std::to_string(to.dpi);
            if (from.dpi == to.dpi) {
                EXPECT_EQ(f->Dpi(), from.dpi);
                CheckMain(*f, from, at);
                continue;
            }
            headless::MoveToDpi(f->Handle, to.dpi);
            // The system's suggestion scales the outer size, which is here the
            // client area: within a pixel of the design client at that dpi.
            plat::Size c = plat::ClientSize(f->Handle);
            EXPECT_NEAR(c.Width, ScaleBy(384, to.dpi), 1) << at;
            EXPECT_NEAR(c.Height, ScaleBy(111, to.dpi), 1) << at;
            // Put at the design client size, the controls are where a window
            // opened at that dpi has them.
            plat::Rect b = f->Bounds();
            f->SetBounds({b.Left, b.Top, ScaleBy(384, to.dpi), ScaleBy(111, to.dpi)});
            CheckMain(*f, to, at);
        }
}

TEST(DpiWindow, AnchoredButtonsFollowAResizeAtScale) {
    const struct { int dpi, width, height; List memoPanelOkCancel; } cases[] = {
        {96, 600, 300, {"0,0 600x264", "0,264 600x36", "436,8 64x21", "516,8 64x21"}},
        {144, 900, 400, {"0,0 900x346", "0,346 900x54", "654,12 96x32", "774,12 96x32"}},
        {192, 1000, 500, {"0,0 1000x428", "0,428 1000x72", "672,16 128x42", "832,16 128x42"}},
    };
    for (const auto& c : cases) {
        FreshWorld();
        State().dpi = c.dpi;
        auto f = std::make_unique<TfomMain>();
        f->SetBounds({0, 0, c.width, c.height});
        EXPECT_EQ((List{BoundsText(f->mmoFileNames.Bounds()), BoundsText(f->pnlBottom.Bounds()),
                        BoundsText(f->btnOk.Bounds()), BoundsText(f->btnCancel.Bounds())}),
                  c.memoPanelOkCancel)
            << c.dpi << " dpi";
    }
}

TEST(DpiWindow, AutoSizeMeasuresAndAddsMarginsAtScale) {
    // An 80-byte longest line of three, measured in the form's font (6 by 12
    // pixels a byte at 96 dpi); the margins 40 and 100 are design pixels.
    const struct { int dpi, wantWidth, wantHeight; } cases[] = {
        {96, 80 * 6 + 40, 3 * 12 + 100},
        {120, 600 + 50, 3 * 15 + 125},  // the 15-pixel font: 7.5 pixels a byte
        {144, 80 * 9 + 60, 3 * 18 + 150},
        {192, 80 * 12 + 80, 3 * 24 + 200},
    };
    for (const auto& c : cases) {
        FreshWorld();
        headless::AddFile("C:\\Korvalin\\korvalin.ini", "[FileList]\r\nWidthSpace=40\r\nHeightSpace=100\r\n");
        State().dpi = c.dpi;
        auto f = std::make_unique<TfomMain>();
        f->mmoFileNames.SetText("short\r\n" + std::string(80, 'w') + "\r\nx");
        f->AutoSizeWindow();
        EXPECT_EQ(std::make_pair(f->Bounds().Width, f->Bounds().Height), std::make_pair(c.wantWidth, c.wantHeight))
            << c.dpi << " dpi";
    }
}

TEST(DpiWindow, SettingsDialogOpensScaledAndKeepsItsListsAfterAMove) {
    // Client area, pages, OK, Cancel, the separator frame's label, edit box
    // and list; the list's item height, the font, the wrapper list's first column.
    const struct { int dpi; List shown; } cases[] = {
        {96, {"412x353", "8,8 396x304", "228,324 75x21", "312,324 75x21", "16,8 136x12", "16,24 136x20",
              "16,48 136x80", "12", "12", "64"}},
        {120, {"515x441", "10,10 495x380", "285,405 94x26", "390,405 94x26", "20,10 170x15", "20,30 170x25",
               "20,60 170x100", "15", "15", "80"}},
        {144, {"618x530", "12,12 594x456", "342,486 113x32", "468,486 113x32", "24,12 204x18", "24,36 204x30",
               "24,72 204x120", "18", "18", "96"}},
        {192, {"824x706", "16,16 792x608", "456,648 150x42", "624,648 150x42", "32,16 272x24", "32,48 272x40",
               "32,96 272x160", "24", "24", "128"}},
    };
    for (const auto& c : cases) {
        // Opened at the dpi, and opened at 96 and moved there: the same.
        for (bool moved : {false, true}) {
            FreshWorld();
            State().dpi = moved ? 96 : c.dpi;
            TIniOptions options;
            auto d = std::make_unique<TfomConfig>(options, nullptr);
            if (moved && c.dpi != 96) {
                headless::MoveToDpi(d->Handle, c.dpi);
                plat::Rect b = d->Bounds();
                d->SetBounds({b.Left, b.Top, ScaleBy(412, c.dpi), ScaleBy(353, c.dpi)});
            }
            std::string at = std::to_string(c.dpi) + (moved ? " dpi after a move" : " dpi");
            const plat::Size cs = plat::ClientSize(d->Handle);
            const plat::Rect ok = d->btnOk.Bounds(), cancel = d->btnCancel.Bounds();
            EXPECT_EQ((List{SizeText(cs), BoundsText(d->pgcOptions.Bounds()), BoundsText(ok), BoundsText(cancel),
                            BoundsText(d->frmSeparator.label.Bounds()), BoundsText(d->frmSeparator.editBox.Bounds()),
                            BoundsText(d->frmSeparator.listBox.Bounds()),
                            std::to_string(headless::W(d->frmSeparator.listBox.Handle)->itemHeight),
                            std::to_string(headless::W(d->Handle)->fontHeight),
                            std::to_string(headless::W(d->lstWrapper.Handle)->columns.at(0))}),
                      c.shown)
                << at;
            EXPECT_LE(ok.Left + ok.Width, cancel.Left) << at;
            EXPECT_LE(cancel.Left + cancel.Width, cs.Width) << at;
            EXPECT_LE(cancel.Top + cancel.Height, cs.Height) << at;
        }
    }
}

}  // namespace

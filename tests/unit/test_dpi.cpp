// Layouts at other display scales: the scaling of design pixels, the main
// window moved between monitors of 96, 120, 144 and 192 dpi, its enlargement
// and the settings dialog at scale, on the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Config.h"
#include "Main.h"
#include "TestKit.h"

namespace {

TEST(Dpi, ScaleRoundsAsMulDiv) {
    const struct { int value, dpi, want; } cases[] = {
        {1, 120, 1},    {2, 120, 3},      {3, 120, 4},      {21, 120, 26},     {1, 144, 2},      {353, 144, 530},
        {21, 192, 42},  {-1, 144, -2},    {-2, 120, -3},    {-7, 120, -9},     {-12345, 96, -12345},
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

// The main window at each dpi: client area, text box, bottom panel, the four
// buttons (in the panel), font and least outer size.
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
    EXPECT_EQ((List{SizeText(plat::ClientSize(f.Handle)), BoundsText(f.mmoFileNames.Bounds()),
                    BoundsText(f.pnlBottom.Bounds()), BoundsText(f.btnConfig.Bounds()),
                    BoundsText(f.btnNaming.Bounds()), BoundsText(f.btnOk.Bounds()), BoundsText(f.btnCancel.Bounds()),
                    std::to_string(headless::W(f.Handle)->fontHeight), SizeText(headless::W(f.Handle)->minTrack)}),
              r.shown)
        << at;
}

// Opened at one dpi and moved to another (as opened, the layout is measured
// at real scale under Wine).
TEST(DpiWindow, MainWindowMovesToAnotherScale) {
    for (const MainRow& from : kMainRows)
        for (const MainRow& to : kMainRows) {
            if (from.dpi == to.dpi) continue;
            FreshWorld();
            State().dpi = from.dpi;
            auto f = std::make_unique<TfomMain>();
            const std::string at = std::to_string(from.dpi) + " dpi, then " + std::to_string(to.dpi);
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

TEST(DpiWindow, AutoSizeMeasuresAndAddsMarginsAtScale) {
    // An 80-byte longest line of three, measured in the form's font (6 by 12
    // pixels a byte at 96 dpi); the margins 40 and 100 are design pixels.
    const struct { int dpi, wantWidth, wantHeight; } cases[] = {
        {120, 600 + 50, 3 * 15 + 125},  // the 15-pixel font: 7.5 pixels a byte
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
        {120, {"515x441", "10,10 495x380", "285,405 94x26", "390,405 94x26", "20,10 170x15", "20,30 170x25",
               "20,60 170x100", "15", "15", "80"}},
        {192, {"824x706", "16,16 792x608", "456,648 150x42", "624,648 150x42", "32,16 272x24", "32,48 272x40",
               "32,96 272x160", "24", "24", "128"}},
    };
    for (const auto& c : cases) {
        // Opened at the dpi (the column widths are set on another path than a
        // move's), and opened at 96 and moved there: the same.
        for (bool moved : {false, true}) {
            FreshWorld();
            State().dpi = moved ? 96 : c.dpi;
            TIniOptions options;
            auto d = std::make_unique<TfomConfig>(options, nullptr);
            if (moved) {
                headless::MoveToDpi(d->Handle, c.dpi);
                plat::Rect b = d->Bounds();
                d->SetBounds({b.Left, b.Top, ScaleBy(412, c.dpi), ScaleBy(353, c.dpi)});
            }
            std::string at = std::to_string(c.dpi) + (moved ? " dpi after a move" : " dpi");
            EXPECT_EQ((List{SizeText(plat::ClientSize(d->Handle)), BoundsText(d->pgcOptions.Bounds()),
                            BoundsText(d->btnOk.Bounds()), BoundsText(d->btnCancel.Bounds()),
                            BoundsText(d->frmSeparator.label.Bounds()), BoundsText(d->frmSeparator.editBox.Bounds()),
                            BoundsText(d->frmSeparator.listBox.Bounds()),
                            std::to_string(headless::W(d->frmSeparator.listBox.Handle)->itemHeight),
                            std::to_string(headless::W(d->Handle)->fontHeight),
                            std::to_string(headless::W(d->lstWrapper.Handle)->columns.at(0))}),
                      c.shown)
                << at;
        }
    }
}

}  // namespace

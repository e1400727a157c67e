// Timings of the naming menu in the real Windows controls (run under Wine by
// scripts/wine-bench.sh naming), each beside a baseline from the same run:
//
//   operations  a numbered prefix, title case, spaces to "-" on 10,000
//               lines, each against one WM_SETTEXT of the same final text
//               (the least any rewrite of the whole box can cost)
//   menu        building the generated part with 50 phrases and 20 date
//               patterns, and opening the menu until it has been drawn,
//               against opening a plain menu of four entries the same way
//
// An operation that leaves the text as it was, or a menu that never shows,
// fails the run (exit code 1) with a line saying so, and gives no figure.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Main.h"

namespace {

// A timer message comes after the menu's painting: ending the menu there
// times its opening up to the moment it shows.
double g_menuShown = 0;
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
    g_menuShown = Now();
    KillTimer(nullptr, id);
    EndMenu();
}

// The time from the call to the menu being shown; false when it never
// showed (the call came back without running the menu's loop), so that no
// figure is made of a menu that was not there. The timer goes either way: a
// timer left running would end the next menu at once.
bool TimeOpening(const std::function<void()>& open, std::vector<double>& times) {
    g_menuShown = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 1, EndMenuTimer);
    if (!timer) return false;
    double t = Now();
    open();
    if (g_menuShown > 0) {
        times.push_back(g_menuShown - t);
        return true;
    }
    KillTimer(nullptr, timer);
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    int lines = argc > 2 ? std::max(2, atoi(argv[2])) : 10000;

    TfomMain form;
    TIniOptions& o = *form.Options;
    o.SeparatorList = {"", " ", ".", "-", "_", "#"};
    o.WrapperList = {{"(", ")"}, {"[", "]"}, {"{", "}"}};
    plat::SetVisible(form.Handle, true);
    SetForegroundWindow(static_cast<HWND>(form.Handle));

    std::string text;
    for (int i = 0; i < lines; ++i) text += "some file name " + std::to_string(i) + ".txt\r\n";
    form.mmoFileNames.SetText(text);
    form.BuildNamingMenu();
    auto entry = [&](unsigned char kind, const std::string& before, const std::string& after) -> TMenuItem* {
        for (TMenuItem* m : form.GeneratedMenuItems)
            if (auto* d = static_cast<TfomMain::NamingData*>(m->Data))
                if (d->Kind == kind && d->Before == before && d->After == after && (kind != 11 || d->Text == "-"))
                    return m;
        return nullptr;
    };
    struct Op {
        const char* name;
        TMenuItem* item;
    } ops[] = {
        {"numbered prefix", entry(TfomMain::PrefixNumberFrom1, "", "-")},
        {"title case", &form.mniTitleCase},
        {"spaces to -", entry(TfomMain::SpaceToSeparator, "", "")},
    };
    std::printf("operations on %d lines (%u bytes)\n", lines, unsigned(text.size()));
    int failed = 0;
    for (const Op& op : ops) {
        if (!op.item) {
            failed = Fail(std::string("  ") + op.name + ": no entry");
            continue;
        }
        // What the operation makes of the text, which the baseline sets at once.
        form.mmoFileNames.SetText(text);
        op.item->FireClick();
        const std::string final = form.mmoFileNames.Text();
        // From the starting text, with the messages before and after handled
        // outside the time.
        auto timed = [&](auto work) {
            form.mmoFileNames.SetText(text);
            plat::ProcessPendingMessages();
            const double d = Seconds(work);
            plat::ProcessPendingMessages();
            return d;
        };
        auto runOp = [&] { op.item->FireClick(); };
        auto runSet = [&] {
            SendMessageA(static_cast<HWND>(form.mmoFileNames.Handle), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(final.c_str()));
        };
        // The operation must do its work, and the same work each time.
        bool same = final != text;
        std::vector<double> mine, base;
        auto measure = [&] {
            mine.push_back(timed(runOp));
            same = same && form.mmoFileNames.Text() == final;
        };
        for (int r = 0; r < rounds && same; ++r) Alternate(r, measure, [&] { base.push_back(timed(runSet)); });
        if (!same) {
            failed = Fail(std::string("  ") + op.name +
                          (final == text ? ": the text did not change" : ": the two runs differ"));
            continue;
        }
        std::printf("  %s: median %.1f ms; one WM_SETTEXT %.1f ms; ratio %.2f\n", op.name, Median(mine) * 1e3,
                    Median(base) * 1e3, Median(mine) / Median(base));
        std::fflush(stdout);
    }

    // ---- the menu with 50 phrases and 20 date patterns
    form.mmoFileNames.SetText("a.txt\r\nb.txt");
    // The lists saved by the last run come back from the ini file: they are
    // replaced, not added to.
    o.CommonUseList.clear();
    o.TimeFormatList.clear();
    for (int i = 0; i < 50; ++i) o.CommonUseList.push_back("常用语 " + std::to_string(i));
    const char* const dates[] = {"yyyymmdd", "yyyy-mm-dd", "yymmdd", "yyyymmddhhnnss", "yyyy_mm_dd_ddd"};
    for (int i = 0; i < 20; ++i)
        o.TimeFormatList.push_back(std::string(dates[i % 5]) + (i >= 5 ? "'" + std::to_string(i) + "'" : ""));
    std::vector<double> build, open, first, plain;
    HMENU bare = CreatePopupMenu();
    for (const char* c : {"a", "b", "c", "d"}) AppendMenuA(bare, MF_STRING, 1, c);
    plat::Rect at = plat::ClientToScreen(form.btnNaming.Handle);
    const char* missing = nullptr;
    for (int r = 0; r < rounds && !missing; ++r) {
        build.push_back(Seconds([&] { form.BuildNamingMenu(); }));
        form.InvalidateNamingMenu();
        if (!TimeOpening([&] { form.btnNamingClick(nullptr); }, first)) missing = "the naming menu (first opening)";
        else if (!TimeOpening([&] { form.btnNamingClick(nullptr); }, open)) missing = "the naming menu (opening again)";
        else if (!TimeOpening([&] {
                     TrackPopupMenu(bare, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.Left, at.Top, 0,
                                    static_cast<HWND>(form.Handle), nullptr);
                 }, plain))
            missing = "the plain four-entry menu";
    }
    DestroyMenu(bare);
    if (missing) return Fail(std::string("menu: FAIL: ") + missing + " never showed");
    const double plainOpen = Median(plain);
    std::printf("menu: %u generated entries; a plain four-entry menu opens in %.1f ms\n"
                "  first opening (build, accelerators, shown) %.1f ms; ratio %.2f\n"
                "  opening again %.1f ms; ratio %.2f\n"
                "  building alone %.1f ms; ratio %.2f\n",
                unsigned(form.GeneratedMenuItems.size()), plainOpen * 1e3, Median(first) * 1e3,
                Median(first) / plainOpen, Median(open) * 1e3, Median(open) / plainOpen, Median(build) * 1e3,
                Median(build) / plainOpen);
    return failed;
}

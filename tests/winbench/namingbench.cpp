// Timings of the naming menu in the real Windows controls (run under Wine by
// scripts/wine-bench.sh naming), each beside a baseline from the same run:
//
//   operations  a numbered prefix, title case, spaces to "-" on 10,000
//               lines, each against one WM_SETTEXT of the same final text
//               (the least any rewrite of the whole box can cost)
//   menu        building the generated part with 50 phrases and 20 date
//               patterns, and opening the menu until it has been drawn,
//               against opening a plain menu of four entries the same way
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

double TimeOpening(const std::function<void()>& open) {
    g_menuShown = 0;
    SetTimer(nullptr, 0, 1, EndMenuTimer);
    double t = Now();
    open();
    return g_menuShown > 0 ? g_menuShown - t : 0;
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
    bool ok = true;
    for (const Op& op : ops) {
        if (!op.item) {
            std::printf("  %s: no entry\n", op.name);
            ok = false;
            continue;
        }
        std::vector<double> mine, base;
        for (int r = 0; r < rounds; ++r) {
            form.mmoFileNames.SetText(text);
            plat::ProcessPendingMessages();
            auto runOp = [&] {
                double t = Now();
                op.item->FireClick();
                double d = Now() - t;
                plat::ProcessPendingMessages();
                return d;
            };
            std::string final;
            auto runSet = [&] {
                form.mmoFileNames.SetText(text);
                plat::ProcessPendingMessages();
                double t = Now();
                SendMessageA(static_cast<HWND>(form.mmoFileNames.Handle), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(final.c_str()));
                double d = Now() - t;
                plat::ProcessPendingMessages();
                return d;
            };
            // Alternate the order, so that neither gains from the other.
            if (r % 2 == 0) {
                mine.push_back(runOp());
                final = form.mmoFileNames.Text();
                base.push_back(runSet());
            } else {
                op.item->FireClick();
                final = form.mmoFileNames.Text();
                base.push_back(runSet());
                form.mmoFileNames.SetText(text);
                plat::ProcessPendingMessages();
                mine.push_back(runOp());
            }
            if (form.mmoFileNames.Text() != final) {
                std::printf("  %s: the two runs differ\n", op.name);
                ok = false;
            }
        }
        std::printf("  %s: median %.1f ms; one WM_SETTEXT %.1f ms; ratio %.2f\n", op.name, Median(mine) * 1e3,
                    Median(base) * 1e3, Median(mine) / Median(base));
        std::fflush(stdout);
    }

    // ---- the menu with 50 phrases and 20 date patterns
    form.mmoFileNames.SetText("a.txt\r\nb.txt");
    for (int i = 0; i < 50; ++i) o.CommonUseList.push_back("常用语 " + std::to_string(i));
    const char* const dates[] = {"yyyymmdd", "yyyy-mm-dd", "yymmdd", "yyyymmddhhnnss", "yyyy_mm_dd_ddd"};
    for (int i = 0; i < 20; ++i) o.TimeFormatList.push_back(std::string(dates[i % 5]) + (i >= 5 ? "'" + std::to_string(i) + "'" : ""));
    std::vector<double> build, open, first, plain;
    HMENU bare = CreatePopupMenu();
    for (const char* c : {"a", "b", "c", "d"}) AppendMenuA(bare, MF_STRING, 1, c);
    plat::Rect at = plat::ClientToScreen(form.btnNaming.Handle);
    for (int r = 0; r < rounds; ++r) {
        double t = Now();
        form.BuildNamingMenu();
        build.push_back(Now() - t);
        form.InvalidateNamingMenu();
        first.push_back(TimeOpening([&] { form.btnNamingClick(nullptr); }));
        open.push_back(TimeOpening([&] { form.btnNamingClick(nullptr); }));
        plain.push_back(TimeOpening([&] {
            TrackPopupMenu(bare, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.Left, at.Top, 0,
                           static_cast<HWND>(form.Handle), nullptr);
        }));
    }
    std::printf("menu: %u generated entries; build %.1f ms; first opening (build, accelerators, shown) %.1f ms;\n"
                "      opening again %.1f ms; a plain four-entry menu %.1f ms; ratio %.2f\n",
                unsigned(form.GeneratedMenuItems.size()), Median(build) * 1e3, Median(first) * 1e3,
                Median(open) * 1e3, Median(plain) * 1e3, Median(open) / Median(plain));
    return ok ? 0 : 1;
}

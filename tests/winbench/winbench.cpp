// Timings on the real file system (run under Wine by scripts/wine-bench.sh):
// each figure beside a baseline measured in the same run, as a ratio.
//
//   confirm   the confirm step for 10,000 lines, half of them copied from a
//             template, against a plain loop that makes the same file-system
//             calls for the same paths
//   lookup    FindTemplate with 1,000 templates, against one file-existence
//             test (the call that follows every lookup)
//   pattern   the worst-case name pattern against a pattern of the same
//             length without wildcards, both walking the whole name
//   handback  (run alone: korvalin_winbench.exe handback [rounds]) marking
//             40 new files in the stand-in panel of 10,000 more items, for
//             each CursorPos, against a bare loop that sends the same
//             messages in the same order
//
// Each pair is checked to do the same work (the same files, the same
// answers, the same messages seen by the panel); where it does not, or a
// measurement is missing, the run fails (exit code 1) with a line saying
// so, and that figure is not printed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Main.h"
#include "PlainCreate.h"
#include "Utils.h"

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string p = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

int kLines = 10000;

int CountFiles(const std::string& dir) {
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::string LineName(int i) { return "f" + std::to_string(i) + (i % 2 ? ".md" : ".txt"); }

// ---- hand-back

std::string Dir(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

struct FindCtx {
    DWORD pid;
    HWND found;
};

HWND PanelOf(DWORD pid) {
    FindCtx ctx{pid, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL CALLBACK {
            auto* c = reinterpret_cast<FindCtx*>(lp);
            DWORD p = 0;
            GetWindowThreadProcessId(h, &p);
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (p != c->pid || std::string(cls) != "FakeFmMain") return TRUE;
            c->found = FindWindowExA(h, nullptr, "LISTBOX", nullptr);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// The stand-in panel's counters (see fakefm.cpp).
const UINT kCountsGet = WM_APP, kCountsClear = WM_APP + 1;

struct Counts {
    long count = 0, textLen = 0, text = 0, sel = 0;
    bool operator==(const Counts& o) const {
        return count == o.count && textLen == o.textLen && text == o.text && sel == o.sel;
    }
};

Counts ReadCounts(HWND panel) {
    Counts c;
    c.count = static_cast<long>(SendMessageA(panel, kCountsGet, LB_GETCOUNT, 0));
    c.textLen = static_cast<long>(SendMessageA(panel, kCountsGet, LB_GETTEXTLEN, 0));
    c.text = static_cast<long>(SendMessageA(panel, kCountsGet, LB_GETTEXT, 0));
    c.sel = static_cast<long>(SendMessageA(panel, kCountsGet, LB_SETSEL, 0));
    return c;
}

// The messages the marking step sends, worked out from the listing: a read
// (index >= 0) or a mark (-1 - index), after the one LB_GETCOUNT.
std::vector<int> ExpectedSteps(const std::vector<std::string>& listing, const std::vector<std::string>& keys,
                               int cursorPos, unsigned limit) {
    std::vector<int> steps;
    const int count = static_cast<int>(listing.size());
    const size_t n = keys.size();
    unsigned marked = 0;
    auto begins = [&](int p, size_t e) { return listing[p].compare(0, keys[e].size(), keys[e]) == 0; };
    if (cursorPos == 0 || cursorPos == 1) {
        for (int j = 0; j < count; ++j) {
            int p = cursorPos == 0 ? count - 1 - j : j;
            steps.push_back(p);
            for (size_t e = 0; e < n; ++e)
                if (begins(p, e)) {
                    steps.push_back(-1 - p);
                    ++marked;
                    break;
                }
            if (marked >= n || marked >= limit) break;
        }
    } else {
        for (size_t k = 0; k < n; ++k) {
            size_t e = cursorPos == 2 ? n - 1 - k : k;
            for (int p = 0; p < count; ++p) {
                steps.push_back(p);
                if (begins(p, e)) {
                    steps.push_back(-1 - p);
                    ++marked;
                    break;
                }
            }
            if (marked >= n || marked >= limit) break;
        }
    }
    return steps;
}

// The bare loop: the same messages, sent as the platform layer sends them
// (wide reads under Wine), into one fixed buffer, with no compare at all.
void SendSteps(HWND panel, const std::vector<int>& steps, bool wine) {
    static wchar_t wide[65536];
    static char narrow[65536];
    SendMessageA(panel, LB_GETCOUNT, 0, 0);
    for (int s : steps) {
        if (s < 0) {
            SendMessageA(panel, LB_SETSEL, 1, -1 - s);
        } else if (wine) {
            SendMessageW(panel, LB_GETTEXTLEN, s, 0);
            SendMessageW(panel, LB_GETTEXT, s, reinterpret_cast<LPARAM>(wide));
        } else {
            SendMessageA(panel, LB_GETTEXTLEN, s, 0);
            SendMessageA(panel, LB_GETTEXT, s, reinterpret_cast<LPARAM>(narrow));
        }
    }
}

int HandBackBench(int rounds) {
    const int kFill = 10000, kNew = 40;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string bin = Dir(self);
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string base = std::string(tmp) + "kvhandback" + std::to_string(GetCurrentProcessId());
    const std::string demo = base + "\\panel";
    RemoveTree(base);
    plat::ForceDirectories(demo);
    // Spread over the panel: each new file sorts just after a filler item.
    std::vector<std::string> names;
    for (int k = 0; k < kNew; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "fill%05d.new", k * (kFill / kNew) + kFill / kNew / 2);
        names.push_back(name);
        plat::CreateEmptyFile(demo + "\\" + name);
    }

    std::string cmd = "\"" + bin + "fakefm.exe\" --dir \"" + demo + "\" --exe \"" + bin + "barewin.exe\" --fill " +
                      std::to_string(kFill);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("handback: cannot start %sfakefm.exe\n", bin.c_str());
        return 1;
    }
    CloseHandle(pi.hThread);
    HWND panel = nullptr;
    for (int i = 0; i < 300 && !(panel = PanelOf(pi.dwProcessId)); ++i) Sleep(50);
    const int total = kFill + kNew;
    for (int i = 0; i < 300 && panel && SendMessageA(panel, LB_GETCOUNT, 0, 0) != total; ++i) Sleep(50);
    if (!panel || SendMessageA(panel, LB_GETCOUNT, 0, 0) != total) {
        std::printf("handback: the stand-in panel did not list %d items\n", total);
        TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        return 1;
    }

    TfomMain form;
    form.TcPanelHandle = panel;
    form.Options->SleepTime = 0;
    form.Options->TcColSep = 9;
    form.Options->OpenMax = kNew;
    for (const auto& n : names) form.CreatedItems.push_back({0, demo + "\\" + n});
    std::vector<std::string> listing, keys;
    for (int p = 0; p < total; ++p) listing.push_back(plat::PanelText(panel, p));
    for (const auto& n : names) keys.push_back(n + "\t");
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");

    std::printf("handback: %d panel items, %d new files, %d rounds\n", total, kNew, rounds);
    bool failed = false;
    for (int pos : {0, 1, 2, 3}) {
        form.Options->CursorPos = pos;
        const std::vector<int> steps = ExpectedSteps(listing, keys, pos, kNew);
        std::vector<double> mark, bare;
        Counts markCounts, bareCounts;
        int marked = 0;
        for (int r = 0; r < rounds; ++r) {
            auto runMark = [&] {
                SendMessageA(panel, LB_SETSEL, 0, -1);
                SendMessageA(panel, kCountsClear, 0, 0);
                double t = Now();
                marked = form.MarkCreatedItems();
                double d = Now() - t;
                markCounts = ReadCounts(panel);
                return d;
            };
            auto runBare = [&] {
                SendMessageA(panel, LB_SETSEL, 0, -1);
                SendMessageA(panel, kCountsClear, 0, 0);
                double t = Now();
                SendSteps(panel, steps, wine);
                double d = Now() - t;
                bareCounts = ReadCounts(panel);
                return d;
            };
            // Alternate which runs first.
            if (r % 2 == 0) {
                mark.push_back(runMark());
                bare.push_back(runBare());
            } else {
                bare.push_back(runBare());
                mark.push_back(runMark());
            }
        }
        std::printf("  CursorPos %d: %d marked; panel saw LB_GETCOUNT %ld, LB_GETTEXTLEN %ld, LB_GETTEXT %ld, "
                    "LB_SETSEL %ld%s\n",
                    pos, marked, markCounts.count, markCounts.textLen, markCounts.text, markCounts.sel,
                    markCounts == bareCounts ? " (bare loop: the same)" : " (bare loop: DIFFERENT)");
        if (!(markCounts == bareCounts) || marked != kNew || markCounts.sel != kNew) {
            std::printf("  CursorPos %d: FAIL: the bare loop did not do the marking step's work; no figure\n", pos);
            failed = true;
            continue;
        }
        std::printf("  CursorPos %d: MarkCreatedItems median %.3f s, bare loop %.3f s, ratio %.3f\n", pos,
                    Median(mark), Median(bare), Median(mark) / Median(bare));
        std::fflush(stdout);
    }

    // barewin's end ends the stand-in file manager.
    if (HWND bw = FindWindowA("BareWin", nullptr)) PostMessageA(bw, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    RemoveTree(base);
    return failed ? 1 : 0;
}


}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "handback") return HandBackBench(argc > 2 ? std::max(1, atoi(argv[2])) : 3);
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    if (argc > 2) kLines = std::max(2, atoi(argv[2]));
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string base = std::string(tmp) + "kvbench" + std::to_string(GetCurrentProcessId());
    RemoveTree(base);
    plat::ForceDirectories(base + "\\Templates");
    {
        HANDLE h = CreateFileA((base + "\\Templates\\%.md").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n;
        WriteFile(h, "# notes\r\n", 9, &n, nullptr);
        CloseHandle(h);
    }

    TfomMain form;
    form.Options->TemplatePath = base + "\\Templates\\";
    form.BuildTemplateList(form.Options->TemplatePath);
    std::string text;
    for (int i = 0; i < kLines; ++i) text += LineName(i) + "\r\n";

    // ---- confirm step against the plain loop, alternating, fresh folders
    std::vector<double> confirm, plain;
    for (int r = 0; r < rounds; ++r) {
        std::string a = base + "\\a" + std::to_string(r), b = base + "\\b" + std::to_string(r);
        plat::ForceDirectories(a);
        plat::ForceDirectories(b);
        form.PanelDir = a + "\\";
        form.mmoFileNames.SetText(text);
        std::vector<std::pair<std::string, std::string>> targets;
        for (int i = 0; i < kLines; ++i) {
            std::string path = b + "\\" + LineName(i);
            targets.push_back({path, form.FindTemplate(path)});
        }
        // Alternate which runs first, so that neither gains from a warmed cache.
        auto runConfirm = [&] {
            double t = Now();
            form.btnOkClick(nullptr);
            return Now() - t;
        };
        auto runPlain = [&] {
            double t = Now();
            for (const auto& target : targets) PlainCreate(target.first, target.second);
            return Now() - t;
        };
        double c = 0, p = 0;
        if (r % 2 == 0) {
            c = runConfirm();
            p = runPlain();
        } else {
            p = runPlain();
            c = runConfirm();
        }
        const int inA = CountFiles(a), inB = CountFiles(b);
        if (form.CreatedItems.size() != static_cast<size_t>(kLines) || inA != kLines || inB != kLines ||
            FileSize(a + "\\" + LineName(1)) != FileSize(b + "\\" + LineName(1)) ||
            FileSize(b + "\\" + LineName(1)) != 9) {
            std::printf("confirm: FAIL: the confirm step listed %u items and made %d files, the plain loop %d, "
                        "of %d; no figure\n",
                        unsigned(form.CreatedItems.size()), inA, inB, kLines);
            return 1;
        }
        std::printf("  round %d: confirm step %.3f s, plain loop %.3f s\n", r, c, p);
        std::fflush(stdout);
        confirm.push_back(c);
        plain.push_back(p);
        RemoveTree(a);
        RemoveTree(b);
    }
    std::printf("confirm: %d lines, median %.3f s; plain loop %.3f s; ratio %.3f\n", kLines, Median(confirm),
                Median(plain), Median(confirm) / Median(plain));

    // ---- FindTemplate with 1,000 templates
    std::string many = base + "\\Many\\";
    plat::ForceDirectories(many);
    for (int i = 0; i < 1000; ++i) {
        std::string name = many + "proj" + std::to_string(i) + "_%" + (i % 3 ? ".cfg" : "%.ini");
        CloseHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    form.Options->TemplatePath = many;
    form.BuildTemplateList(many);
    // No template fits, so that every lookup walks the whole list; the
    // baseline then tests a file that is not there, as the lookup's answer is.
    if (form.TemplateFiles.size() != 1000 || form.FindTemplate(many + "readme7.txt") != many + "template.txt" ||
        plat::FileExists(many + "template7.txt")) {
        std::printf("lookup: FAIL: %u templates, or one fits the names looked up; no figure\n",
                    unsigned(form.TemplateFiles.size()));
        return 1;
    }
    const int lookups = 2000;
    std::vector<double> look, exist;
    for (int r = 0; r < 5; ++r) {
        double t0 = Now();
        size_t sink = 0;
        for (int i = 0; i < lookups; ++i) sink += form.FindTemplate(many + "readme" + std::to_string(i) + ".txt").size();
        double t1 = Now();
        for (int i = 0; i < lookups; ++i) sink += plat::FileExists(many + "template" + std::to_string(i) + ".txt");
        double t2 = Now();
        look.push_back((t1 - t0) / lookups);
        exist.push_back((t2 - t1) / lookups);
        if (sink != (many + "template.txt").size() * lookups) {
            std::printf("lookup: FAIL: a lookup answered another template; no figure\n");
            return 1;
        }
    }
    std::printf("lookup: %u templates, %.2f us per FindTemplate; one file-existence test %.2f us; ratio %.2f\n",
                unsigned(form.TemplateFiles.size()), Median(look) * 1e6, Median(exist) * 1e6,
                Median(look) / Median(exist));

    // ---- the worst-case pattern
    // Both patterns are 40 bytes and walk all 40 bytes of the name, the
    // worst case with every '%' alive, the baseline with one live position:
    // each answer turns on the name's last byte.
    std::string name(40, 'a'), lastB = std::string(39, 'a') + "b", worst, flat = std::string(39, 'a') + "b";
    for (int i = 0; i < 19; ++i) worst += "%a";
    worst += "%b";
    if (worst.size() != flat.size() || MatchNamePattern(worst, name) || !MatchNamePattern(worst, lastB) ||
        MatchNamePattern(flat, name) || !MatchNamePattern(flat, lastB)) {
        std::printf("pattern: FAIL: the two patterns do not do the same walk; no figure\n");
        return 1;
    }
    std::vector<double> w, f;
    const int matches = 20000;
    for (int r = 0; r < 5; ++r) {
        int hits = 0;
        double t0 = Now();
        for (int i = 0; i < matches; ++i) hits += MatchNamePattern(worst, name);
        double t1 = Now();
        for (int i = 0; i < matches; ++i) hits += MatchNamePattern(flat, name);
        double t2 = Now();
        w.push_back((t1 - t0) / matches);
        f.push_back((t2 - t1) / matches);
        if (hits) {
            std::printf("pattern: FAIL: unexpected match; no figure\n");
            return 1;
        }
    }
    std::printf("pattern: %s against 40 bytes, %.3f us; a plain %u-byte pattern %.3f us; ratio %.1f\n", worst.c_str(),
                Median(w) * 1e6, unsigned(flat.size()), Median(f) * 1e6, Median(w) / Median(f));

    RemoveTree(base);
    return 0;
}

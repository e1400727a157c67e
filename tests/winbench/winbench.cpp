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
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Main.h"
#include "PlainCreate.h"
#include "Utils.h"

namespace {

std::vector<plat::DirEntry> Listing(const std::string& dir) {
    std::vector<plat::DirEntry> entries;
    plat::ListDirectory(dir, entries);
    return entries;
}

void RemoveTree(const std::string& dir) {
    for (const plat::DirEntry& e : Listing(dir)) {
        if (e.Name == "." || e.Name == "..") continue;
        if (e.IsDirectory) RemoveTree(dir + "\\" + e.Name);
        else plat::RemoveFile(dir + "\\" + e.Name);
    }
    RemoveDirectoryA(dir.c_str());
}

// An empty folder of this run in the temporary folder.
std::string FreshFolder(const std::string& name) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string dir = tmp + name + std::to_string(GetCurrentProcessId());
    RemoveTree(dir);
    plat::ForceDirectories(dir);
    return dir;
}

int kLines = 10000;

int CountFiles(const std::string& dir) {
    const std::vector<plat::DirEntry> entries = Listing(dir);
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const plat::DirEntry& e) { return !e.IsDirectory; }));
}

std::string Content(const std::string& path) {
    std::string content = "(unreadable)";
    plat::ReadWholeFile(path, content);
    return content;
}

std::string LineName(int i) { return "f" + std::to_string(i) + (i % 2 ? ".md" : ".txt"); }

// ---- hand-back

HWND PanelOf(DWORD pid) {
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "FakeFmMain", nullptr));) {
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p == pid) return FindWindowExA(h, nullptr, "LISTBOX", nullptr);
    }
    return nullptr;
}

// The stand-in panel counts these messages (see fakefm.cpp).
const UINT kCountsGet = WM_APP, kCountsClear = WM_APP + 1;
const UINT kCounted[] = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_SETSEL};
using Counts = std::array<long, 4>;

Counts ReadCounts(HWND panel) {
    Counts c;
    for (int i = 0; i < 4; ++i) c[i] = static_cast<long>(SendMessageA(panel, kCountsGet, kCounted[i], 0));
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
    const std::string bin = ExtractFileDir(plat::ExePath()) + "\\";
    const std::string base = FreshFolder("kvhandback"), demo = base + "\\panel";
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
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return Fail("handback: cannot start " + bin + "fakefm.exe");
    CloseHandle(pi.hThread);
    HWND panel = nullptr;
    for (int i = 0; i < 300 && !(panel = PanelOf(pi.dwProcessId)); ++i) Sleep(50);
    const int total = kFill + kNew;
    for (int i = 0; i < 300 && panel && SendMessageA(panel, LB_GETCOUNT, 0, 0) != total; ++i) Sleep(50);
    if (!panel || SendMessageA(panel, LB_GETCOUNT, 0, 0) != total) {
        TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        return Fail("handback: the stand-in panel did not list " + std::to_string(total) + " items");
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
        // One run from a clear panel, timed; then what the panel saw.
        auto run = [&](auto work, std::vector<double>& times, Counts& seen) {
            SendMessageA(panel, LB_SETSEL, 0, -1);
            SendMessageA(panel, kCountsClear, 0, 0);
            times.push_back(Seconds(work));
            seen = ReadCounts(panel);
        };
        auto markStep = [&] { marked = form.MarkCreatedItems(); };
        auto bareLoop = [&] { SendSteps(panel, steps, wine); };
        for (int r = 0; r < rounds; ++r)
            Alternate(r, [&] { run(markStep, mark, markCounts); }, [&] { run(bareLoop, bare, bareCounts); });
        std::printf("  CursorPos %d: %d marked; panel saw LB_GETCOUNT %ld, LB_GETTEXTLEN %ld, LB_GETTEXT %ld, "
                    "LB_SETSEL %ld%s\n",
                    pos, marked, markCounts[0], markCounts[1], markCounts[2], markCounts[3],
                    markCounts == bareCounts ? " (bare loop: the same)" : " (bare loop: DIFFERENT)");
        if (!(markCounts == bareCounts) || marked != kNew || markCounts[3] != kNew) {
            failed = Fail("  CursorPos " + std::to_string(pos) +
                          ": FAIL: the bare loop did not do the marking step's work");
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

// Seconds per call, over `n` calls.
template <class F>
double PerCall(int n, F call) {
    const double t = Now();
    for (int i = 0; i < n; ++i) call(i);
    return (Now() - t) / n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "handback") return HandBackBench(argc > 2 ? std::max(1, atoi(argv[2])) : 3);
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    if (argc > 2) kLines = std::max(2, atoi(argv[2]));
    const std::string base = FreshFolder("kvbench");
    plat::ForceDirectories(base + "\\Templates");
    plat::WriteNewFile(base + "\\Templates\\%.md", "# notes\r\n");

    TfomMain form;
    form.Options->TemplatePath = base + "\\Templates\\";
    form.BuildTemplateList(form.Options->TemplatePath);
    std::string text;
    for (int i = 0; i < kLines; ++i) text += LineName(i) + "\r\n";

    // ---- confirm step against the plain loop, fresh folders
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
        auto confirmStep = [&] { form.btnOkClick(nullptr); };
        auto plainLoop = [&] {
            for (const auto& target : targets) PlainCreate(target.first, target.second);
        };
        Alternate(r, [&] { confirm.push_back(Seconds(confirmStep)); }, [&] { plain.push_back(Seconds(plainLoop)); });
        const int inA = CountFiles(a), inB = CountFiles(b);
        const std::string md = "\\" + LineName(1);
        if (form.CreatedItems.size() != static_cast<size_t>(kLines) || inA != kLines || inB != kLines ||
            Content(a + md) != "# notes\r\n" || Content(b + md) != "# notes\r\n")
            return Fail("confirm: FAIL: the confirm step listed " + std::to_string(form.CreatedItems.size()) +
                        " items and made " + std::to_string(inA) + " files, the plain loop " + std::to_string(inB) +
                        ", of " + std::to_string(kLines) + ", or not from the template");
        std::printf("  round %d: confirm step %.3f s, plain loop %.3f s\n", r, confirm.back(), plain.back());
        std::fflush(stdout);
        RemoveTree(a);
        RemoveTree(b);
    }
    std::printf("confirm: %d lines, median %.3f s; plain loop %.3f s; ratio %.3f\n", kLines, Median(confirm),
                Median(plain), Median(confirm) / Median(plain));

    // ---- FindTemplate with 1,000 templates
    std::string many = base + "\\Many\\";
    plat::ForceDirectories(many);
    for (int i = 0; i < 1000; ++i)
        plat::CreateEmptyFile(many + "proj" + std::to_string(i) + "_%" + (i % 3 ? ".cfg" : "%.ini"));
    form.Options->TemplatePath = many;
    form.BuildTemplateList(many);
    // No template fits, so that every lookup walks the whole list; the
    // baseline then tests a file that is not there, as the lookup's answer is.
    if (form.TemplateFiles.size() != 1000 || form.FindTemplate(many + "readme7.txt") != many + "template.txt" ||
        plat::FileExists(many + "template7.txt"))
        return Fail("lookup: FAIL: " + std::to_string(form.TemplateFiles.size()) +
                    " templates, or one fits the names looked up");
    const int lookups = 2000;
    std::vector<double> look, exist;
    for (int r = 0; r < 5; ++r) {
        size_t sink = 0;
        look.push_back(PerCall(lookups, [&](int i) {
            sink += form.FindTemplate(many + "readme" + std::to_string(i) + ".txt").size();
        }));
        exist.push_back(PerCall(lookups, [&](int i) {
            sink += plat::FileExists(many + "template" + std::to_string(i) + ".txt");
        }));
        if (sink != (many + "template.txt").size() * lookups)
            return Fail("lookup: FAIL: a lookup answered another template");
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
        MatchNamePattern(flat, name) || !MatchNamePattern(flat, lastB))
        return Fail("pattern: FAIL: the two patterns do not do the same walk");
    std::vector<double> w, f;
    const int matches = 20000;
    for (int r = 0; r < 5; ++r) {
        int hits = 0;
        w.push_back(PerCall(matches, [&](int) { hits += MatchNamePattern(worst, name); }));
        f.push_back(PerCall(matches, [&](int) { hits += MatchNamePattern(flat, name); }));
        if (hits) return Fail("pattern: FAIL: unexpected match");
    }
    std::printf("pattern: %s against 40 bytes, %.3f us; a plain %u-byte pattern %.3f us; ratio %.1f\n", worst.c_str(),
                Median(w) * 1e6, unsigned(flat.size()), Median(f) * 1e6, Median(w) / Median(f));

    RemoveTree(base);
    return 0;
}

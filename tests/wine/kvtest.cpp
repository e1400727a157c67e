// kvtest: drives Korvalin's real window under Windows (or Wine) the way a
// user would, through the stand-in file manager fakefm.exe, and checks what
// the user sees. This file holds the start without a path, the window as it
// comes up, its saved place and size, an ini file that cannot be written,
// the start-up timing and the demonstration session; the other groups are
// in the kv*.cpp files beside it (each says which at its top), the driver
// they all use in kvdriver.h.
//
// Every case runs in a fresh folder of its own that holds a copy of
// korvalin.exe, so the ini file beside it belongs to that case alone.
//
// The options are in main's usage text. --demo runs one demonstration
// session on its folder (see Demo).
//
// Prints one PASS or FAIL line per check and ends with "N passed, N failed".
// The exit code is 1 when a check failed.
#include "kvdriver.h"

#include "Inioptions.h"

namespace {
using namespace kv;

// ------------------------------------------------------------ expectations

const char* const kUsage =
    "请使用 Total Commander 命令或快捷键调用\nTC 传递给 Korvalin 的参数应该是 [-OnlyDir] %P%S ";

const char* const kHintFiles =
    "输入多个文件名、文件夹名，每行一个。\r\n"
    "以 \\ 或者 / 结尾的行，表示文件夹；否则，表示文件。\r\n"
    "支持绝对路径和相对路径。\r\n"
    "支持文件模版。";

const char* const kHintOnlyDir =
    "输入多个文件名、文件夹名，每行一个。\r\n"
    "OnlyDir模式，不论是否以 \\ 或 / 结尾，都新建文件夹。\r\n"
    "支持绝对路径和相对路径。";

// The ini file a first run writes: every key in the order of IniKeys, with
// the values of an options record that nothing was loaded into; the window
// bounds not at all, as their switches are off.
std::vector<IniEntry> FreshIni(const std::string& exeDir) {
    TIniOptions fresh;
    fresh.TemplatePath = exeDir + "Templates\\";
    std::vector<IniEntry> e;
    for (const IniKey& k : IniKeys) {
        if (k.KeptBy && !(fresh.*k.KeptBy)) continue;
        std::string value = k.Int ? std::to_string(fresh.*k.Int) : k.Bool ? (fresh.*k.Bool ? "1" : "0") : fresh.*k.Text;
        e.push_back({k.Section, k.Name, value});
    }
    return e;
}

void CheckIniEntries(const std::vector<IniEntry>& got, const std::vector<IniEntry>& want) {
    auto show = [](const IniEntry& e) { return "[" + e.section + "] " + e.key + "=" + e.value; };
    size_t n = std::min(got.size(), want.size());
    size_t i = 0;
    while (i < n && got[i].section == want[i].section && got[i].key == want[i].key) ++i;
    if (!Check(i == n && got.size() == want.size(), "ini holds every key in order",
               "entry " + std::to_string(i + 1) + " is " + (i < got.size() ? Show(show(got[i])) : "missing") +
                   ", want " + (i < want.size() ? Show(show(want[i])) : "no more entries")))
        return;
    std::string bad;
    for (size_t j = 0; j < n; ++j)
        if (got[j].value != want[j].value)
            bad += (bad.empty() ? "" : "; ") + got[j].key + " is " + Show(got[j].value) + ", want " +
                   Show(want[j].value);
    Check(bad.empty(), "ini values are those in memory", bad);
}

// ------------------------------------------------------------ cases

std::string Pair(int a, const char* sep, int b) { return std::to_string(a) + sep + std::to_string(b); }

std::string ClientSize(HWND h) {
    RECT c = {};
    GetClientRect(h, &c);
    return Pair(c.right, "x", c.bottom);
}

// Placed as the system centres a window of its size on the desktop.
void CheckCentred(const RECT& r, const std::string& what) {
    const int cx = (GetSystemMetrics(SM_CXVIRTUALSCREEN) - (r.right - r.left)) / 2;
    const int cy = (GetSystemMetrics(SM_CYVIRTUALSCREEN) - (r.bottom - r.top)) / 2;
    Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, what,
          "at " + RectText(r) + ", want " + Pair(cx, ",", cy));
}

// Lines given as a user gives them: Ctrl+Enter between them, since Enter
// alone confirms.
void TypeLines(Session& s, const std::vector<std::string>& lines) {
    BringToFront(s.main);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) SendKey(VK_RETURN, {VK_CONTROL});
        PutText(lines[i]);
    }
    s.WaitText(Join(lines));
}

void CaseCodePage() {
    g_case = "codepage";
    CheckEq((long)GetACP(), 936, "ANSI code page is GBK");
    CheckEq(std::string("确定"), std::string("\xC8\xB7\xB6\xA8"), "literals are GBK bytes");
}

// Started without a path, Korvalin only explains how it is to be started.
void CaseUsage() {
    const struct {
        const char* name;
        std::vector<std::string> fmArgs;
    } rows[] = {
        {"no arguments", {"--noargs"}},
        {"/ONLYDIR alone", {"--raw", "/ONLYDIR"}},
        // "--onlydir" is no known switch and takes the path as its value.
        {"--onlydir and a path", {"--raw", "--onlydir C:\\work\\a.txt"}},
    };
    for (const auto& row : rows) {
        g_case = std::string("usage/") + row.name;
        Session s;
        if (!s.run.Start(row.fmArgs)) continue;
        HWND dlg = s.WaitBox();
        if (!Check(dlg != nullptr, "usage message box appears")) continue;
        Box box = ReadBox(dlg);
        CheckEq(box.text, kUsage, "usage text");
        CheckEq(box.title, "Korvalin", "usage title");
        Check(box.buttons == std::vector<int>{IDOK}, "only an OK button",
              std::to_string(box.buttons.size()) + " buttons");
        Check(GetWindow(dlg, GW_OWNER) == nullptr, "box has no owner window");
        Check(AnyWindow(s.run.kvPid, "TfomMain") == nullptr, "no main window is created");
        s.Answer(IDOK);
        CheckExit(s, "korvalin ends after OK", -1);
        Check(!Exists(s.run.ini), "no ini file is written");
        Check(!Exists(s.run.dir + "Templates"), "no template folder is created");
    }
}

// The main window as it comes up on a first run, and its ini file after Escape.
void CaseWindow() {
    const struct {
        const char* name;
        std::vector<std::string> fmArgs;
        bool onlyDir;
    } rows[] = {
        {"panel folder", {}, false},
        {"OnlyDir selected folder", {"--onlydir", "--select", "old folder"}, true},
    };
    const struct {
        int id;
        const char* text;
        const char* at;  // in the client area
    } buttons[] = {{101, "设置(&S)", "4,83 64x21"}, {102, "命名(&N)", "84,83 64x21"}, {IDOK, "确定", "220,83 64x21"},
                   {IDCANCEL, "取消", "300,83 64x21"}};
    for (const auto& row : rows) {
        g_case = std::string("window/") + row.name;
        Session s;
        if (!s.Open("", row.fmArgs)) continue;
        const std::string caption = std::string("Korvalin - ") + (row.onlyDir ? "OnlyDir - " : "") + s.run.demo;
        Poll([&] { return TextOf(s.main) == caption; }, 3000);
        CheckEq(TextOf(s.main), caption, "caption");
        CheckEq(ClientSize(s.main), "384x111", "client size");
        CheckCentred(Bounds(s.main), "centred on the desktop");
        Check(ClassOf(s.edit) == "Edit" && (GetWindowLongA(s.edit, GWL_STYLE) & ES_MULTILINE),
              "multi-line text box 100", "class " + ClassOf(s.edit));
        CheckEq(s.Text(), "", "text box starts empty");
        // Where the bottom panel puts its buttons: OK and Cancel at its right.
        for (const auto& b : buttons) {
            HWND c = Control(s.main, b.id);
            const std::string name = "button " + std::to_string(b.id);
            if (!Check(c && ClassOf(c) == "Button", name)) continue;
            CheckEq(TextOf(c), b.text, name + " caption");
            CheckEq(RectText(BoundsIn(s.main, c)), b.at, name + " bounds");
        }
        HWND ok = Control(s.main, IDOK);
        Check(ok && (GetWindowLongA(ok, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "OK is the default button");
        Hint hint;
        Poll([&] { return (hint = ReadHint(s.run.kvPid, s.edit)).found; }, 3000);
        if (Check(hint.found, "text box has a tooltip")) {
            Check((hint.flags & (TTF_IDISHWND | TTF_SUBCLASS)) == (TTF_IDISHWND | TTF_SUBCLASS),
                  "tooltip tool is the text box itself", "flags " + std::to_string(hint.flags));
            CheckEq(hint.text, row.onlyDir ? kHintOnlyDir : kHintFiles, "hint text");
        }
        Check(s.Close(), "Escape closes the window");
        CheckExit(s, "korvalin ends");
        std::string text;
        if (Check(ReadAll(s.run.ini, text), "ini file written beside the program"))
            CheckIniEntries(ParseIni(text), FreshIni(s.run.dir));
        Check(IsDir(s.run.dir + "Templates"), "template folder created beside the program");
    }
}

// Saved bounds: restored within the screen and written back at exit.
void CasePosition() {
    const int sw = ScreenW(), sh = ScreenH();
    const struct {
        const char* name;
        int savePos, saveSize, left, top, width, height;
        std::string place, size;  // "": centred, the designed size
    } rows[] = {
        {"restored", 1, 1, 100, 50, 500, 300, "100,50", "500x300"},
        {"negative place", 1, 1, -50, -20, 500, 300, "0,0", "500x300"},
        {"beyond the screen", 1, 1, 5000, 5000, 500, 300, Pair(sw - 500, ",", sh - 300), "500x300"},
        {"larger than the screen", 1, 1, 10, 10, 5000, 5000, "0,0", Pair(sw, "x", sh)},
        {"smaller than the least size", 1, 1, 10, 10, 100, 50, "10,10", "360x100"},
        {"size only", 0, 1, 777, 888, 500, 300, "", "500x300"},
        {"place only", 1, 0, 100, 50, 999, 666, "100,50", ""},
    };
    for (const auto& row : rows) {
        g_case = std::string("position/") + row.name;
        char ini[512];
        snprintf(ini, sizeof ini, "[Window]\r\nSavePos=%d\r\nSaveSize=%d\r\nLeft=%d\r\nTop=%d\r\n"
                 "Width=%d\r\nHeight=%d\r\n", row.savePos, row.saveSize, row.left, row.top, row.width, row.height);
        Session s;
        if (!s.Open(ini)) continue;
        Sleep(150);
        const RECT r = Bounds(s.main);
        const std::string place = Pair(r.left, ",", r.top), size = Pair(r.right - r.left, "x", r.bottom - r.top);
        if (row.size.empty()) CheckEq(ClientSize(s.main), "384x111", "designed size");
        else CheckEq(size, row.size, "size");
        if (row.place.empty()) CheckCentred(r, "centred");
        else CheckEq(place, row.place, "place");
        s.Close();
        CheckExit(s, "korvalin ends");

        const auto saved = ParseIni(FileText(s.run.ini));
        auto value = [&](const char* key) { return IniValueOf(saved, "Window", key); };
        // Saved bounds are the window's at exit; unsaved ones stay as they were.
        CheckEq(value("Left") + "," + value("Top"), row.savePos ? place : Pair(row.left, ",", row.top),
                row.savePos ? "place written back" : "Left and Top left untouched");
        CheckEq(value("Width") + "x" + value("Height"), row.saveSize ? size : Pair(row.width, "x", row.height),
                row.saveSize ? "size written back" : "Width and Height left untouched");
        CheckEq(value("SavePos") + "," + value("SaveSize"), Pair(row.savePos, ",", row.saveSize), "switches kept");
        Check(Find(saved, "Naming", "TimeFormat") != nullptr, "the other sections are written");
    }
}

// An ini file that cannot be written: an error box at exit, the file kept.
void CaseReadOnly() {
    g_case = "readonly";
    Session s;
    const std::string old = "[Window]\r\nSavePos=1\r\nLeft=120\r\nTop=80\r\n";
    WriteAll(s.run.ini, old);
    std::string why = SetImmutable(s.run.ini, true);
    if (!Check(why.empty(), "ini file made unwritable", why)) return;
    if (s.Open()) {
        s.Press(VK_ESCAPE);
        HWND dlg = s.WaitBox();
        if (Check(dlg != nullptr, "error box at exit")) {
            Box box = ReadBox(dlg);
            CheckEq(box.text, "Unable to write to " + s.run.ini, "error text");
            s.Answer(box.buttons.empty() ? IDOK : box.buttons.front());
        }
        CheckExit(s, "korvalin ends");
    }
    s.run.Stop();
    SetImmutable(s.run.ini, false);
    CheckEq(FileText(s.run.ini), old, "ini file unchanged");
}

// Start-up cost: process start to a visible window, Korvalin against a bare
// Win32 program built the same way, and against the same bare program with
// Korvalin's manifest and libraries (what any such program pays), in
// interleaved rounds. Reported, not judged. A benchmark build of Korvalin
// leaves its start-up stamps beside itself; their medians are reported too.
void CaseStartupTime(int reps) {
    g_case = "startup-time";
    // Korvalin wants a foreground window and a focused control, as the file
    // manager provides: a small panel of our own.
    HWND panel = CreateWindowA("LISTBOX", "kvtest", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(panel);
    SetFocus(panel);
    Run run;
    auto pump = [] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    };
    struct Series {
        std::string name, exe;
        const char* cls;
        std::string args;
        std::vector<double> times;
        std::vector<std::string> stages;         // stamp names, in order
        std::vector<std::vector<double>> stamps;  // ms since CreateProcess
        std::string StampsFile() const { return exe.substr(0, exe.size() - 4) + ".stamps"; }
    };
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    auto once = [&](const Series& p) -> double {
        PROCESS_INFORMATION pi;
        QueryPerformanceCounter(&t0);
        if (!StartProcess(Quote(p.exe) + (p.args.empty() ? "" : " " + p.args), run.dir.c_str(), pi)) return -1;
        HWND h = nullptr;
        for (DWORD start = GetTickCount(); !(h = VisibleWindow(pi.dwProcessId, p.cls)) &&
                                           GetTickCount() - start < 15000 &&
                                           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
             Sleep(1))
            pump();
        QueryPerformanceCounter(&t1);
        if (h) PostMessageA(h, WM_CLOSE, 0, 0);
        for (DWORD s = GetTickCount(); GetTickCount() - s < 10000 &&
             MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0;)
            pump();
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        return h ? (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart : -1;
    };
    auto median = [](std::vector<double> v) {
        if (v.empty()) return -1.0;
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    // The baselines start from the same folder as Korvalin's copy; a
    // benchmark build brings Korvalin without the themed controls too.
    std::vector<Series> progs = {{"korvalin.exe", run.exe, "TfomMain", Quote(run.demo), {}, {}, {}}};
    for (const char* b : {"barewin.exe", "barewin-themed.exe", "korvalin-classic.exe"}) {
        const bool classic = b[0] == 'k';
        if (!CopyFileA((g_bin + b).c_str(), (run.dir + b).c_str(), FALSE)) continue;
        progs.push_back({b, run.dir + b, classic ? "TfomMain" : "BareWin", classic ? Quote(run.demo) : "", {}, {}, {}});
    }
    auto readStamps = [&](Series& p) {
        std::string text = FileText(p.StampsFile());
        DeleteFileA(p.StampsFile().c_str());
        size_t i = 0;
        for (const auto& l : Lines(text)) {
            char what[64];
            long long ticks = 0, freq = 0;
            if (sscanf(l.c_str(), "STAMP %63[^0-9] %lld %lld", what, &ticks, &freq) != 3 || freq <= 0) continue;
            std::string w = what;
            while (!w.empty() && w.back() == ' ') w.pop_back();
            if (i == p.stages.size()) {
                p.stages.push_back(w);
                p.stamps.emplace_back();
            }
            if (p.stages[i] == w) p.stamps[i].push_back((ticks - t0.QuadPart) * 1000.0 / freq);
            ++i;
        }
    };

    for (Series& p : progs) {  // warm-up: Korvalin's first run also writes the ini
        once(p);
        DeleteFileA(p.StampsFile().c_str());
    }
    for (int i = 0; i < reps; ++i)
        for (Series& p : progs) {
            double ms = once(p);
            readStamps(p);
            if (ms >= 0) p.times.push_back(ms);
        }
    DestroyWindow(panel);
    double bare = progs.size() > 1 ? median(progs[1].times) : -1;
    char line[512];
    for (Series& p : progs) {
        double m = median(p.times);
        snprintf(line, sizeof line, "TIME start-up to visible window, median of %u interleaved: %s %.1f ms, ratio %.2f",
                 (unsigned)p.times.size(), p.name.c_str(), m, bare > 0 ? m / bare : 0.0);
        Print(line);
    }
    for (Series& p : progs) {
        std::string l = "TIME stamps of " + p.name + " (median ms since CreateProcess):";
        for (size_t i = 0; i < p.stages.size(); ++i) {
            snprintf(line, sizeof line, " %s %.1f", p.stages[i].c_str(), median(p.stamps[i]));
            l += line;
        }
        if (!p.stages.empty()) Print(l);
    }
}

// The demonstration session on the given folder: type the names into
// Korvalin's box and confirm. Between typing and confirming it prints SHOT
// and, when asked, waits for the flag file, so that a screenshot can be
// taken. Interactive, it types nothing and follows the box until the window
// closes. Either way it prints the window's caption (WINDOW), the box's last
// lines (LINE, one each), every message box (BOX) and Korvalin's exit code.
int Demo(const std::string& folder, const std::string& log, const std::vector<std::string>& names,
         const std::string& shotFlag, bool interactive) {
    g_case = "demo";
    Session s(folder, g_korvalin, log);
    if (interactive) s.run.fmTimeout = 24 * 3600 * 1000;  // the user takes their time
    if (!s.Open()) return 1;
    Print("WINDOW " + TextOf(s.main));
    std::string box;
    if (interactive) {
        // The box as it was last seen before the window went away.
        while (!s.run.KorvalinEnded(50))
            if (IsWindowVisible(s.main)) box = s.Text();
    } else {
        TypeLines(s, names);
        box = s.Text();
    }
    for (const auto& l : Lines(box)) Print("LINE " + l);
    if (!interactive) {
        Print("SHOT");
        if (!shotFlag.empty()) Poll([&] { return Exists(shotFlag); }, 30000);
        s.Confirm();
        // A name that cannot be created brings a question whether to go on: yes.
        while (HWND question = s.WaitBox()) {
            Print("BOX " + Show(ReadBox(question).text));
            if (!s.Answer(GetDlgItem(question, IDYES) ? IDYES : IDOK)) break;
        }
    }
    int code = 0;
    if (!Check(s.run.ExitCode(code, interactive ? INFINITE : 20000), "Korvalin ends")) return 1;
    Print("EXIT " + std::to_string(code));
    return code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string only, demoDir, demoLog, shotFlag, release;
    std::vector<std::string> names;
    bool list = false, interactive = false;
    // Open the display connection before any case starts a host program
    // (chattr): when the first display call came after one, it hung under Wine.
    ReleaseDC(nullptr, GetDC(nullptr));
    // The pointer in a corner that no window covers: a window shown or
    // closed under it sends an EnterNotify, and with it a KeymapNotify
    // (see SettledChord).
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    g_bin = Dir(self);
    g_korvalin = g_bin + "korvalin.exe";
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    g_root = std::string(tmp) + "kvtest-" + std::to_string(GetCurrentProcessId()) + "\\";
    std::string reps = "10";
    const struct {
        const char* name;
        std::string* value;
    } options[] = {{"--root", &g_root},       {"--korvalin", &g_korvalin}, {"--case", &only},
                   {"--reps", &reps},         {"--release", &release},
                   {"--demo", &demoDir},      {"--log", &demoLog},         {"--shot-flag", &shotFlag}};
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto o = std::find_if(std::begin(options), std::end(options), [&](const auto& o) { return a == o.name; });
        if (o != std::end(options) && i + 1 < argc) *o->value = argv[++i];
        else if (a == "--type" && i + 1 < argc) names.push_back(argv[++i]);
        else if (a == "--list") list = true;
        else if (a == "--interactive") interactive = true;
        else {
            fprintf(stderr,
                    "usage: kvtest [--root dir] [--korvalin exe] [--case group] [--list] [--reps n]\n"
                    "              [--release unpacked-folder]\n"
                    "       kvtest --demo folder [--log file] [--type name]... [--shot-flag file]\n"
                    "              [--interactive]\n");
            return 2;
        }
    }
    if (!demoDir.empty()) return Demo(demoDir, demoLog.empty() ? Dir(g_korvalin) + "fakefm.log" : demoLog,
                                      names, shotFlag, interactive);
    if (!g_root.empty() && g_root.back() != '\\') g_root += '\\';
    const struct {
        const char* name;
        std::function<void()> run;
    } groups[] = {
        {"codepage", CaseCodePage}, {"usage", CaseUsage}, {"window", CaseWindow}, {"position", CasePosition},
        {"readonly", CaseReadOnly}, {"initlist", CaseInitListGroup},
        {"lines", CaseLinesGroup}, {"templates", CaseTemplatesGroup}, {"questions", CaseQuestionsGroup},
        {"bad-input", CaseBadInputGroup}, {"long-names", CaseLongNamesGroup},
        {"config", CaseConfigGroup}, {"focus", CaseFocusGroup}, {"tab", CaseTabGroup}, {"paste", CasePasteGroup},
        {"inisave", CaseIniSaveGroup}, {"inifile", CaseIniFileGroup},
        {"naming", CaseNamingGroup}, {"clock", CaseClockGroup}, {"handback", CaseHandBackGroup},
        {"offpath", CaseOffPathGroup}, {"dpi", CaseDpiGroup},
        {"startup-time", [&] { CaseStartupTime(atoi(reps.c_str())); }},
        {"release", [&] { CaseReleaseGroup(release); }},
    };
    if (list) {
        for (const auto& g : groups) printf("%s\n", g.name);
        return 0;
    }
    auto chosen = [&](const auto& g) { return only.empty() || only == g.name; };
    if (std::none_of(std::begin(groups), std::end(groups), chosen)) {
        fprintf(stderr, "kvtest: no case group %s\n", only.c_str());
        return 2;
    }
    CreateDirectoryA(g_root.c_str(), nullptr);
    if (!IsDir(g_root)) {
        fprintf(stderr, "kvtest: cannot create %s\n", g_root.c_str());
        return 2;
    }
    if (!Exists(g_korvalin)) {
        g_case = "setup";
        Check(false, "korvalin.exe present", g_korvalin);
    } else {
        for (const auto& g : groups)
            if (chosen(g)) g.run();
    }
    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed ? 1 : 0;
}

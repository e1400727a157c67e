// kvtest: drives Korvalin's real window under Windows (or Wine) the way a
// user would, through the stand-in file manager fakefm.exe, and checks what
// the user sees: message boxes, the caption, the hint, the window's size and
// place, and the ini file beside the program. The groups about creating
// (initlist, lines, templates, questions, bad-input) are in kvcreate.cpp,
// the keyboard and ini-save ones (focus, tab, paste, appdir, inisave) in
// kvfocus.cpp, the driver they all use in kvdriver.h.
//
// Every case runs in a fresh folder of its own that holds a copy of
// korvalin.exe, so the ini file beside it belongs to that case alone.
//
//   kvtest.exe [--root <folder>] [--korvalin <exe>] [--case <group>] [--list]
//              [--reps <n>] [--lines <n>]
//   kvtest.exe --demo <folder> [--log <file>] [--type <name>]... [--shot-flag <file>]
//              [--interactive]
//
// --lines sets the number of lines of the many-lines case (default 2000).
// The second form is one demonstration session on <folder> (see Demo).
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
    if (i < n || got.size() != want.size()) {
        Check(false, "ini holds every key in order",
              "entry " + std::to_string(i + 1) + " is " + (i < got.size() ? Show(show(got[i])) : "missing") +
                  ", want " + (i < want.size() ? Show(show(want[i])) : "no more entries"));
        return;
    }
    Check(true, "ini holds every key in order");
    std::string bad;
    for (size_t j = 0; j < n; ++j)
        if (got[j].value != want[j].value)
            bad += (bad.empty() ? "" : "; ") + got[j].key + " is " + Show(got[j].value) + ", want " +
                   Show(want[j].value);
    Check(bad.empty(), "ini values are those in memory", bad);
}

// ------------------------------------------------------------ cases

void CaseCodePage() {
    g_case = "codepage";
    CheckEq((long)GetACP(), 936, "ANSI code page is GBK");
    CheckEq(std::string("确定"), std::string("\xC8\xB7\xB6\xA8"), "literals are GBK bytes");
}

// Started without a path, Korvalin only explains how it is to be started.
void CaseUsage() {
    struct Row {
        const char* name;
        std::vector<std::string> fmArgs;
    };
    const Row rows[] = {
        {"no arguments", {"--noargs"}},
        {"-OnlyDir alone", {"--raw", "-OnlyDir"}},
        {"/ONLYDIR alone", {"--raw", "/ONLYDIR"}},
        // "--onlydir" is no known switch and takes the path as its value.
        {"--onlydir and a path", {"--raw", "--onlydir C:\\work\\a.txt"}},
        {"-x and one path", {"--raw", "-x C:\\work\\"}},
    };
    for (const auto& row : rows) {
        g_case = std::string("usage/") + row.name;
        Run run;
        if (!run.Start(row.fmArgs)) continue;
        HWND dlg = run.WaitBox();
        if (!Check(dlg != nullptr, "usage message box appears")) continue;
        Box box = ReadBox(dlg);
        CheckEq(box.text, kUsage, "usage text");
        CheckEq(box.title, "Korvalin", "usage title");
        Check(box.buttons == std::vector<int>{IDOK}, "only an OK button",
              std::to_string(box.buttons.size()) + " buttons");
        Check(GetWindow(dlg, GW_OWNER) == nullptr, "box has no owner window");
        Check(AnyWindow(run.kvPid, "TfomMain") == nullptr, "no main window is created");
        Press(dlg, IDOK);
        int code = 0;
        if (Check(run.ExitCode(code), "korvalin ends after OK")) CheckEq(code, -1, "exit code");
        Check(!Exists(run.ini), "no ini file is written");
        Check(!Exists(run.dir + "Templates"), "no template folder is created");
    }
}

// The main window as it comes up on a first run, and its ini file after Escape.
void CaseWindow() {
    struct Row {
        const char* name;
        std::vector<std::string> fmArgs;
        bool onlyDir;
    };
    const Row rows[] = {
        {"panel folder", {}, false},
        {"selected items", {"--select", "a.txt", "--select", "b c.txt"}, false},
        {"OnlyDir panel folder", {"--onlydir"}, true},
        {"OnlyDir selected folder", {"--onlydir", "--select", "old folder"}, true},
    };
    for (const auto& row : rows) {
        g_case = std::string("window/") + row.name;
        Run run;
        if (!run.Start(row.fmArgs)) continue;
        HWND main = run.WaitMain();
        if (!Check(main != nullptr, "main window appears",
                   VisibleWindow(run.kvPid, "#32770") ? "a message box came instead: " +
                       Show(ReadBox(VisibleWindow(run.kvPid, "#32770")).text) : "")) continue;

        const std::string caption =
            std::string("Korvalin - ") + (row.onlyDir ? "OnlyDir - " : "") + run.demo;
        Poll([&] { return TextOf(main) == caption; }, 3000);
        CheckEq(TextOf(main), caption, "caption");

        RECT client = {};
        GetClientRect(main, &client);
        CheckEq(std::to_string(client.right) + "x" + std::to_string(client.bottom), "384x111", "client size");
        RECT r = Bounds(main);
        const int w = r.right - r.left, h = r.bottom - r.top;
        const int cx = (GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2;
        const int cy = (GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2;
        Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, "centred on the desktop",
              "at " + RectText(r) + ", want left " + std::to_string(cx) + " top " + std::to_string(cy));

        HWND edit = Control(main, 100);
        Check(edit && ClassOf(edit) == "Edit" && (GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE),
              "multi-line text box 100", edit ? "class " + ClassOf(edit) : "missing");
        if (edit) CheckEq(TextOf(edit), "", "text box starts empty");
        struct Btn {
            int id;
            const char* text;
        };
        for (const Btn& b : {Btn{101, "设置(&S)"}, Btn{102, "命名(&N)"}, Btn{IDOK, "确定"}, Btn{IDCANCEL, "取消"}}) {
            HWND c = Control(main, b.id);
            if (!Check(c && ClassOf(c) == "Button", "button " + std::to_string(b.id))) continue;
            CheckEq(TextOf(c), b.text, "button " + std::to_string(b.id) + " caption");
        }
        if (HWND ok = Control(main, IDOK))
            Check((GetWindowLongA(ok, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "OK is the default button");

        if (edit) {
            Hint hint;
            Poll([&] { return (hint = ReadHint(run.kvPid, edit)).found; }, 3000);
            if (Check(hint.found, "text box has a tooltip")) {
                Check((hint.flags & (TTF_IDISHWND | TTF_SUBCLASS)) == (TTF_IDISHWND | TTF_SUBCLASS),
                      "tooltip tool is the text box itself", "flags " + std::to_string(hint.flags));
                CheckEq(hint.text, row.onlyDir ? kHintOnlyDir : kHintFiles, "hint text");
            }
            Key(edit, VK_ESCAPE);
        }
        Check(run.KorvalinEnded(10000), "Escape closes the window");
        int code = 0;
        if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
        std::string text;
        if (Check(ReadAll(run.ini, text), "ini file written beside the program"))
            CheckIniEntries(ParseIni(text), FreshIni(run.dir));
        Check(IsDir(run.dir + "Templates"), "template folder created beside the program");
    }
}

// Saved bounds: restored within the screen and written back at exit.
void CasePosition() {
    const int sw = ScreenW(), sh = ScreenH();
    struct Row {
        const char* name;
        int savePos, saveSize, left, top, width, height;
        int wantLeft, wantTop, wantW, wantH;  // -1: centred / the designed size
    };
    const Row rows[] = {
        {"restored", 1, 1, 100, 50, 500, 300, 100, 50, 500, 300},
        {"negative place", 1, 1, -50, -20, 500, 300, 0, 0, 500, 300},
        {"beyond the screen", 1, 1, 5000, 5000, 500, 300, sw - 500, sh - 300, 500, 300},
        {"larger than the screen", 1, 1, 10, 10, 5000, 5000, 0, 0, sw, sh},
        {"size only", 0, 1, 777, 888, 500, 300, -1, -1, 500, 300},
        {"place only", 1, 0, 100, 50, 999, 666, 100, 50, -1, -1},
    };
    for (const auto& row : rows) {
        g_case = std::string("position/") + row.name;
        Run run;
        char ini[512];
        snprintf(ini, sizeof ini,
                 "[Window]\r\nSavePos=%d\r\nSaveSize=%d\r\nLeft=%d\r\nTop=%d\r\nWidth=%d\r\nHeight=%d\r\n",
                 row.savePos, row.saveSize, row.left, row.top, row.width, row.height);
        WriteAll(run.ini, ini);
        if (!run.Start({})) continue;
        HWND main = run.WaitMain();
        if (!Check(main != nullptr, "main window appears")) continue;
        Sleep(300);
        RECT r = Bounds(main);
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (row.wantW >= 0)
            CheckEq(std::to_string(w) + "x" + std::to_string(h),
                    std::to_string(row.wantW) + "x" + std::to_string(row.wantH), "size");
        else {
            RECT c = {};
            GetClientRect(main, &c);
            CheckEq(std::to_string(c.right) + "x" + std::to_string(c.bottom), "384x111", "designed size");
        }
        if (row.wantLeft >= 0)
            CheckEq(std::to_string(r.left) + "," + std::to_string(r.top),
                    std::to_string(row.wantLeft) + "," + std::to_string(row.wantTop), "place");
        else {
            const int cx = (GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2;
            const int cy = (GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2;
            Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, "centred",
                  "at " + RectText(r) + ", want " + std::to_string(cx) + "," + std::to_string(cy));
        }
        if (HWND edit = Control(main, 100)) Key(edit, VK_ESCAPE);
        else PostMessageA(main, WM_CLOSE, 0, 0);
        int code = 0;
        if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");

        std::string text;
        ReadAll(run.ini, text);
        auto ini2 = ParseIni(text);
        auto value = [&](const char* key) {
            const IniEntry* e = Find(ini2, "Window", key);
            return e ? e->value : std::string("(missing)");
        };
        // Saved bounds are the window's at exit; unsaved ones stay as they were.
        CheckEq(value("Left") + "," + value("Top"),
                row.savePos ? std::to_string(r.left) + "," + std::to_string(r.top)
                            : std::to_string(row.left) + "," + std::to_string(row.top),
                row.savePos ? "place written back" : "Left and Top left untouched");
        CheckEq(value("Width") + "x" + value("Height"),
                row.saveSize ? std::to_string(w) + "x" + std::to_string(h)
                             : std::to_string(row.width) + "x" + std::to_string(row.height),
                row.saveSize ? "size written back" : "Width and Height left untouched");
        CheckEq(value("SavePos") + "," + value("SaveSize"),
                std::to_string(row.savePos) + "," + std::to_string(row.saveSize), "switches kept");
        Check(Find(ini2, "Naming", "TimeFormat") != nullptr, "the other sections are written");
    }
}

// An ini file that cannot be written: an error box at exit, the file kept.
void CaseReadOnly() {
    g_case = "readonly";
    Run run;
    const std::string old = "[Window]\r\nSavePos=1\r\nLeft=120\r\nTop=80\r\n";
    WriteAll(run.ini, old);
    std::string why = SetImmutable(run.ini, true);
    if (!Check(why.empty(), "ini file made unwritable", why)) return;
    if (run.Start({})) {
        HWND main = run.WaitMain();
        if (Check(main != nullptr, "main window appears")) {
            if (HWND edit = Control(main, 100)) Key(edit, VK_ESCAPE);
            else PostMessageA(main, WM_CLOSE, 0, 0);
            HWND dlg = run.WaitBox(10000);
            if (Check(dlg != nullptr, "error box at exit")) {
                Box box = ReadBox(dlg);
                CheckEq(box.text, "Unable to write to " + run.ini, "error text");
                Press(dlg, box.buttons.empty() ? IDOK : box.buttons.front());
            }
            int code = 0;
            if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
        }
    }
    run.Stop();
    SetImmutable(run.ini, false);
    std::string now;
    ReadAll(run.ini, now);
    CheckEq(now, old, "ini file unchanged");
}

// The main job: names typed into the box are created in the panel's folder.
void CaseCreate() {
    struct Row {
        const char* name;
        std::vector<std::string> fmArgs;
        std::string typed;
        std::vector<std::string> files, folders;  // relative to the panel folder
    };
    const Row rows[] = {
        {"file and folder", {}, "notes.txt\rdocs\\", {"notes.txt"}, {"docs"}},
        {"slash folder and nested file", {}, "sub/\rsub\\inner.md", {"sub\\inner.md"}, {"sub"}},
        {"OnlyDir", {"--onlydir"}, "plain\rwith.dot", {}, {"plain", "with.dot"}},
    };
    for (const auto& row : rows) {
        g_case = std::string("create/") + row.name;
        Run run;
        if (!run.Start(row.fmArgs)) continue;
        HWND main = run.WaitMain();
        HWND edit = main ? Control(main, 100) : nullptr;
        if (!Check(edit != nullptr, "text box appears")) continue;
        Type(edit, row.typed);
        Poll([&] { return TextOf(edit).size() >= row.typed.size(); }, 3000);
        Key(edit, VK_RETURN);
        Check(run.KorvalinEnded(10000), "Enter confirms and closes the window");
        int code = 0;
        if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
        for (const auto& f : row.files) {
            std::string p = run.demo + f, data = "?";
            Check(Exists(p) && !IsDir(p) && ReadAll(p, data) && data.empty(), "empty file " + f);
        }
        for (const auto& d : row.folders) Check(IsDir(run.demo + d), "folder " + d);
    }
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
    LARGE_INTEGER f, t0;
    QueryPerformanceFrequency(&f);
    auto once = [&](const std::string& exe, const char* cls, const std::string& args) -> double {
        std::string cmd = Quote(exe) + (args.empty() ? "" : " " + args);
        std::vector<char> buf(cmd.begin(), cmd.end());
        buf.push_back(0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        LARGE_INTEGER t1;
        QueryPerformanceCounter(&t0);
        if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, run.dir.c_str(), &si, &pi))
            return -1;
        HWND h = nullptr;
        DWORD start = GetTickCount();
        while (!(h = VisibleWindow(pi.dwProcessId, cls)) && GetTickCount() - start < 15000 &&
               WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            pump();
            Sleep(1);
        }
        QueryPerformanceCounter(&t1);
        double ms = h ? (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart : -1;
        if (h) PostMessageA(h, WM_CLOSE, 0, 0);
        for (DWORD s = GetTickCount(); GetTickCount() - s < 10000;) {
            if (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
            pump();
        }
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return ms;
    };
    auto median = [](std::vector<double> v) {
        if (v.empty()) return -1.0;
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    struct Series {
        std::string name, exe;
        const char* cls;
        std::string args;
        std::vector<double> times;
        std::vector<std::string> stages;         // stamp names, in order
        std::vector<std::vector<double>> stamps;  // ms since CreateProcess
    };
    // The baselines start from the same folder as Korvalin's copy.
    std::vector<Series> progs = {{"korvalin.exe", run.exe, "TfomMain", Quote(run.demo), {}, {}, {}}};
    for (const char* b : {"barewin.exe", "barewin-themed.exe"})
        if (CopyFileA((g_bin + b).c_str(), (run.dir + b).c_str(), FALSE))
            progs.push_back({b, run.dir + b, "BareWin", "", {}, {}, {}});
    // A benchmark build brings Korvalin without the themed controls too.
    if (CopyFileA((g_bin + "korvalin-classic.exe").c_str(), (run.dir + "korvalin-classic.exe").c_str(), FALSE))
        progs.push_back({"korvalin-classic.exe", run.dir + "korvalin-classic.exe", "TfomMain", Quote(run.demo), {}, {}, {}});
    // A benchmark build leaves its stamps beside the program.
    auto readStamps = [&](Series& p) {
        std::string text, path = p.exe.substr(0, p.exe.size() - 4) + ".stamps";
        if (!ReadAll(path, text)) return;
        DeleteFileA(path.c_str());
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
        once(p.exe, p.cls, p.args);
        DeleteFileA((p.exe.substr(0, p.exe.size() - 4) + ".stamps").c_str());
    }
    for (int i = 0; i < reps; ++i)
        for (Series& p : progs) {
            double ms = once(p.exe, p.cls, p.args);
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
    Run run(folder, g_korvalin, log);
    if (interactive) run.fmTimeout = 24 * 3600 * 1000;  // the user takes their time
    if (!run.Start({})) return 1;
    HWND main = run.WaitMain();
    HWND edit = main ? Control(main, 100) : nullptr;
    if (!Check(edit != nullptr, "Korvalin's window appears")) return 1;
    Poll([&] { return TextOf(main).find(" - ") != std::string::npos; }, 3000);
    Print("WINDOW " + TextOf(main));
    std::string box;
    if (interactive) {
        // The box as it was last seen before the window went away.
        while (!run.KorvalinEnded(50))
            if (IsWindowVisible(main)) box = TextOf(edit);
    } else {
        std::string typed;
        for (const auto& n : names) typed += (typed.empty() ? "" : "\r") + n;
        Type(edit, typed);
        Poll([&] { return TextOf(edit).size() >= typed.size(); }, 3000);
        box = TextOf(edit);
    }
    for (const auto& l : Lines(box)) Print("LINE " + l);
    if (!interactive) {
        Print("SHOT");
        if (!shotFlag.empty()) Poll([&] { return Exists(shotFlag); }, 30000);
        Key(edit, VK_RETURN);
        // A name that cannot be created brings a question whether to go on: yes.
        HWND question = nullptr;
        std::vector<HWND> seen;
        while ((question = run.WaitBox(10000)) &&
               std::find(seen.begin(), seen.end(), question) == seen.end()) {
            seen.push_back(question);
            Box b = ReadBox(question);
            Print("BOX " + Show(b.text));
            Press(question, GetDlgItem(question, IDYES) ? IDYES : IDOK);
            Poll([&] { return !IsWindow(question); }, 5000);
        }
    }
    int code = 0;
    if (!Check(run.ExitCode(code, interactive ? INFINITE : 20000), "Korvalin ends")) return 1;
    Print("EXIT " + std::to_string(code));
    return code == 0 ? 0 : 1;
}

struct Group {
    const char* name;
    std::function<void()> run;
};

}  // namespace

int main(int argc, char** argv) {
    std::string only, demoDir, demoLog, shotFlag, release;
    std::vector<std::string> names;
    int reps = 10;
    int manyLines = 2000;
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
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--root" && i + 1 < argc) g_root = argv[++i];
        else if (a == "--korvalin" && i + 1 < argc) g_korvalin = argv[++i];
        else if (a == "--case" && i + 1 < argc) only = argv[++i];
        else if (a == "--reps" && i + 1 < argc) reps = atoi(argv[++i]);
        else if (a == "--lines" && i + 1 < argc) manyLines = atoi(argv[++i]);
        else if (a == "--list") list = true;
        else if (a == "--release" && i + 1 < argc) release = argv[++i];
        else if (a == "--demo" && i + 1 < argc) demoDir = argv[++i];
        else if (a == "--log" && i + 1 < argc) demoLog = argv[++i];
        else if (a == "--type" && i + 1 < argc) names.push_back(argv[++i]);
        else if (a == "--shot-flag" && i + 1 < argc) shotFlag = argv[++i];
        else if (a == "--interactive") interactive = true;
        else {
            fprintf(stderr,
                    "usage: kvtest [--root dir] [--korvalin exe] [--case group] [--list] [--reps n]\n"
                    "              [--lines n] [--release unpacked-folder]\n"
                    "       kvtest --demo folder [--log file] [--type name]... [--shot-flag file]\n"
                    "              [--interactive]\n");
            return 2;
        }
    }
    if (!demoDir.empty()) return Demo(demoDir, demoLog.empty() ? Dir(g_korvalin) + "fakefm.log" : demoLog,
                                      names, shotFlag, interactive);
    if (!g_root.empty() && g_root.back() != '\\') g_root += '\\';
    const Group groups[] = {
        {"codepage", CaseCodePage},  {"usage", CaseUsage},       {"window", CaseWindow},
        {"position", CasePosition},  {"readonly", CaseReadOnly}, {"create", CaseCreate},
        {"initlist", CaseInitListGroup}, {"lines", CaseLinesGroup},   {"templates", CaseTemplatesGroup},
        {"questions", CaseQuestionsGroup},
        {"bad-input", [&] { CaseBadInputGroup(manyLines); }},
        {"long-names", CaseLongNamesGroup},
        {"config", CaseConfigGroup},
        {"focus", CaseFocusGroup},   {"tab", CaseTabGroup},       {"paste", CasePasteGroup},
        {"appdir", CaseAppDirGroup}, {"inisave", CaseIniSaveGroup},
        {"inifile", CaseIniFileGroup},
        {"naming", CaseNamingGroup}, {"clock", CaseClockGroup},
        {"handback", CaseHandBackGroup},
        {"offpath", CaseOffPathGroup},
        {"dpi", CaseDpiGroup},
        {"startup-time", [&] { CaseStartupTime(reps); }},
        {"release", [&] { CaseReleaseGroup(release); }},
    };
    if (list) {
        for (const auto& g : groups) printf("%s\n", g.name);
        return 0;
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
        bool any = false;
        for (const auto& g : groups)
            if (only.empty() || only == g.name) {
                any = true;
                g.run();
            }
        if (!any) {
            fprintf(stderr, "kvtest: no case group %s\n", only.c_str());
            return 2;
        }
    }
    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed ? 1 : 0;
}

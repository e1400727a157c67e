// The driver shared by the Wine cases: one run of Korvalin through the
// stand-in file manager, and the session a case drives it with.
#pragma once
#include "kvwindows.h"

namespace kv {

inline std::string g_bin;       // folder of kvtest.exe, fakefm.exe, barewin.exe
inline std::string g_korvalin;  // the korvalin.exe under test
inline std::string g_root;      // where the case folders go
inline int g_caseNo = 0;

// The host path of `name` in the build folder: the one above kvtest.exe's.
inline std::string BuildFile(const std::string& name) {
    std::string build = UnixPath(g_bin);
    if (build.size() > 1 && build.back() == '/') build.pop_back();
    return build.substr(0, build.find_last_of('/') + 1) + name;
}

// Saves the whole virtual screen as a PNG file on the host (`unixPath`).
inline bool Screenshot(const std::string& unixPath) {
    std::string win = "Z:" + unixPath;
    std::replace(win.begin(), win.end(), '/', '\\');
    DeleteFileA(win.c_str());
    Sleep(500);  // what was just shown has painted
    if (!StartHostProgram("Z:\\usr\\bin\\import -window root " + Quote(unixPath))) return false;
    DWORD last = (DWORD)-1;
    return Poll([&] {
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (!GetFileAttributesExA(win.c_str(), GetFileExInfoStandard, &a) || !a.nFileSizeLow) return false;
        bool steady = a.nFileSizeLow == last;
        last = a.nFileSizeLow;
        return steady;
    }, 15000);
}

// ------------------------------------------------------------ one session

// One run of Korvalin, started by the stand-in file manager on a demo
// folder, in a fresh case folder with its own copy of korvalin.exe.
struct Run {
    std::string dir;   // case folder, with trailing backslash
    std::string exe;   // korvalin.exe in it
    std::string ini;   // the ini file beside it
    std::string demo;  // the panel's folder, with trailing backslash
    std::string log;   // fakefm's log
    HANDLE fm = nullptr, kv = nullptr;
    DWORD kvPid = 0;
    DWORD fmTimeout = 60000;  // fakefm stops Korvalin after this many ms

    // A run on a given panel folder and program, outside the case folders.
    Run(const std::string& panel, const std::string& program, const std::string& logFile)
        : dir(Dir(program)), exe(program), ini(program.substr(0, program.size() - 4) + ".ini"),
          demo(panel), log(logFile) {
        if (!demo.empty() && demo.back() != '\\') demo += '\\';
    }

    Run() {
        char name[32];
        snprintf(name, sizeof name, "%02d-", ++g_caseNo);
        std::string tag = g_case;
        std::replace(tag.begin(), tag.end(), '/', '-');
        std::replace(tag.begin(), tag.end(), ' ', '_');
        dir = g_root + name + tag + "\\";
        exe = dir + "korvalin.exe";
        ini = dir + "korvalin.ini";
        log = dir + "fakefm.log";
        demo = dir + "demo\\";
        for (const std::string& d : {dir, demo, demo + "old folder"}) CreateDirectoryA(d.c_str(), nullptr);
        WriteAll(demo + "a.txt", "alpha\r\n");
        WriteAll(demo + "b c.txt", "");
        if (!CopyFileA(g_korvalin.c_str(), exe.c_str(), FALSE))
            Check(false, "copy korvalin.exe", "error " + std::to_string(GetLastError()));
    }

    ~Run() { Stop(); }

    // fakefm's log lines of `tag` (the tag alone, or with a blank and a
    // value), each without the tag.
    std::vector<std::string> Logged(const std::string& tag) const {
        std::string t;
        ReadAll(log, t);
        std::vector<std::string> r;
        for (const auto& l : Lines(t))
            if (l == tag) r.push_back("");
            else if (l.compare(0, tag.size() + 1, tag + " ") == 0) r.push_back(l.substr(tag.size() + 1));
        return r;
    }

    std::string LogValue(const std::string& tag) const {
        std::vector<std::string> v = Logged(tag);
        return v.empty() ? "" : v.front();
    }

    bool Start(const std::vector<std::string>& fmArgs) {
        std::string cmd = Quote(g_bin + "fakefm.exe") + " --dir " + Quote(demo.substr(0, demo.size() - 1)) +
                          " --exe " + Quote(exe) + " --log " + Quote(log) + " --timeout " + std::to_string(fmTimeout);
        for (const auto& a : fmArgs) cmd += " " + Quote(a);
        PROCESS_INFORMATION pi;
        if (!StartProcess(cmd, dir.c_str(), pi, 3))
            return Check(false, "start fakefm.exe", "error " + std::to_string(GetLastError()));
        fm = pi.hProcess;
        if (!Poll([&] { return !LogValue("PID").empty() || !LogValue("STARTFAILED").empty(); }, 15000))
            return Check(false, "fakefm starts korvalin.exe", "no PID in its log");
        kvPid = strtoul(LogValue("PID").c_str(), nullptr, 10);
        if (!kvPid) return Check(false, "fakefm starts korvalin.exe", "STARTFAILED " + LogValue("STARTFAILED"));
        kv = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, kvPid);
        return true;
    }

    bool KorvalinEnded(DWORD ms) { return !kv || WaitForSingleObject(kv, ms) == WAIT_OBJECT_0; }

    // Korvalin's exit code, as fakefm saw it; false when it did not end.
    bool ExitCode(int& code, DWORD ms = 10000) {
        std::string v = fm && WaitForSingleObject(fm, ms) == WAIT_OBJECT_0 ? LogValue("EXIT") : "";
        if (!v.empty()) code = atoi(v.c_str());
        return !v.empty();
    }

    // Korvalin stopped at once, the panel given time to write its last lines.
    void Stop() {
        for (auto [h, ms] : {std::pair<HANDLE*, DWORD>{&kv, 0}, {&fm, 5000}}) {
            if (!*h) continue;
            if (WaitForSingleObject(*h, ms) != WAIT_OBJECT_0) TerminateProcess(*h, 99);
            CloseHandle(*h);
            *h = nullptr;
        }
    }
};

// Lines as the text box holds them: joined by CR LF, none after the last.
inline std::string Join(const std::vector<std::string>& lines, const char* sep = "\r\n") {
    std::string r;
    for (size_t i = 0; i < lines.size(); ++i) r += (i ? sep : "") + lines[i];
    return r;
}

// What a user does with one Korvalin window: the stand-in file manager
// starts it on the case's panel folder, the window comes up with the
// activation and the keyboard focus, lines go into the text box, keys go
// through the input queue into whatever has the focus, a message box is
// answered, and the window is closed. Every case file drives Korvalin
// through this, so that all wait for the same things.
struct Session {
    Run run;
    HWND main = nullptr, edit = nullptr;

    Session() = default;
    Session(const std::string& panel, const std::string& program, const std::string& log)
        : run(panel, program, log) {}

    // Waits up to `ms` for Korvalin's visible top window of class `cls`;
    // null at once when Korvalin has ended.
    HWND WaitWindow(const char* cls, DWORD ms) const {
        HWND h = nullptr;
        Poll([&] { return (h = VisibleWindow(run.kvPid, cls)) != nullptr || !run.kv ||
                          WaitForSingleObject(run.kv, 0) == WAIT_OBJECT_0; }, ms);
        return h;
    }

    // Starts Korvalin, with `ini` written beside it first unless empty, and
    // waits until its show step has put the panel folder into the caption
    // and its thread holds the activation and the focus: a key pressed
    // earlier can be lost, or land in the file manager's window.
    bool Open(const std::string& ini = "", const std::vector<std::string>& fmArgs = {}) {
        if (!ini.empty()) WriteAll(run.ini, ini);
        if (!run.Start(fmArgs)) return false;
        main = WaitWindow("TfomMain", 15000);
        edit = main ? Control(main, 100) : nullptr;
        HWND box = edit ? nullptr : Box();
        if (!Check(edit != nullptr, "main window with its text box appears",
                   box ? "a message box came instead: " + Show(ReadBox(box).text) : ""))
            return false;
        Poll([&] { return TextOf(main).find(" - ") != std::string::npos; }, 3000);
        BringToFront(main);
        Sleep(150);  // the rest of the show step: list, sizing, hint
        return true;
    }

    // The text box's lines, set at once with the caret at their end, as a
    // paste leaves them.
    bool SetLines(const std::string& text) {
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 10000, &r) || !r)
            return false;
        SendMessageTimeoutA(edit, EM_SETSEL, text.size(), text.size(), SMTO_ABORTIFHUNG, 3000, &r);
        return true;
    }
    bool SetLines(const std::vector<std::string>& lines) { return SetLines(Join(lines)); }

    std::string Text() const { return TextOf(edit); }
    bool WaitText(const std::string& want, DWORD ms = 3000) const {
        return Poll([&] { return TextOf(edit) == want; }, ms);
    }

    // A key, with `mods` held, into whatever has the focus in Korvalin's
    // window, which is put in front first.
    void Press(WORD vk, std::initializer_list<WORD> mods = {}) {
        BringToFront(main);
        SendKey(vk, mods);
    }
    // Enter (with `mod` held, when not 0), the key that confirms the lines.
    void Confirm(WORD mod = 0) {
        if (mod) Press(VK_RETURN, {mod});
        else Press(VK_RETURN);
    }

    HWND Box() const { return VisibleWindow(run.kvPid, "#32770"); }
    HWND WaitBox(DWORD ms = 10000) const {
        HWND h = WaitWindow("#32770", ms);
        if (h) Sleep(200);  // its buttons and focus settle
        return h;
    }
    // Clicks button `id` of the box in front and waits until it is gone.
    bool Answer(int id, DWORD ms = 10000) {
        HWND box = WaitBox(ms);
        if (!box) return false;
        kv::Press(box, id);
        return Poll([&] { return !IsWindow(box); }, 5000);
    }

    HWND Popup() const { return VisibleWindow(run.kvPid, "#32768"); }

    // Alt+N with the window in front; true once the naming menu shows.
    bool OpenMenu() {
        BringToFront(main);
        Keys({'N'}, true);
        return Poll([&] { return Popup() != nullptr; }, 3000);
    }
    // Opens the naming menu, walks it with `keys` and waits until the
    // lines change; false when they do not.
    bool Apply(const std::vector<WORD>& keys, const std::string& what) {
        std::string before = Text();
        if (!Check(OpenMenu(), what + ": Alt+N opens the menu")) return false;
        Keys(keys);
        bool changed = Poll([&] { return Text() != before; }, 5000);
        Poll([&] { return Popup() == nullptr; }, 2000);
        return changed;
    }

    // Escape, and Korvalin ends.
    bool Close() {
        Press(VK_ESCAPE);
        return run.KorvalinEnded(10000);
    }
};

// Korvalin ended within `ms`, as the stand-in panel saw it, with exit code
// `want`.
inline bool CheckExit(Session& s, const std::string& what, int want = 0, DWORD ms = 10000) {
    int code = 0;
    return Check(s.run.ExitCode(code, ms), what) && CheckEq(code, want, "exit code");
}

// ------------------------------------------------------------ the groups

// Each case file's groups, which kvtest.exe runs by name.
void CaseInitListGroup();   // kvcreate.cpp: the initial list,
void CaseLinesGroup();      // typed lines,
void CaseTemplatesGroup();  // templates,
void CaseQuestionsGroup();  // the replace and failure questions,
void CaseBadInputGroup();  // bad input, and
void CaseLongNamesGroup();  // names near MAX_PATH (run again under a deep root)
void CaseNamingGroup();     // kvnaming.cpp: the naming menu
void CaseFocusGroup();      // kvfocus.cpp: the focus after a box and a switch,
void CaseTabGroup();        // Tab between the controls,
void CasePasteGroup();      // a long paste,
void CaseIniSaveGroup();    // how the ini file is saved
void CaseConfigGroup();     // kvconfig.cpp: the settings dialog
void CaseHandBackGroup();   // kvhandback.cpp: marking and opening the new items
void CaseReleaseGroup(const std::string& unpacked);  // kvrelease.cpp: the release zip
void CaseOffPathGroup();    // kvhardening.cpp: away from the first path
void CaseIniFileGroup();    // kvinifile.cpp: UTF-16 and locked ini files
void CaseClockGroup();      // kvclock.cpp: 12- and 24-hour system clocks
void CaseDpiGroup();        // kvdpi.cpp: the windows at 96 to 192 dpi

}  // namespace kv

// kvtest: drives Korvalin's real window under Windows (or Wine) the way a
// user would, through the stand-in file manager fakefm.exe, and checks what
// the user sees: message boxes, the caption, the hint, the window's size and
// place, and the ini file beside the program.
//
// Every case runs in a fresh folder of its own that holds a copy of
// korvalin.exe, so the ini file beside it belongs to that case alone.
//
//   kvtest.exe [--root <folder>] [--korvalin <exe>] [--case <group>] [--list]
//              [--reps <n>]
//   kvtest.exe --demo <folder> [--log <file>] [--type <name>]... [--shot-flag <file>]
//
// The second form is one demonstration session on <folder> (see Demo).
//
// Prints one PASS or FAIL line per check and ends with "N passed, N failed".
// The exit code is 1 when a check failed.
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------ reporting

int g_passed = 0, g_failed = 0;
std::string g_case;  // "group/variant" of the running case

// The terminal reads UTF-8; Korvalin's texts are in the ANSI code page.
std::string ToUtf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), &w[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    std::string u(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), n, &u[0], m, nullptr, nullptr);
    return u;
}

// Control characters made visible, so that a stray CR or LF shows.
std::string Show(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        if (c == '\r') r += "\\r";
        else if (c == '\n') r += "\\n";
        else if (c == '\t') r += "\\t";
        else if (c < 0x20) { char b[8]; snprintf(b, sizeof b, "\\x%02X", c); r += b; }
        else r += (char)c;
    }
    return r + "\"";
}

void Print(const std::string& line) {
    std::string u = ToUtf8(line) + "\n";
    fwrite(u.data(), 1, u.size(), stdout);
    fflush(stdout);
}

bool Check(bool ok, const std::string& what, const std::string& detail = "") {
    if (ok) {
        ++g_passed;
        Print("PASS " + g_case + ": " + what);
    } else {
        ++g_failed;
        Print("FAIL " + g_case + ": " + what + (detail.empty() ? "" : ": " + detail));
    }
    return ok;
}

bool CheckEq(const std::string& got, const std::string& want, const std::string& what) {
    return Check(got == want, what, "got " + Show(got) + ", want " + Show(want));
}

bool CheckEq(long got, long want, const std::string& what) {
    return Check(got == want, what, "got " + std::to_string(got) + ", want " + std::to_string(want));
}

// ------------------------------------------------------------ files

std::string Dir(const std::string& path) {
    size_t p = path.find_last_of("\\/");
    return p == std::string::npos ? "" : path.substr(0, p + 1);
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDir(const std::string& p) {
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadAll(const std::string& path, std::string& out) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    out.clear();
    char buf[4096];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return true;
}

bool WriteAll(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, data.data(), (DWORD)data.size(), &n, nullptr);
    CloseHandle(h);
    return ok && n == data.size();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> r;
    size_t i = 0;
    while (i < text.size()) {
        size_t e = text.find('\n', i);
        if (e == std::string::npos) e = text.size();
        std::string l = text.substr(i, e - i);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        r.push_back(l);
        i = e + 1;
    }
    return r;
}

struct IniEntry {
    std::string section, key, value;
};

// The entries of an ini file in file order; blank lines are not entries.
std::vector<IniEntry> ParseIni(const std::string& text) {
    std::vector<IniEntry> r;
    std::string section;
    for (std::string l : Lines(text)) {
        while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.pop_back();
        if (l.empty()) continue;
        if (l.front() == '[' && l.back() == ']') {
            section = l.substr(1, l.size() - 2);
            continue;
        }
        size_t eq = l.find('=');
        if (eq == std::string::npos) r.push_back({section, l, ""});
        else r.push_back({section, l.substr(0, eq), l.substr(eq + 1)});
    }
    return r;
}

const IniEntry* Find(const std::vector<IniEntry>& ini, const std::string& sec, const std::string& key) {
    for (const auto& e : ini)
        if (e.section == sec && e.key == key) return &e;
    return nullptr;
}

// Wine's own helper: the host path behind a Windows path (the string is
// allocated on the process heap).
std::string UnixPath(const std::string& path) {
    typedef char*(CDECL * Fn)(LPCWSTR);
    Fn fn = (Fn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!fn) return "";
    std::wstring w(path.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &w[0], (int)w.size());
    char* p = fn(w.c_str());
    if (!p) return "";
    std::string r = p;
    HeapFree(GetProcessHeap(), 0, p);
    return r;
}

// One argument for a program that splits its command line the usual way.
std::string Quote(const std::string& a) {
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
    std::string r = "\"";
    size_t slashes = 0;
    for (char c : a) {
        if (c == '\\') { ++slashes; continue; }
        if (c == '"') r.append(slashes * 2 + 1, '\\');
        else r.append(slashes, '\\');
        slashes = 0;
        r += c;
    }
    r.append(slashes * 2, '\\');
    return r + "\"";
}

bool Poll(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
}

// Starts a host program through Wine. Wine hands back no process handle to
// wait on for those, so the caller watches for the program's effect.
bool StartHostProgram(const std::string& cmd) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
}

bool Writable(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// A file that nobody may write, not even root: the host's immutable flag.
// A read-only mode would not do, Wine as root writes such files anyway.
std::string SetImmutable(const std::string& path, bool on) {
    std::string unix = UnixPath(path);
    if (unix.empty()) return "no host path for " + path;
    for (const char* chattr : {"Z:\\usr\\bin\\chattr", "Z:\\bin\\chattr"}) {
        if (!Exists(chattr)) continue;
        if (!StartHostProgram(std::string(chattr) + (on ? " +i " : " -i ") + Quote(unix)))
            return std::string("cannot run ") + chattr;
        return Poll([&] { return Writable(path) != on; }, 10000) ? "" : "chattr had no effect on " + unix;
    }
    return "no chattr program";
}

// ------------------------------------------------------------ windows


std::string ClassOf(HWND h) {
    char b[256] = {};
    GetClassNameA(h, b, sizeof b);
    return b;
}

// The text of a window of another process, asked of the window itself.
std::string TextOf(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &len)) return "";
    std::vector<char> buf(len + 2, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), (LPARAM)buf.data(), SMTO_ABORTIFHUNG, 3000, &got);
    return std::string(buf.data());
}

struct EnumCtx {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
    auto* c = (EnumCtx*)lp;
    DWORD p = 0;
    GetWindowThreadProcessId(h, &p);
    if (p == c->pid) c->found.push_back(h);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid) {
    EnumCtx ctx{pid, {}};
    EnumWindows(CollectWindow, (LPARAM)&ctx);
    return ctx.found;
}

HWND VisibleWindow(DWORD pid, const char* cls) {
    for (HWND h : TopWindows(pid))
        if (IsWindowVisible(h) && ClassOf(h) == cls) return h;
    return nullptr;
}

HWND AnyWindow(DWORD pid, const char* cls) {
    for (HWND h : TopWindows(pid))
        if (ClassOf(h) == cls) return h;
    return nullptr;
}

struct Box {
    HWND hwnd = nullptr;
    std::string title, text;
    std::vector<int> buttons;
    int defButton = 0;
};

Box ReadBox(HWND dlg) {
    Box b;
    b.hwnd = dlg;
    b.title = TextOf(dlg);
    if (HWND s = GetDlgItem(dlg, 0xFFFF)) b.text = TextOf(s);
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) != "Button" || !IsWindowVisible(c)) continue;
        int id = GetDlgCtrlID(c);
        b.buttons.push_back(id);
        if ((GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) b.defButton = id;
    }
    std::sort(b.buttons.begin(), b.buttons.end());
    return b;
}

// A control anywhere below a window (buttons may sit on a panel).
HWND Control(HWND parent, int id) {
    struct Ctx {
        int id;
        HWND found;
    } ctx{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL CALLBACK {
            auto* c = (Ctx*)lp;
            if (GetDlgCtrlID(h) != c->id) return TRUE;
            c->found = h;
            return FALSE;
        },
        (LPARAM)&ctx);
    return ctx.found;
}

void Press(HWND dlg, int id) {
    if (HWND b = GetDlgItem(dlg, id)) PostMessageA(b, BM_CLICK, 0, 0);
}

void Key(HWND h, UINT vk) {
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(h, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(h, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// Typing into the text box: one character message per character, in
// UTF-16 so that double-byte characters arrive whole. Sent, not posted:
// Wine turns a posted non-ASCII character for an ANSI window into "?".
void Type(HWND h, const std::string& text) {
    std::wstring w(text.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &w[0], (int)w.size());
    DWORD_PTR r;
    for (int i = 0; i < n; ++i) SendMessageTimeoutW(h, WM_CHAR, w[i], 1, SMTO_ABORTIFHUNG, 3000, &r);
}

// The hint of a control: the tooltip tool registered for it in the other
// process. The tool record and the text buffer must live in that process.
struct Hint {
    bool found = false;
    UINT flags = 0;
    std::string text;
};

Hint ReadHint(DWORD pid, HWND control) {
    Hint r;
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                  PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!proc) return r;
    const SIZE_T textChars = 8192;
    BYTE* remote = (BYTE*)VirtualAllocEx(proc, nullptr, sizeof(TTTOOLINFOW) + textChars * 2,
                                         MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) {
        CloseHandle(proc);
        return r;
    }
    WCHAR* remoteText = (WCHAR*)(remote + sizeof(TTTOOLINFOW));
    for (HWND tip : TopWindows(pid)) {
        if (ClassOf(tip) != TOOLTIPS_CLASSA) continue;
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &count);
        for (DWORD_PTR i = 0; i < count && !r.found; ++i) {
            TTTOOLINFOW ti = {};
            ti.cbSize = sizeof ti;
            ti.lpszText = remoteText;
            std::vector<WCHAR> zero(textChars, 0);
            WriteProcessMemory(proc, remoteText, zero.data(), textChars * 2, nullptr);
            WriteProcessMemory(proc, remote, &ti, sizeof ti, nullptr);
            DWORD_PTR ok = 0;
            SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, i, (LPARAM)remote, SMTO_ABORTIFHUNG, 3000, &ok);
            ReadProcessMemory(proc, remote, &ti, sizeof ti, nullptr);
            if (!ok || ti.uId != (UINT_PTR)control) continue;
            r.found = true;
            r.flags = ti.uFlags;
            // Ask for the text the tooltip would show (also answers a
            // tool whose text comes from a callback).
            ti.lpszText = remoteText;
            WriteProcessMemory(proc, remoteText, zero.data(), textChars * 2, nullptr);
            WriteProcessMemory(proc, remote, &ti, sizeof ti, nullptr);
            SendMessageTimeoutW(tip, TTM_GETTEXTW, textChars, (LPARAM)remote, SMTO_ABORTIFHUNG, 3000, &ok);
            std::vector<WCHAR> w(textChars, 0);
            ReadProcessMemory(proc, remoteText, w.data(), (textChars - 1) * 2, nullptr);
            char a[textChars * 2] = {};
            WideCharToMultiByte(CP_ACP, 0, w.data(), -1, a, sizeof a - 1, nullptr, nullptr);
            r.text = a;
        }
        if (r.found) break;
    }
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    CloseHandle(proc);
    return r;
}

// ------------------------------------------------------------ processes

std::string g_bin;       // folder of kvtest.exe, fakefm.exe, barewin.exe
std::string g_korvalin;  // the korvalin.exe under test
std::string g_root;      // where the case folders go
int g_caseNo = 0;

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
        CreateDirectoryA(dir.c_str(), nullptr);
        exe = dir + "korvalin.exe";
        ini = dir + "korvalin.ini";
        log = dir + "fakefm.log";
        demo = dir + "demo\\";
        CreateDirectoryA(demo.c_str(), nullptr);
        CreateDirectoryA((demo + "old folder").c_str(), nullptr);
        WriteAll(demo + "a.txt", "alpha\r\n");
        WriteAll(demo + "b c.txt", "");
        if (!CopyFileA(g_korvalin.c_str(), exe.c_str(), FALSE))
            Check(false, "copy korvalin.exe", "error " + std::to_string(GetLastError()));
    }

    ~Run() { Stop(); }

    std::vector<std::string> LogLines() const {
        std::string t;
        ReadAll(log, t);
        std::vector<std::string> r;
        for (auto& l : Lines(t))
            if (!l.empty()) r.push_back(l);
        return r;
    }

    std::string LogValue(const std::string& tag) const {
        for (const auto& l : LogLines())
            if (l.compare(0, tag.size() + 1, tag + " ") == 0) return l.substr(tag.size() + 1);
        return "";
    }

    bool Start(const std::vector<std::string>& fmArgs) {
        std::string d = demo.substr(0, demo.size() - 1);
        std::string cmd = Quote(g_bin + "fakefm.exe") + " --dir " + Quote(d) + " --exe " + Quote(exe) +
                          " --log " + Quote(log) + " --timeout 60000";
        for (const auto& a : fmArgs) cmd += " " + Quote(a);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::vector<char> buf(cmd.begin(), cmd.end());
        buf.push_back(0);
        if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
            return Check(false, "start fakefm.exe", "error " + std::to_string(GetLastError()));
        CloseHandle(pi.hThread);
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
        if (!fm || WaitForSingleObject(fm, ms) != WAIT_OBJECT_0) return false;
        std::string v = LogValue("EXIT");
        if (v.empty()) return false;
        code = atoi(v.c_str());
        return true;
    }

    void Stop() {
        if (kv) {
            if (WaitForSingleObject(kv, 0) != WAIT_OBJECT_0) TerminateProcess(kv, 99);
            CloseHandle(kv);
            kv = nullptr;
        }
        if (fm) {
            if (WaitForSingleObject(fm, 5000) != WAIT_OBJECT_0) TerminateProcess(fm, 99);
            CloseHandle(fm);
            fm = nullptr;
        }
    }

    HWND WaitMain(DWORD ms = 15000) {
        HWND h = nullptr;
        Poll([&] { return (h = VisibleWindow(kvPid, "TfomMain")) != nullptr || KorvalinEnded(0); }, ms);
        return h;
    }

    HWND WaitBox(DWORD ms = 15000) {
        HWND h = nullptr;
        Poll([&] { return (h = VisibleWindow(kvPid, "#32770")) != nullptr || KorvalinEnded(0); }, ms);
        return h;
    }
};

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

int ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }

RECT Bounds(HWND h) {
    RECT r = {};
    GetWindowRect(h, &r);
    return r;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

// The ini file a first run writes: every key, in order, with the values of
// an options record that nothing was loaded into.
std::vector<IniEntry> FreshIni(const std::string& exeDir) {
    std::vector<IniEntry> e;
    for (const char* k : {"ConfirmMode", "InitBySelect", "AutoSizeOnInit", "WidthSpace", "HeightSpace",
                          "InitPathType", "CursorQuickMove", "NoExtOnlyDir"})
        e.push_back({"FileList", k, "0"});
    e.push_back({"FileList", "TemplatePath", exeDir + "Templates\\"});
    for (const char* k : {"AutoOpen", "OpenMax", "OpenMethod", "KeyType", "SleepTime", "CursorPos", "TcColSep"})
        e.push_back({"AfterCreate", k, "0"});
    e.push_back({"Window", "SavePos", "0"});
    e.push_back({"Window", "SaveSize", "0"});
    for (const char* k : {"Separator", "Wrapper", "CommonUse", "TimeFormat"}) e.push_back({"Naming", k, ""});
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
        PostMessageA(edit, WM_CHAR, '\r', 1);
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
// Win32 program built the same way. Reported, not judged.
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
    auto once = [&](const std::string& exe, const char* cls, const std::string& args) -> double {
        std::string cmd = Quote(exe) + (args.empty() ? "" : " " + args);
        std::vector<char> buf(cmd.begin(), cmd.end());
        buf.push_back(0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
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
    const std::string kvArgs = Quote(run.demo);
    std::string bare = g_bin + "barewin.exe";
    once(run.exe, "TfomMain", kvArgs);  // warm-up: the first run also writes the ini
    once(bare, "BareWin", "");
    std::vector<double> kv, bw;
    for (int i = 0; i < reps; ++i) {
        double a = once(run.exe, "TfomMain", kvArgs), b = once(bare, "BareWin", "");
        if (a >= 0) kv.push_back(a);
        if (b >= 0) bw.push_back(b);
    }
    DestroyWindow(panel);
    auto median = [](std::vector<double> v) {
        if (v.empty()) return -1.0;
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    double mk = median(kv), mb = median(bw);
    char line[256];
    snprintf(line, sizeof line,
             "TIME start-up to visible window, median of %d: korvalin.exe %.1f ms (%u runs), "
             "barewin.exe %.1f ms (%u runs), ratio %.2f",
             reps, mk, (unsigned)kv.size(), mb, (unsigned)bw.size(), mb > 0 ? mk / mb : 0.0);
    Print(line);
}

// The demonstration session: type names into Korvalin's box on the given
// folder and confirm. Between typing and confirming it prints SHOT and,
// when asked, waits for the flag file, so that a screenshot can be taken.
int Demo(const std::string& folder, const std::string& log, const std::vector<std::string>& names,
         const std::string& shotFlag) {
    g_case = "demo";
    Run run(folder, g_korvalin, log);
    if (!run.Start({})) return 1;
    HWND main = run.WaitMain();
    HWND edit = main ? Control(main, 100) : nullptr;
    if (!Check(edit != nullptr, "Korvalin's window appears")) return 1;
    Print("WINDOW " + TextOf(main));
    std::string typed;
    for (const auto& n : names) typed += (typed.empty() ? "" : "\r") + n;
    Type(edit, typed);
    Poll([&] { return TextOf(edit).size() >= typed.size(); }, 3000);
    Print("TYPED " + Show(TextOf(edit)));
    Print("SHOT");
    if (!shotFlag.empty()) Poll([&] { return Exists(shotFlag); }, 30000);
    Key(edit, VK_RETURN);
    PostMessageA(edit, WM_CHAR, '\r', 1);
    // A name that cannot be created brings a question whether to go on: yes.
    HWND box = nullptr;
    std::vector<HWND> seen;
    while ((box = run.WaitBox(10000)) && std::find(seen.begin(), seen.end(), box) == seen.end()) {
        seen.push_back(box);
        Box b = ReadBox(box);
        Print("BOX " + Show(b.text));
        Press(box, GetDlgItem(box, IDYES) ? IDYES : IDOK);
        Poll([&] { return !IsWindow(box); }, 5000);
    }
    int code = 0;
    if (!Check(run.ExitCode(code, 20000), "Korvalin ends after Enter")) return 1;
    Print("EXIT " + std::to_string(code));
    return code == 0 ? 0 : 1;
}

struct Group {
    const char* name;
    std::function<void()> run;
};

}  // namespace

int main(int argc, char** argv) {
    std::string only, demoDir, demoLog, shotFlag;
    std::vector<std::string> names;
    int reps = 7;
    bool list = false;
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
        else if (a == "--list") list = true;
        else if (a == "--demo" && i + 1 < argc) demoDir = argv[++i];
        else if (a == "--log" && i + 1 < argc) demoLog = argv[++i];
        else if (a == "--type" && i + 1 < argc) names.push_back(argv[++i]);
        else if (a == "--shot-flag" && i + 1 < argc) shotFlag = argv[++i];
        else {
            fprintf(stderr,
                    "usage: kvtest [--root dir] [--korvalin exe] [--case group] [--list] [--reps n]\n"
                    "       kvtest --demo folder [--log file] [--type name]... [--shot-flag file]\n");
            return 2;
        }
    }
    if (!demoDir.empty()) return Demo(demoDir, demoLog.empty() ? Dir(g_korvalin) + "fakefm.log" : demoLog,
                                      names, shotFlag);
    if (!g_root.empty() && g_root.back() != '\\') g_root += '\\';
    const Group groups[] = {
        {"codepage", CaseCodePage},  {"usage", CaseUsage},       {"window", CaseWindow},
        {"position", CasePosition},  {"readonly", CaseReadOnly}, {"create", CaseCreate},
        {"startup-time", [&] { CaseStartupTime(reps); }},
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

// fakefm: a stand-in for the two-panel file manager that starts Korvalin.
//
// It shows one panel: a multiple-selection list box whose items are the
// entries of a folder, each "name" + column separator + size + separator +
// date, as the real panel's list box holds them. It gives the list box the
// keyboard focus, makes itself the foreground window and starts korvalin.exe
// with the arguments the file manager passes for "[-OnlyDir] %P%S". While
// Korvalin runs it keeps the listing current and writes every list-box
// message and key that reaches the panel to a log, one line each:
//
//   START <command line>      PID <korvalin process id>
//   LB_GETCOUNT               LB_GETTEXTLEN <index>     LB_GETTEXT <index>
//   LB_SETSEL <flag> <index>  KEYDOWN 0x<vk>   KEYUP 0x<vk>   CHAR 0x<code>
//   OPEN <item text>          (F4 on the caret item: the viewer would open it)
//   EXIT <exit code>          or TIMEOUT when Korvalin had to be stopped
//   then the panel as it is left: LISTING <count>, ITEM <text> (tabs as |),
//   SELECTED <name>, CARET <index> <name>; or PANEL GONE when it was closed
// It also counts the list-box messages from LB_SETSEL to LB_GETCOUNT:
// WM_APP with the message in wParam answers the count, WM_APP + 1 clears.
//
// Like the real panel, it marks an item and moves its caret there on
// LB_SETSEL, and it catches up with the folder before it answers LB_GETCOUNT.
// Folders come first, then files, each sorted by name.
//
// Usage:
//   fakefm.exe --dir <folder> --exe <korvalin.exe> [--log <file>]
//              [--select <name>]... [--onlydir] [--blank]
//              [--raw <argument text>] [--noargs] [--timeout <ms>]
//              [--fill <n>] [--pad <bytes>]
//
//   --select  selects the entry of that name before Korvalin starts
//   --onlydir passes -OnlyDir before the paths
//   --blank   separates the columns by a blank instead of a tab (older
//             file manager versions)
//   --raw     passes this text as Korvalin's whole argument string
//   --noargs  passes no arguments at all
//   --timeout stops Korvalin after this many milliseconds (default: never)
//   --fill    lists n more files that are not on disk (fill00000.dat ...),
//             for a panel of many items
//   --pad     makes every item text at least this long (one more column)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string dir, exe, log, raw;
    std::vector<std::string> select;
    bool onlyDir = false, blank = false, hasRaw = false, noArgs = false;
    DWORD timeout = INFINITE;
    int fill = 0;
    size_t pad = 0;
};

Options g_opt;
HANDLE g_log = INVALID_HANDLE_VALUE;
HWND g_list = nullptr;
WNDPROC g_listProc = nullptr;   // the list box's own procedure, for ANSI calls
WNDPROC g_listProcW = nullptr;  // the same, for wide calls
std::vector<std::string> g_listing;  // the item texts now shown
const UINT kCountsGet = WM_APP, kCountsClear = WM_APP + 1;
long g_counts[LB_GETCOUNT - LB_SETSEL + 1] = {};

void Log(const std::string& line) {
    if (g_log == INVALID_HANDLE_VALUE) return;
    std::string l = line + "\r\n";
    DWORD n = 0;
    WriteFile(g_log, l.data(), (DWORD)l.size(), &n, nullptr);
    FlushFileBuffers(g_log);
}

std::string Hex(unsigned v) {
    char b[16];
    snprintf(b, sizeof b, "0x%02X", v);
    return b;
}

std::string WithSlash(std::string d) {
    if (!d.empty() && d.back() != '\\' && d.back() != '/') d += '\\';
    return d;
}

std::string QuoteIfBlank(const std::string& s) {
    return s.find(' ') == std::string::npos ? s : "\"" + s + "\"";
}

// The entries of the folder, folders first, each by name: what the panel shows.
std::vector<std::string> ReadFolder() {
    std::vector<std::string> dirs, files;
    const char sep = g_opt.blank ? ' ' : '\t';
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((WithSlash(g_opt.dir) + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return {};
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        SYSTEMTIME st;
        FILETIME local;
        FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local);
        FileTimeToSystemTime(&local, &st);
        char date[32];
        snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u", st.wYear,
                 st.wMonth, st.wDay, st.wHour, st.wMinute);
        const bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string size = isDir ? "<DIR>"
                                 : std::to_string(((unsigned long long)fd.nFileSizeHigh << 32) |
                                                  fd.nFileSizeLow);
        std::string item = name + sep + size + sep + date;
        if (item.size() < g_opt.pad) item += sep + std::string(g_opt.pad - item.size() - 1, 'x');
        (isDir ? dirs : files).push_back(item);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    for (int i = 0; i < g_opt.fill; ++i) {
        char name[32];
        snprintf(name, sizeof name, "fill%05d.dat", i);
        files.push_back(name + std::string(1, sep) + "0" + sep + "2001-01-01 12:00");
    }
    // By name alone: the separator must not decide between "a" and "a.txt".
    auto byName = [sep](const std::string& x, const std::string& y) {
        size_t i = 0;
        for (;; ++i) {
            char a = i < x.size() && x[i] != sep ? x[i] : 0, b = i < y.size() && y[i] != sep ? y[i] : 0;
            if (a != b || !a) return (unsigned char)a < (unsigned char)b;
        }
    };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    dirs.insert(dirs.end(), files.begin(), files.end());
    return dirs;
}

std::string NameOf(const std::string& item) {
    return item.substr(0, item.find(g_opt.blank ? ' ' : '\t'));
}

// Re-lists the folder, keeping the selection and the caret on the names
// they were on, the way a panel refreshes after a change on disk.
void Refresh() {
    std::vector<std::string> now = ReadFolder();
    if (now == g_listing) return;
    std::vector<std::string> selected;
    for (size_t i = 0; i < g_listing.size(); ++i)
        if (CallWindowProcA(g_listProc, g_list, LB_GETSEL, i, 0) > 0)
            selected.push_back(NameOf(g_listing[i]));
    int caret = (int)CallWindowProcA(g_listProc, g_list, LB_GETCARETINDEX, 0, 0);
    std::string caretName = caret >= 0 && caret < (int)g_listing.size() ? NameOf(g_listing[caret]) : "";

    SendMessageA(g_list, WM_SETREDRAW, FALSE, 0);
    CallWindowProcA(g_listProc, g_list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < now.size(); ++i) {
        CallWindowProcA(g_listProc, g_list, LB_ADDSTRING, 0, (LPARAM)now[i].c_str());
        const std::string n = NameOf(now[i]);
        if (std::find(selected.begin(), selected.end(), n) != selected.end())
            CallWindowProcA(g_listProc, g_list, LB_SETSEL, TRUE, i);
        if (n == caretName) CallWindowProcA(g_listProc, g_list, LB_SETCARETINDEX, i, FALSE);
    }
    SendMessageA(g_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_list, nullptr, TRUE);
    g_listing = now;
}

// The panel as Korvalin left it; nothing when the test closed it.
void LogPanel() {
    if (!IsWindow(g_list)) {
        Log("PANEL GONE");
        return;
    }
    Refresh();
    Log("LISTING " + std::to_string(g_listing.size()));
    for (const auto& item : g_listing) {
        std::string line = item;
        std::replace(line.begin(), line.end(), '\t', '|');
        Log("ITEM " + line);
    }
    for (size_t i = 0; i < g_listing.size(); ++i)
        if (CallWindowProcA(g_listProc, g_list, LB_GETSEL, i, 0) > 0) Log("SELECTED " + NameOf(g_listing[i]));
    int caret = (int)CallWindowProcA(g_listProc, g_list, LB_GETCARETINDEX, 0, 0);
    Log("CARET " + std::to_string(caret) + " " +
        (caret >= 0 && caret < (int)g_listing.size() ? NameOf(g_listing[caret]) : ""));
}

// The panel's own window procedure, a wide one: records what reaches the
// list box, and answers the item texts itself as a real panel does. Under
// Wine an ANSI procedure here would have each wide LB_GETTEXT converted on
// the way in, which loses items of more than about 1,000 bytes.
LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= LB_SETSEL && msg <= LB_GETCOUNT) ++g_counts[msg - LB_SETSEL];
    switch (msg) {
    // For the benchmark: how often the list-box message wp came since
    // kCountsClear.
    case kCountsGet: return wp >= LB_SETSEL && wp <= LB_GETCOUNT ? g_counts[wp - LB_SETSEL] : -1;
    case kCountsClear:
        for (long& c : g_counts) c = 0;
        return 0;
    case LB_GETCOUNT:
        Log("LB_GETCOUNT");
        Refresh();
        break;
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
        Log(std::string(msg == LB_GETTEXT ? "LB_GETTEXT " : "LB_GETTEXTLEN ") + std::to_string((int)wp));
        if (wp >= g_listing.size()) return LB_ERR;
        const std::string& a = g_listing[wp];
        int n = MultiByteToWideChar(CP_ACP, 0, a.data(), (int)a.size(), nullptr, 0);
        if (msg == LB_GETTEXT && lp) {
            WCHAR* out = (WCHAR*)lp;
            MultiByteToWideChar(CP_ACP, 0, a.data(), (int)a.size(), out, n);
            out[n] = 0;
        }
        return n;
    }
    case LB_SETSEL: {
        Log("LB_SETSEL " + std::to_string((int)wp) + " " + std::to_string((int)lp));
        LRESULT r = CallWindowProcW(g_listProcW, hwnd, msg, wp, lp);
        if (wp && r != LB_ERR && (int)lp >= 0) CallWindowProcW(g_listProcW, hwnd, LB_SETCARETINDEX, lp, FALSE);
        return r;
    }
    case WM_KEYUP: Log("KEYUP " + Hex((unsigned)wp)); break;
    case WM_KEYDOWN:
        Log("KEYDOWN " + Hex((unsigned)wp));
        if (wp == VK_F4) {
            int caret = (int)CallWindowProcW(g_listProcW, hwnd, LB_GETCARETINDEX, 0, 0);
            if (caret >= 0 && caret < (int)g_listing.size()) Log("OPEN " + g_listing[caret]);
        }
        break;
    case WM_CHAR: Log("CHAR " + Hex((unsigned)wp)); break;
    }
    return CallWindowProcW(g_listProcW, hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (g_list) MoveWindow(g_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (g_list) SetFocus(g_list);
        return 0;
    case WM_TIMER:
        Refresh();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool ParseArgs() {
    for (int i = 1; i < __argc; ++i) {
        std::string a = __argv[i];
        auto next = [&](std::string& out) {
            if (i + 1 >= __argc) return false;
            out = __argv[++i];
            return true;
        };
        std::string v;
        if (a == "--dir") { if (!next(g_opt.dir)) return false; }
        else if (a == "--exe") { if (!next(g_opt.exe)) return false; }
        else if (a == "--log") { if (!next(g_opt.log)) return false; }
        else if (a == "--select") { if (!next(v)) return false; g_opt.select.push_back(v); }
        else if (a == "--raw") { if (!next(g_opt.raw)) return false; g_opt.hasRaw = true; }
        else if (a == "--timeout") { if (!next(v)) return false; g_opt.timeout = strtoul(v.c_str(), nullptr, 10); }
        else if (a == "--fill") { if (!next(v)) return false; g_opt.fill = atoi(v.c_str()); }
        else if (a == "--pad") { if (!next(v)) return false; g_opt.pad = strtoul(v.c_str(), nullptr, 10); }
        else if (a == "--onlydir") g_opt.onlyDir = true;
        else if (a == "--blank") g_opt.blank = true;
        else if (a == "--noargs") g_opt.noArgs = true;
        else return false;
    }
    return !g_opt.dir.empty() && !g_opt.exe.empty();
}

// "[-OnlyDir] %P%S": the selected items' full paths, or the folder itself.
std::string Arguments() {
    if (g_opt.noArgs) return "";
    if (g_opt.hasRaw) return g_opt.raw;
    std::string args = g_opt.onlyDir ? "-OnlyDir" : "";
    std::vector<std::string> paths;
    for (size_t i = 0; i < g_listing.size(); ++i)
        if (CallWindowProcA(g_listProc, g_list, LB_GETSEL, i, 0) > 0)
            paths.push_back(WithSlash(g_opt.dir) + NameOf(g_listing[i]));
    if (paths.empty()) paths.push_back(WithSlash(g_opt.dir));
    for (const auto& p : paths) {
        if (!args.empty()) args += ' ';
        args += QuoteIfBlank(p);
    }
    return args;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    if (!ParseArgs()) {
        MessageBoxA(nullptr,
                    "fakefm.exe --dir <folder> --exe <korvalin.exe> [--log <file>]\n"
                    "  [--select <name>]... [--onlydir] [--blank] [--raw <text>]\n"
                    "  [--noargs] [--timeout <ms>] [--fill <n>] [--pad <bytes>]",
                    "fakefm", MB_OK);
        return 2;
    }
    if (!g_opt.log.empty())
        g_log = CreateFileA(g_opt.log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "FakeFmMain";
    RegisterClassA(&wc);
    std::string title = "fakefm - " + WithSlash(g_opt.dir);
    HWND main = CreateWindowA("FakeFmMain", title.c_str(), WS_OVERLAPPEDWINDOW, 20, 20, 520, 400,
                              nullptr, nullptr, inst, nullptr);
    g_list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL |
                           LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS,
                           0, 0, 100, 100, main, (HMENU)1, inst, nullptr);
    g_listProc = (WNDPROC)GetWindowLongPtrA(g_list, GWLP_WNDPROC);
    g_listProcW = (WNDPROC)SetWindowLongPtrW(g_list, GWLP_WNDPROC, (LONG_PTR)ListProc);
    Refresh();
    for (const auto& name : g_opt.select)
        for (size_t i = 0; i < g_listing.size(); ++i)
            if (NameOf(g_listing[i]) == name) {
                CallWindowProcA(g_listProc, g_list, LB_SETSEL, TRUE, i);
                CallWindowProcA(g_listProc, g_list, LB_SETCARETINDEX, i, FALSE);
            }

    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    SetForegroundWindow(main);
    SetFocus(g_list);

    // Let the window settle so that Korvalin finds it in the foreground.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    std::string cmd = "\"" + g_opt.exe + "\"";
    std::string args = Arguments();
    if (!args.empty()) cmd += " " + args;
    Log("START " + cmd);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    // Wine answers 1359 (internal error) when the new process ended before
    // its start-up was done, before any code of the program ran; seen now
    // and then with two Wine servers busy, and a second try succeeds. The
    // driver does the same for this program; other errors are reported.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt) {
            Log("STARTRETRY " + std::to_string(GetLastError()));
            Sleep(300);
        }
        started = CreateProcessA(g_opt.exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 g_opt.dir.c_str(), &si, &pi);
        if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
    }
    if (!started) {
        Log("STARTFAILED " + std::to_string(GetLastError()));
        return 3;
    }
    CloseHandle(pi.hThread);
    Log("PID " + std::to_string(pi.dwProcessId));

    // Keep the listing current while Korvalin creates things. The change
    // notification refreshes at once; the timer catches what it misses.
    HANDLE change = FindFirstChangeNotificationA(
        g_opt.dir.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE);
    SetTimer(main, 1, 250, nullptr);

    const DWORD start = GetTickCount();
    int exitCode = 0;
    bool timedOut = false;
    for (;;) {
        HANDLE waits[2] = {pi.hProcess, change};
        DWORD n = change == INVALID_HANDLE_VALUE ? 1 : 2;
        DWORD left = INFINITE;
        if (g_opt.timeout != INFINITE) {
            DWORD spent = GetTickCount() - start;
            if (spent >= g_opt.timeout) { timedOut = true; break; }
            left = g_opt.timeout - spent;
        }
        // Messages that Korvalin sends to the list box are handled in here.
        DWORD r = MsgWaitForMultipleObjects(n, waits, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) break;
        if (r == WAIT_OBJECT_0 + 1) {
            Refresh();
            FindNextChangeNotification(change);
        }
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (timedOut) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
        Log("TIMEOUT");
        exitCode = 4;
    } else {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        Log("EXIT " + std::to_string((int)code));
        // Handle what Korvalin left queued for the panel (keys sent to
        // open the new files) before the panel goes away.
        DWORD until = GetTickCount() + 300;
        while ((int)(until - GetTickCount()) > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        LogPanel();
    }
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
    CloseHandle(pi.hProcess);
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    DestroyWindow(main);
    return exitCode;
}

// fakefm: a stand-in for the two-panel file manager that starts Korvalin.
//
// It shows one panel: a multiple-selection list box whose items are the
// entries of a folder, each name, size and date separated by tabs, as the
// real panel's list box holds them. It gives the list box the
// keyboard focus, makes itself the foreground window and starts korvalin.exe
// with the arguments the file manager passes for "[-OnlyDir] %P%S". While
// Korvalin runs it keeps the listing current and logs what reaches the
// panel, one line each:
//
//   PID <korvalin process id>  or STARTFAILED <error>
//   LB_GETCOUNT               LB_GETTEXT <index>
//   LB_SETSEL <flag> <index>  KEYDOWN 0x<vk>   KEYUP 0x<vk>
//   OPEN <item text>          (F4 on the caret item: the viewer would open it)
//   EXIT <exit code>          (none when Korvalin had to be stopped)
//   then the panel as it is left: ITEM <text> (tabs as |), SELECTED <name>,
//   CARET <index> <name>
// It also counts the list-box messages from LB_SETSEL to LB_GETCOUNT:
// WM_APP with the message in wParam answers the count, WM_APP + 1 clears.
//
// Like the real panel, it marks an item and moves its caret there on
// LB_SETSEL, and it catches up with the folder before it answers LB_GETCOUNT.
// Folders come first, then files, each sorted by name.
//
//   fakefm.exe --dir <folder> --exe <korvalin.exe> [--log <file>]
//     --select <name>  selects that entry before Korvalin starts (repeatable;
//                      the caret goes to the last one)
//     --onlydir        passes -OnlyDir before the paths
//     --raw <text>     passes this text as Korvalin's whole argument string
//     --noargs         passes no arguments at all
//     --timeout <ms>   stops Korvalin after this long (default: never)
//     --fill <n>       lists n more files that are not on disk
//                      (fill00000.dat ...), for a panel of many items
//     --pad <bytes>    makes every item text at least this long (one more column)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string dir, exe, log;
    const char* raw = nullptr;
    std::vector<std::string> select;
    bool onlyDir = false, noArgs = false;
    DWORD timeout = INFINITE;
    int fill = 0;
    size_t pad = 0;
};

Options g_opt;
HANDLE g_log = INVALID_HANDLE_VALUE;
HWND g_list = nullptr;
WNDPROC g_listProcW = nullptr;       // the list box's own procedure
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

// The list box's own handling, past the logging of ListProc.
LRESULT Own(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return CallWindowProcW(g_listProcW, g_list, msg, wp, lp); }

int Caret() { return (int)Own(LB_GETCARETINDEX); }

std::string WithSlash(std::string d) {
    if (!d.empty() && d.back() != '\\' && d.back() != '/') d += '\\';
    return d;
}

std::string NameOf(const std::string& item) { return item.substr(0, item.find('\t')); }
// The text of item i, or "" when there is none.
std::string ItemAt(int i) { return i >= 0 && i < (int)g_listing.size() ? g_listing[i] : ""; }

std::vector<std::string> SelectedNames() {
    std::vector<std::string> r;
    for (size_t i = 0; i < g_listing.size(); ++i)
        if (Own(LB_GETSEL, i) > 0) r.push_back(NameOf(g_listing[i]));
    return r;
}

// The entries of the folder, folders first, each by name: what the panel shows.
std::vector<std::string> ReadFolder() {
    std::vector<std::string> dirs, files;
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
        snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
        const bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const unsigned long long bytes = ((unsigned long long)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
        std::string item = name + '\t' + (isDir ? "<DIR>" : std::to_string(bytes)) + '\t' + date;
        if (item.size() < g_opt.pad) item += '\t' + std::string(g_opt.pad - item.size() - 1, 'x');
        (isDir ? dirs : files).push_back(item);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    for (int i = 0; i < g_opt.fill; ++i) {
        char item[48];
        snprintf(item, sizeof item, "fill%05d.dat\t0\t2001-01-01 12:00", i);
        files.push_back(item);
    }
    // By name alone: the separator must not decide between "a" and "a.txt".
    auto byName = [](const std::string& x, const std::string& y) { return NameOf(x) < NameOf(y); };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    dirs.insert(dirs.end(), files.begin(), files.end());
    return dirs;
}

// Shows the items `now`, marking those named in `marked` and putting the
// caret on the one named `caret`.
void Show(const std::vector<std::string>& now, const std::vector<std::string>& marked, const std::string& caret) {
    SendMessageA(g_list, WM_SETREDRAW, FALSE, 0);
    Own(LB_RESETCONTENT);
    for (size_t i = 0; i < now.size(); ++i) {
        std::wstring w(now[i].size() + 1, L'\0');
        w.resize(MultiByteToWideChar(CP_ACP, 0, now[i].c_str(), -1, &w[0], (int)w.size()));
        Own(LB_ADDSTRING, 0, (LPARAM)w.c_str());
        const std::string n = NameOf(now[i]);
        if (std::find(marked.begin(), marked.end(), n) != marked.end()) Own(LB_SETSEL, TRUE, i);
        if (n == caret) Own(LB_SETCARETINDEX, i);
    }
    SendMessageA(g_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_list, nullptr, TRUE);
    g_listing = now;
}

// Re-lists the folder, keeping the selection and the caret on the names
// they were on, the way a panel refreshes after a change on disk.
void Refresh() {
    std::vector<std::string> now = ReadFolder();
    if (now != g_listing) Show(now, SelectedNames(), NameOf(ItemAt(Caret())));
}

// The panel as Korvalin left it; nothing when it was closed.
void LogPanel() {
    if (!IsWindow(g_list)) return;
    Refresh();
    for (std::string item : g_listing) {
        std::replace(item.begin(), item.end(), '\t', '|');
        Log("ITEM " + item);
    }
    for (const std::string& name : SelectedNames()) Log("SELECTED " + name);
    Log("CARET " + std::to_string(Caret()) + " " + NameOf(ItemAt(Caret())));
}

std::string Hex(WPARAM v) {
    char b[16];
    snprintf(b, sizeof b, "0x%02X", (unsigned)v);
    return b;
}

// The panel's own window procedure, a wide one: records what reaches the
// list box, and answers the item texts itself as a real panel does. Under
// Wine an ANSI procedure here would have each wide LB_GETTEXT converted on
// the way in, which loses items of more than about 1,000 bytes.
LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= LB_SETSEL && msg <= LB_GETCOUNT) ++g_counts[msg - LB_SETSEL];
    switch (msg) {
    // For the benchmark: how often the list-box message wp came since kCountsClear.
    case kCountsGet: return wp >= LB_SETSEL && wp <= LB_GETCOUNT ? g_counts[wp - LB_SETSEL] : -1;
    case kCountsClear: std::fill(std::begin(g_counts), std::end(g_counts), 0); return 0;
    case LB_GETCOUNT:
        Log("LB_GETCOUNT");
        Refresh();
        break;
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
        if (msg == LB_GETTEXT) Log("LB_GETTEXT " + std::to_string((int)wp));
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
        LRESULT r = Own(msg, wp, lp);
        if (wp && r != LB_ERR && (int)lp >= 0) Own(LB_SETCARETINDEX, lp);
        return r;
    }
    case WM_KEYUP: Log("KEYUP " + Hex(wp)); break;
    case WM_KEYDOWN:
        Log("KEYDOWN " + Hex(wp));
        if (wp == VK_F4 && !ItemAt(Caret()).empty()) Log("OPEN " + ItemAt(Caret()));
        break;
    }
    return CallWindowProcW(g_listProcW, hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: MoveWindow(g_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE); return 0;
    case WM_SETFOCUS: if (g_list) SetFocus(g_list); return 0;
    case WM_TIMER: Refresh(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool ParseArgs() {
    for (int i = 1; i < __argc; ++i) {
        const std::string a = __argv[i];
        if (a == "--onlydir") g_opt.onlyDir = true;
        else if (a == "--noargs") g_opt.noArgs = true;
        else if (i + 1 == __argc) return false;  // the others take a value
        else if (a == "--dir") g_opt.dir = __argv[++i];
        else if (a == "--exe") g_opt.exe = __argv[++i];
        else if (a == "--log") g_opt.log = __argv[++i];
        else if (a == "--select") g_opt.select.push_back(__argv[++i]);
        else if (a == "--raw") g_opt.raw = __argv[++i];
        else if (a == "--timeout") g_opt.timeout = strtoul(__argv[++i], nullptr, 10);
        else if (a == "--fill") g_opt.fill = atoi(__argv[++i]);
        else if (a == "--pad") g_opt.pad = strtoul(__argv[++i], nullptr, 10);
        else return false;
    }
    return !g_opt.dir.empty() && !g_opt.exe.empty();
}

// "[-OnlyDir] %P%S": the selected items' full paths, or the folder itself.
std::string Arguments() {
    if (g_opt.noArgs) return "";
    if (g_opt.raw) return g_opt.raw;
    std::vector<std::string> args;
    if (g_opt.onlyDir) args.push_back("-OnlyDir");
    for (const std::string& name : SelectedNames()) args.push_back(WithSlash(g_opt.dir) + name);
    if (args.size() == (g_opt.onlyDir ? 1u : 0u)) args.push_back(WithSlash(g_opt.dir));
    std::string r;
    for (const auto& p : args) r += (r.empty() ? "" : " ") + (p.find(' ') == std::string::npos ? p : "\"" + p + "\"");
    return r;
}

// Handles the messages queued for this thread (Korvalin's to the list box among them).
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Starts Korvalin in the panel's folder. Wine answers 1359 (internal error)
// when the new process ended before its start-up was done, before any code
// of the program ran; seen now and then with two Wine servers busy, and a
// second try succeeds. The driver does the same for this program; other
// errors are reported.
HANDLE StartKorvalin() {
    std::string cmd = "\"" + g_opt.exe + "\"", args = Arguments();
    if (!args.empty()) cmd += " " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(g_opt.exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, g_opt.dir.c_str(),
                           &si, &pi))
            break;
        if (attempt == 2 || GetLastError() != ERROR_INTERNAL_ERROR) {
            Log("STARTFAILED " + std::to_string(GetLastError()));
            return nullptr;
        }
        Sleep(300);
    }
    CloseHandle(pi.hThread);
    Log("PID " + std::to_string(pi.dwProcessId));
    return pi.hProcess;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    if (!ParseArgs()) {
        MessageBoxA(nullptr, "fakefm.exe --dir <folder> --exe <korvalin.exe> [options]: see fakefm.cpp", "fakefm",
                    MB_OK);
        return 2;
    }
    if (!g_opt.log.empty())
        g_log = CreateFileA(g_opt.log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "FakeFmMain";
    RegisterClassA(&wc);
    HWND main = CreateWindowA("FakeFmMain", ("fakefm - " + WithSlash(g_opt.dir)).c_str(), WS_OVERLAPPEDWINDOW, 20,
                              20, 520, 400, nullptr, nullptr, inst, nullptr);
    g_list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY |
                           LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS, 0, 0, 100, 100, main, (HMENU)1, inst, nullptr);
    g_listProcW = (WNDPROC)SetWindowLongPtrW(g_list, GWLP_WNDPROC, (LONG_PTR)ListProc);
    Show(ReadFolder(), g_opt.select, g_opt.select.empty() ? "" : g_opt.select.back());

    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    SetForegroundWindow(main);
    SetFocus(g_list);
    Pump();  // the window settles, so that Korvalin finds it in the foreground

    HANDLE kv = StartKorvalin();
    if (!kv) return 3;
    // Keep the listing current while Korvalin creates things. The change
    // notification refreshes at once; the timer catches what it misses.
    HANDLE change = FindFirstChangeNotificationA(
        g_opt.dir.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE);
    SetTimer(main, 1, 250, nullptr);

    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE waits[2] = {kv, change};
        const DWORD left =
            g_opt.timeout == INFINITE ? INFINITE : g_opt.timeout - std::min(GetTickCount() - start, g_opt.timeout);
        DWORD r = MsgWaitForMultipleObjects(change == INVALID_HANDLE_VALUE ? 1 : 2, waits, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0 || r == WAIT_TIMEOUT) break;
        if (r == WAIT_OBJECT_0 + 1) {
            Refresh();
            FindNextChangeNotification(change);
        }
        Pump();
    }
    if (WaitForSingleObject(kv, 0) != WAIT_OBJECT_0) {  // timed out
        TerminateProcess(kv, 1);
        WaitForSingleObject(kv, 5000);
    } else {
        DWORD code = 0;
        GetExitCodeProcess(kv, &code);
        Log("EXIT " + std::to_string((int)code));
        // Handle what Korvalin left queued for the panel (keys sent to
        // open the new files) before the panel goes away.
        for (DWORD until = GetTickCount() + 300; (int)(until - GetTickCount()) > 0;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            Pump();
        }
        LogPanel();
    }
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
    CloseHandle(kv);
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    DestroyWindow(main);
    return 0;
}

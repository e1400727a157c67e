// The smallest useful Win32 program: one top-level window, shown at once.
// Built exactly as korvalin.exe is (static, GUI subsystem), it is the
// baseline against which Korvalin's start-up time is measured.
//
// Built with BAREWIN_THEMED (barewin-themed.exe) it also carries what
// Korvalin cannot do without: the common-controls 6 manifest, the same
// imported libraries and the common-controls start-up call. The distance
// between the two is what the platform charges any such program.
#include <windows.h>
#ifdef BAREWIN_THEMED
#include <commctrl.h>

// Taking the address keeps the library among the imports.
void* volatile g_keepImports[] = {reinterpret_cast<void*>(&GetUserNameA)};
#endif

#ifdef KORVALIN_STARTUP_STAMPS
// The benchmark build notes the same stamps as Korvalin's, in the same form
// (see StartupStamps.h), so that the loader's share can be compared.
#include <cstdio>
static struct {
    const char* what;
    LONGLONG ticks;
} g_stamps[8];
static int g_count = 0;
static void Stamp(const char* what) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    if (g_count < 8) g_stamps[g_count++] = {what, t.QuadPart};
}
static void WriteStamps() {
    char path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n < 4) return;
    lstrcpyA(path + n - 4, ".stamps");
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    if (FILE* out = fopen(path, "wb")) {
        for (int i = 0; i < g_count; ++i)
            fprintf(out, "STAMP %s %lld %lld\r\n", g_stamps[i].what, g_stamps[i].ticks, f.QuadPart);
        fclose(out);
    }
}
static struct FirstStamp {
    FirstStamp() { Stamp("loaded"); }
} g_first __attribute__((init_priority(101)));
#else
static void Stamp(const char*) {}
static void WriteStamps() {}
#endif

static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    Stamp("entry");
#ifdef BAREWIN_THEMED
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                              ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
#endif
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareWin";
    if (!RegisterClassA(&wc)) return 1;
    HWND hwnd = CreateWindowA("BareWin", "barewin", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 150,
                              nullptr, nullptr, inst, nullptr);
    if (!hwnd) return 1;
    Stamp("window");
    ShowWindow(hwnd, show);
    Stamp("visible");
    UpdateWindow(hwnd);
    Stamp("painted");
    WriteStamps();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

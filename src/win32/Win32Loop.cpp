// The Win32 backend: message boxes, the event loops and the screen.
#include "Win32Controls.h"

#include "Forms.h"

using namespace win32;

namespace {
std::string g_appTitle;
}  // namespace

namespace plat {

int MessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxA(H(owner), text.c_str(), caption.c_str(), flags);
}

void SetAppTitle(const std::string& title) { g_appTitle = title; }
std::string AppTitle() { return g_appTitle; }

namespace {
void Pump(MSG& msg) {
    HWND root = msg.hwnd ? RootOf(msg.hwnd) : nullptr;
    Info* in = root ? Find(root) : nullptr;
    if (in && in->kind == Kind::Form && in->pageControl && PagedFormKey(root, msg)) return;
    if (in && in->kind == Kind::Form && IsDialogMessageA(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}
}  // namespace

void RunLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Pump(msg);
}

void QuitLoop() { PostQuitMessage(0); }

void RunModal(Handle form, Handle owner) {
    HWND f = H(form), o = H(owner);
    Info* in = Find(f);
    if (!in) return;
    in->modalDone = false;
    if (o) EnableWindow(o, FALSE);
    MSG msg;
    while (!in->modalDone) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r <= 0) {
            if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Pump(msg);
        in = Find(f);
        if (!in) break;
    }
    if (o) {
        EnableWindow(o, TRUE);
        SetActiveWindow(o);
    }
}

void EndModal(Handle form) {
    if (Info* in = Find(H(form))) in->modalDone = true;
    PostMessageA(H(form), WM_NULL, 0, 0);
}

void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Pump(msg);
    }
}

// ---------------------------------------------------------------- screen

Size ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Rect WorkArea() {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect DesktopRect() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Rect MonitorRect(Handle window) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoA(MonitorFromWindow(H(window), MONITOR_DEFAULTTONEAREST), &mi)) return DesktopRect();
    const RECT& r = mi.rcMonitor;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A minimised window reports its icon (-32000, -32000, 160 x 24) and a
// maximised one its frame through GetWindowRect; the placement keeps the
// normal bounds, in coordinates of the monitor's work area.
Rect NormalBounds(Handle form) {
    HWND h = H(form);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    RECT r;
    if (!(IsIconic(h) || IsZoomed(h)) || !GetWindowPlacement(h, &wp)) {
        GetWindowRect(h, &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    r = wp.rcNormalPosition;
    if (!(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
            OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace plat

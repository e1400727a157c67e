// The Win32 backend of the framework: the record of every window of ours,
// and what every control shares (text, bounds, visibility, font). Creation
// is in Win32Create, the window procedures in Win32WndProc, hints in
// Win32Tips; the control families have files of their own: Win32Edits,
// Win32Lists, Win32Pages, Win32Menus, Win32Loop.
#include "Win32Controls.h"

#include <map>

#include "StartupStamps.h"

namespace win32 {

std::map<HWND, Info>& Infos() {
    static std::map<HWND, Info> infos;
    return infos;
}

Info* Find(HWND h) {
    auto it = Infos().find(h);
    return it == Infos().end() ? nullptr : &it->second;
}


HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND RootOf(HWND h) { return GetAncestor(h, GA_ROOT); }

HFONT FontOf(HWND h) {
    for (HWND w = h; w; w = GetParent(w))
        if (Info* in = Find(w))
            if (in->font) return in->font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace win32

using namespace win32;

namespace plat {

void SetText(Handle h, const std::string& text) { SetWindowTextA(H(h), text.c_str()); }

std::string GetText(Handle h) {
    int n = GetWindowTextLengthA(H(h));
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(H(h), &s[0], n + 1);
    s.resize(n > 0 ? n : 0);
    return s;
}

void SetBounds(Handle h, const Rect& r) {
    Info* in = Find(H(h));
    RECT g = in && in->container ? Find(in->container)->design : RECT{};
    int height = r.Height;
    // As at creation: a drop-down list's window height holds its list.
    if (in && in->kind == Kind::ComboBox) height += kDropDownRoom;
    MoveWindow(H(h), r.Left + g.left, r.Top + g.top, r.Width, height, TRUE);
    if (!in || in->kind == Kind::Form) return;
    // What a group box's controls are placed from, and a moved page
    // control's pages follow its display area.
    in->design = RECT{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
    if (in->kind == Kind::PageControl) FitPages(H(h), *in);
}

Rect GetBounds(Handle h) {
    RECT r;
    GetWindowRect(H(h), &r);
    if (HWND parent = GetParent(H(h)); parent && (GetWindowLongA(H(h), GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    if (Info* in = Find(H(h)); in && in->container) OffsetRect(&r, -Find(in->container)->design.left,
                                                                -Find(in->container)->design.top);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Size ClientSize(Handle h) {
    RECT r;
    GetClientRect(H(h), &r);
    return {r.right, r.bottom};
}

void SetMinTrackSize(Handle form, int width, int height) {
    if (Info* in = Find(H(form))) {
        in->minW = width;
        in->minH = height;
    }
}

void SetVisible(Handle h, bool visible) {
    HWND w = H(h);
    Info* in = Find(w);
    if (visible && in && in->kind == Kind::Form) {
        ShowWindow(w, SW_SHOWNORMAL);
        StartupStamp("visible");
        // The first control in tab order gets the focus when a form first
        // opens: once it is shown, not while it is being shown, where it held
        // the window back by about 20 ms under Wine. No key is read before.
        in = Find(w);
        if (in && !in->firstShown) {
            in->firstShown = true;
            if (HWND first = GetNextDlgTabItem(w, nullptr, FALSE)) ::SetFocus(first);
            StartupStamp("first focus");
        }
        SetForegroundWindow(w);
        UpdateWindow(w);
        StartupStamp("painted");
        // A hint shows only after the mouse has rested on a control, so its
        // tip windows are made after the first paint, not before it.
        AttachPendingHints(w);
        StartupStamp("tooltips");
        WriteStartupStamps();
    } else {
        ShowWindow(w, visible ? SW_SHOW : SW_HIDE);
    }
}

bool IsVisible(Handle h) { return IsWindowVisible(H(h)) != FALSE; }
void SetEnabled(Handle h, bool enabled) { EnableWindow(H(h), enabled); }
bool IsEnabled(Handle h) { return IsWindowEnabled(H(h)) != FALSE; }

namespace {
// A new font for a window whose controls already exist (a new dpi): each
// control that took its font from the window is given the new one.
BOOL CALLBACK TakeNewFont(HWND child, LPARAM font) {
    if (Info* c = Find(child); c && !c->font) SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
}  // namespace

void SetFont(Handle h, const std::string& face, int height, int charset) {
    Info* in = Find(H(h));
    if (!in) return;
    HFONT old = in->font;
    in->font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(charset),
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face.c_str());
    SendMessageA(H(h), WM_SETFONT, reinterpret_cast<WPARAM>(in->font), FALSE);
    // The old font is deleted only once no control draws with it.
    if (old) {
        EnumChildWindows(H(h), TakeNewFont, reinterpret_cast<LPARAM>(in->font));
        DeleteObject(old);
    }
}

int WindowDpi(Handle h) {
    // Both calls are missing from older systems, so they are looked up, not
    // imported: GetDpiForWindow (Windows 10) answers for the window's own
    // monitor, GetDpiForMonitor (8.1) for a monitor, and before those every
    // monitor has the system's one dpi.
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const ForWindow forWindow = reinterpret_cast<ForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (h && forWindow)
        if (UINT dpi = forWindow(H(h))) return static_cast<int>(dpi);
    static const ForMonitor forMonitor = [] {
        // Loaded only where GetDpiForWindow is missing: the library costs start-up time.
        HMODULE shcore = forWindow ? nullptr : LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<ForMonitor>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    if (forMonitor) {
        HMONITOR m = h ? MonitorFromWindow(H(h), MONITOR_DEFAULTTONEAREST) : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(m, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y) return static_cast<int>(y);
    }
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

Size TextExtent(Handle h, const std::string& text) {
    HDC dc = GetDC(H(h));
    HGDIOBJ old = SelectObject(dc, FontOf(H(h)));
    SIZE s{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &s);
    SelectObject(dc, old);
    ReleaseDC(H(h), dc);
    return {s.cx, s.cy};
}

Rect ClientToScreen(Handle h) {
    POINT pt{0, 0};
    ::ClientToScreen(H(h), &pt);
    RECT r;
    GetClientRect(H(h), &r);
    return {pt.x, pt.y, r.right, r.bottom};
}


}  // namespace plat

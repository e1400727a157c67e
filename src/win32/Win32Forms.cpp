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
    MoveWindow(H(h), r.Left + g.left, r.Top + g.top, r.Width, r.Height, TRUE);
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

void SetFont(Handle h, const std::string& face, int height, int charset) {
    Info* in = Find(H(h));
    if (!in) return;
    if (in->font) DeleteObject(in->font);
    in->font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(charset),
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face.c_str());
    SendMessageA(H(h), WM_SETFONT, reinterpret_cast<WPARAM>(in->font), FALSE);
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

// The Win32 backend's hints: a tooltip window per control that has one.
#include "Win32Controls.h"

namespace win32 {

void AttachHint(HWND w, Info* in) {
    in->hintPending = false;
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = RootOf(w);
    ti.uId = reinterpret_cast<UINT_PTR>(w);
    ti.lpszText = const_cast<char*>(in->hint.c_str());
    if (!in->tooltip) {
        in->tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, RootOf(w), nullptr,
                                      Instance(), nullptr);
        // Line breaks in the hint break the tip's lines.
        SendMessageA(in->tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
        SendMessageA(in->tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(w)), FALSE);
        SendMessageA(in->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        SendMessageA(in->tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void AttachPendingHints(HWND form) {
    for (auto& [child, info] : Infos())
        if (info.hintPending && RootOf(child) == form) AttachHint(child, &info);
}

}  // namespace win32

using namespace win32;

namespace plat {

void SetHint(Handle h, const std::string& hint) {
    HWND w = H(h);
    Info* in = Find(w);
    if (!in) return;
    in->hint = hint;
    // A tooltip is a window of its own, which costs the form a few ms before
    // it can appear: a hidden form's tooltips are made once it is shown.
    if (!in->tooltip && !IsWindowVisible(RootOf(w))) {
        in->hintPending = true;
        return;
    }
    AttachHint(w, in);
}

std::string GetHint(Handle h) {
    Info* in = Find(H(h));
    return in ? in->hint : std::string();
}

}  // namespace plat

// The Win32 backend: page controls and up-down controls, and the keys of a
// form that holds pages.
#include "Win32Controls.h"

#include <cctype>

using namespace win32;

namespace win32 {

namespace {
void CollectTabOrder(HWND parent, std::vector<HWND>& out) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        if (GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabOrder(c, out);
    }
}

bool Usable(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

bool IsCaptionKind(HWND h) {
    Info* in = Find(h);
    return in && (in->kind == plat::Kind::Label || in->kind == plat::Kind::GroupBox ||
                  in->kind == plat::Kind::Panel || in->kind == plat::Kind::Page);
}

// The accelerator letter of a caption ("&C" gives 'C'; "&&" is a plain '&').
char Accelerator(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

std::string CaptionOf(HWND h) {
    char buf[512] = {0};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

void SwitchPage(HWND pc, bool back) {
    Info* in = Find(pc);
    if (!in || in->pages.empty()) return;
    int n = static_cast<int>(in->pages.size());
    int index = (TabCtrl_GetCurSel(pc) + (back ? n - 1 : 1)) % n;
    TabCtrl_SetCurSel(pc, index);
    ShowPage(*in, index);
    // Alt+letter searches from the focus and would find the controls of a
    // page left behind: the focus goes into the page now shown.
    HWND first = FirstTabStop(in->pages[index]);
    FocusControl(first ? first : pc);
}

// Alt+letter over the visible controls only: the dialog navigation also
// finds those of hidden pages and would press them (config/edit presses
// Alt+S on 文件处理, where 常规 and 命名工具 have an "&S" of their own).
bool Mnemonic(HWND form, char key) {
    std::vector<HWND> order = TabOrder(form);
    int n = static_cast<int>(order.size());
    if (!n) return false;
    HWND focus = GetFocus();
    int start = n - 1;
    for (int i = 0; i < n; ++i)
        if (order[i] == focus) start = i;
    char want = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        HWND c = order[i];
        Info* in = Find(c);
        if (!in || !Usable(c) || in->kind == plat::Kind::Form || Accelerator(CaptionOf(c)) != want) continue;
        if (IsCaptionKind(c)) {
            // A label or group box hands the focus to the next control.
            for (int j = 1; j < n; ++j) {
                HWND next = order[(i + j) % n];
                if (!Usable(next) || IsCaptionKind(next) || !Find(next)) continue;
                // Into a radio group: its checked button, as Tab would.
                for (int r = (i + j) % n; r < n && Find(order[r]) && Find(order[r])->kind == plat::Kind::RadioButton;
                     ++r)
                    if (SendMessageA(order[r], BM_GETCHECK, 0, 0) == BST_CHECKED && Usable(order[r])) next = order[r];
                FocusControl(next);
                break;
            }
        } else if (in->kind == plat::Kind::CheckBox || in->kind == plat::Kind::RadioButton) {
            FocusControl(c);
            SendMessageA(c, BM_CLICK, 0, 0);
        } else {
            SendMessageA(c, BM_CLICK, 0, 0);
        }
        return true;
    }
    return false;
}
}  // namespace

std::vector<HWND> TabOrder(HWND parent) {
    std::vector<HWND> out;
    CollectTabOrder(parent, out);
    return out;
}

HWND FirstTabStop(HWND parent) {
    for (HWND c : TabOrder(parent))
        if (Usable(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP)) return c;
    return nullptr;
}

void FocusControl(HWND h) {
    ::SetFocus(h);
    if (Info* in = Find(h); in && in->kind == plat::Kind::Edit) SendMessageA(h, EM_SETSEL, 0, -1);
}

bool PagedFormKey(HWND form, const MSG& msg) {
    Info* in = Find(form);
    if (!in || !in->pageControl) return false;
    // IsDialogMessage does not switch a tab control's pages on Ctrl+Tab
    // (the Wine test config/fresh goes round the pages with it).
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        SwitchPage(in->pageControl, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (msg.message == WM_SYSCHAR && msg.wParam > ' ' && msg.wParam < 0x80) {
        if (!Mnemonic(form, static_cast<char>(msg.wParam))) MessageBeep(0);
        return true;
    }
    return false;
}

RECT PageArea(HWND pc) {
    RECT rc;
    GetClientRect(pc, &rc);
    TabCtrl_AdjustRect(pc, FALSE, &rc);
    MapWindowPoints(pc, GetParent(pc), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void FitPages(HWND pc, const Info& in) {
    RECT rc = PageArea(pc);
    for (HWND page : in.pages)
        MoveWindow(page, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

}  // namespace win32

namespace plat {

void PageControlSetIndex(Handle h, int index) {
    TabCtrl_SetCurSel(H(h), index);
    if (Info* in = Find(H(h))) ShowPage(*in, index);
}
int PageControlIndex(Handle h) { return TabCtrl_GetCurSel(H(h)); }

void UpDownSetup(Handle h, Handle buddy, int low, int high, bool wrap) {
    SendMessageA(H(h), UDM_SETBUDDY, reinterpret_cast<WPARAM>(H(buddy)), 0);
    // Wine makes the control its default width (16) when it is created;
    // the layout's bounds are put back.
    if (Info* in = Find(H(h)))
        SetBounds(h, {in->design.left, in->design.top, in->design.right - in->design.left,
                      in->design.bottom - in->design.top});
    SendMessageA(H(h), UDM_SETRANGE32, low, high);
    LONG style = GetWindowLongA(H(h), GWL_STYLE);
    SetWindowLongA(H(h), GWL_STYLE, wrap ? (style | UDS_WRAP) : (style & ~UDS_WRAP));
}
void UpDownSetPos(Handle h, int pos) { SendMessageA(H(h), UDM_SETPOS32, 0, pos); }
// With UDS_SETBUDDYINT the control reads its buddy's text here, keeping the
// position it held when the text is no number within the range.
int UpDownPos(Handle h) { return static_cast<int>(SendMessageA(H(h), UDM_GETPOS32, 0, 0)); }

}  // namespace plat

// The Win32 backend of the framework, forms and the controls they hold:
// creation, the window procedures, and what every control shares (text,
// bounds, visibility, focus, hint, font). The control families have files
// of their own: Win32Edits, Win32Lists, Win32Pages, Win32Menus, Win32Loop.
#include "Win32Controls.h"

#include <map>
#include <vector>

#include "Forms.h"
#include "StartupStamps.h"
#include "Win32Util.h"

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

TShiftState Shift() {
    TShiftState s;
    s.Shift = GetKeyState(VK_SHIFT) < 0;
    s.Ctrl = GetKeyState(VK_CONTROL) < 0;
    s.Alt = GetKeyState(VK_MENU) < 0;
    return s;
}

void FireFor(HWND child, WORD code) {
    Info* in = Find(child);
    if (!in || !in->owner) return;
    switch (in->kind) {
    case plat::Kind::Button:
    case plat::Kind::FlatButton:
    case plat::Kind::CheckBox:
    case plat::Kind::RadioButton:
        if (code == BN_CLICKED) in->owner->FireClick();
        break;
    case plat::Kind::Edit:
    case plat::Kind::Memo:
        if (code == EN_CHANGE) in->owner->FireChange();
        break;
    case plat::Kind::ComboBox:
        if (code == CBN_SELCHANGE) in->owner->FireChange();
        break;
    case plat::Kind::ListBox:
        if (code == LBN_SELCHANGE) in->owner->FireClick();
        break;
    default:
        break;
    }
}

void ShowPage(Info& pc, int index) {
    for (size_t i = 0; i < pc.pages.size(); ++i)
        ShowWindow(pc.pages[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
}

// Children keep their anchors when the container changes size.
void Relayout(HWND parent) {
    RECT rc;
    GetClientRect(parent, &rc);
    int w = rc.right, h = rc.bottom;
    std::vector<HWND> kids;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) kids.push_back(c);
    int bottomUsed = 0;
    for (HWND c : kids) {
        Info* in = Find(c);
        if (in && (in->style & plat::StyleAnchorBottom)) bottomUsed += in->design.bottom - in->design.top;
    }
    for (HWND c : kids) {
        Info* in = Find(c);
        if (!in) continue;
        RECT d = in->design;
        int cw = d.right - d.left, ch = d.bottom - d.top, x = d.left, y = d.top;
        if (in->style & plat::StyleFillClient) {
            x = 0;
            y = 0;
            cw = w;
            ch = h - bottomUsed;
            if (ch < 0) ch = 0;
        } else if (in->style & plat::StyleAnchorBottom) {
            x = 0;
            cw = w;
            y = h - ch;
        } else if (in->style & plat::StyleAnchorRight) {
            x = w - (in->designParent.cx - d.left);
        } else {
            continue;
        }
        MoveWindow(c, x, y, cw, ch, TRUE);
    }
}

HWND RootOf(HWND h) { return GetAncestor(h, GA_ROOT); }

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Info* in = Find(hwnd);
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            FireFor(reinterpret_cast<HWND>(lp), HIWORD(wp));
            return 0;
        }
        // Enter and Escape from the dialog navigation, with no button handle.
        if (Info* root = Find(RootOf(hwnd))) {
            HWND b = LOWORD(wp) == IDOK ? root->defButton : LOWORD(wp) == IDCANCEL ? root->cancelButton : nullptr;
            // Enter on a focused push button presses that button.
            HWND focus = GetFocus();
            Info* focused = Find(focus);
            if (LOWORD(wp) == IDOK && focused && focused->kind == plat::Kind::Button && IsChild(RootOf(hwnd), focus))
                b = focus;
            if (b && IsWindowEnabled(b)) FireFor(b, BN_CLICKED);
            else if (LOWORD(wp) == IDCANCEL && in && in->kind == plat::Kind::Form && in->owner)
                static_cast<TForm*>(in->owner)->FireClose();
        }
        return 0;
    case WM_NOTIFY: {
        NMHDR* n = reinterpret_cast<NMHDR*>(lp);
        Info* c = Find(n->hwndFrom);
        if (c && c->kind == plat::Kind::PageControl && n->code == TCN_SELCHANGE)
            ShowPage(*c, TabCtrl_GetCurSel(n->hwndFrom));
        else if (c && c->kind == plat::Kind::ListView && n->code == LVN_ITEMCHANGED && c->owner)
            c->owner->FireClick();
        return 0;
    }
    case WM_NEXTDLGCTL:
        // The dialog navigation sends it for Tab and a label's accelerator
        // (wp: 0 next, else previous; or a given control when lp is set);
        // DefWindowProc would ignore it and the key would do nothing
        // (config/edit: Tab to SaveSize). The text box keeps its caret: a
        // whole list selected on the way in would let the next key replace it.
        if (LOWORD(lp)) FocusControl(reinterpret_cast<HWND>(wp));
        else if (HWND next = GetNextDlgTabItem(hwnd, GetFocus(), wp != 0)) FocusControl(next);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // A disabled or read-only edit box asks with WM_CTLCOLORSTATIC.
        if (Info* c = Find(reinterpret_cast<HWND>(lp)); c && c->background) {
            SetBkColor(reinterpret_cast<HDC>(wp), c->backgroundColour);
            return reinterpret_cast<LRESULT>(c->background);
        }
        break;
    case WM_CLOSE:
        if (in && in->kind == plat::Kind::Form && in->owner) {
            static_cast<TForm*>(in->owner)->FireClose();
            return 0;
        }
        break;
    case WM_GETMINMAXINFO:
        if (in && (in->minW || in->minH)) {
            MINMAXINFO* mm = reinterpret_cast<MINMAXINFO*>(lp);
            mm->ptMinTrackSize.x = in->minW;
            mm->ptMinTrackSize.y = in->minH;
            return 0;
        }
        break;
    case WM_SIZE:
        Relayout(hwnd);
        return 0;
    case WM_ACTIVATE:
        // The focus is saved on the way out and given back on the way in;
        // DefWindowProc would put it on the form itself.
        if (TForm* f = FormOf(in)) {
            if (LOWORD(wp) == WA_INACTIVE) {
                f->FireActivate(false);
                return 0;
            }
            if (!HIWORD(wp)) {  // not while minimised
                RestoreFocus(hwnd, f);
                return 0;
            }
        }
        break;
    case WM_SETFOCUS:
        if (TForm* f = FormOf(in)) {
            RestoreFocus(hwnd, f);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Key events of edit boxes, and the flat buttons that never keep the focus.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Info* in = Find(hwnd);
    if (!in) return DefWindowProcA(hwnd, msg, wp, lp);
    WNDPROC orig = in->orig;
    TControl* owner = in->owner;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (owner && owner->OnKeyDown) {
            unsigned short key = static_cast<unsigned short>(wp);
            owner->FireKeyDown(key, Shift());
            if (!key || !IsWindow(hwnd)) return 0;
            wp = key;
        }
        break;
    case WM_CHAR:
        if (owner && owner->OnKeyPress) {
            char c = static_cast<char>(wp);
            owner->FireKeyPress(c);
            if (!c || !IsWindow(hwnd)) return 0;
            wp = static_cast<unsigned char>(c);
        }
        break;
    case WM_SETFOCUS:
        if (in->kind == plat::Kind::FlatButton && wp) {
            SetFocus(reinterpret_cast<HWND>(wp));
            return 0;
        }
        if (in->kind == plat::Kind::Button) ShowFocusedAsDefault(hwnd, true);
        break;
    case WM_KILLFOCUS:
        if (in->kind == plat::Kind::Button) ShowFocusedAsDefault(hwnd, false);
        break;
    case WM_GETDLGCODE:
        // A multi-line edit box asks for every key, Tab included; here Tab
        // moves on to the buttons, while Enter and Escape still reach the
        // box's own key handling. Without DLGC_HASSETSEL the dialog
        // navigation leaves the caret alone when Tab comes back to the box
        // (Wine's IsDialogMessage selects all of such a box, and the next
        // key would replace the whole list).
        if (in->kind == plat::Kind::Memo) {
            LRESULT code = CallWindowProcA(orig, hwnd, msg, wp, lp);
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
            const MSG* m = reinterpret_cast<const MSG*>(lp);
            if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
                (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE || m->wParam == '\n'))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(orig, hwnd, msg, wp, lp);
}

const char* const kFormClassDefault = "TKorvalinForm";
const char* const kPanelClass = "TKorvalinPanel";

void RegisterClassOnce(const std::string& name, bool form) {
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(Instance(), name.c_str(), &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    if (form) {
        wc.hIcon = LoadIconA(Instance(), "MAINICON");
        wc.hIconSm = wc.hIcon;
    }
    RegisterClassExA(&wc);
}

HFONT FontOf(HWND h) {
    for (HWND w = h; w; w = GetParent(w))
        if (Info* in = Find(w))
            if (in->font) return in->font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace win32

using namespace win32;

namespace plat {

Handle CreateControl(const CreateParams& p, TControl* owner) {
    static bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        bool ok = InitCommonControlsEx(&icc) != FALSE;
        StartupStamp("common controls");
        return ok;
    }();
    (void)commonControls;

    HWND parent = H(p.parent);
    if (p.kind == Kind::Form) {
        std::string cls = p.className.empty() ? kFormClassDefault : p.className;
        RegisterClassOnce(cls, true);
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        DWORD ex = WS_EX_CONTROLPARENT;
        if (p.style & StyleDialogFrame) {
            style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
            ex |= WS_EX_DLGMODALFRAME;
        }
        RECT r{0, 0, p.width, p.height};
        AdjustWindowRectEx(&r, style, FALSE, ex);
        HWND h = CreateWindowExA(ex, cls.c_str(), p.caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                 r.right - r.left, r.bottom - r.top, parent, nullptr, Instance(), nullptr);
        Info& in = Infos()[h];
        in.owner = owner;
        in.kind = p.kind;
        in.style = p.style;
        return h;
    }

    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE, ex = 0;
    bool subclass = false;
    int height = p.height;
    switch (p.kind) {
    case Kind::Panel:
    case Kind::Page:
        RegisterClassOnce(kPanelClass, false);
        cls = kPanelClass;
        style |= WS_CLIPSIBLINGS;
        ex = WS_EX_CONTROLPARENT;
        break;
    case Kind::Memo:
        cls = "EDIT";
        style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                 ES_NOHIDESEL;
        ex = WS_EX_CLIENTEDGE;
        subclass = true;
        break;
    case Kind::Edit:
        cls = "EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        ex = WS_EX_CLIENTEDGE;
        subclass = true;
        break;
    case Kind::Button:
        cls = "BUTTON";
        style |= WS_TABSTOP | ((p.style & StyleDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        subclass = true;
        break;
    case Kind::FlatButton:
        cls = "BUTTON";
        style |= BS_PUSHBUTTON | BS_FLAT;
        subclass = true;
        break;
    case Kind::CheckBox:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    case Kind::RadioButton:
        cls = "BUTTON";
        style |= BS_AUTORADIOBUTTON | ((p.style & StyleGroup) ? (WS_GROUP | WS_TABSTOP) : 0);
        break;
    case Kind::ComboBox:
        cls = "COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        height = p.height + 200;  // room for the dropped-down list
        break;
    case Kind::Label:
        cls = "STATIC";
        style |= SS_LEFT;
        break;
    case Kind::GroupBox:
        cls = "BUTTON";
        // Clipped by a check box laid over its top edge as its title.
        style |= BS_GROUPBOX | WS_CLIPSIBLINGS;
        break;
    case Kind::PageControl:
        cls = WC_TABCONTROLA;
        style |= WS_TABSTOP | WS_CLIPSIBLINGS;
        break;
    case Kind::UpDown:
        cls = UPDOWN_CLASSA;
        // Not aligned to its buddy: the layout places both.
        style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        break;
    case Kind::ListBox:
        cls = "LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        ex = WS_EX_CLIENTEDGE;
        break;
    case Kind::ListView:
        cls = WC_LISTVIEWA;
        style |= WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        ex = WS_EX_CLIENTEDGE;
        break;
    case Kind::Form:
        break;
    }
    if (p.style & StyleDisabled) style |= WS_DISABLED;
    if (p.style & StyleReadOnly) style |= ES_READONLY;
    if (p.style & StyleGroup) style |= WS_GROUP;

    // A page lives in its page control's parent, over the control's client area.
    HWND realParent = parent;
    int left = p.left, top = p.top, width = p.width;
    Info* pcInfo = Find(parent);
    if (p.kind == Kind::Page && pcInfo && pcInfo->kind == Kind::PageControl) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = p.caption;
        item.pszText = &caption[0];
        int index = static_cast<int>(pcInfo->pages.size());
        SendMessageA(parent, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
        RECT rc;
        GetClientRect(parent, &rc);
        TabCtrl_AdjustRect(parent, FALSE, &rc);
        MapWindowPoints(parent, GetParent(parent), reinterpret_cast<POINT*>(&rc), 2);
        realParent = GetParent(parent);
        left = rc.left;
        top = rc.top;
        width = rc.right - rc.left;
        height = rc.bottom - rc.top;
        if (index > 0) style &= ~WS_VISIBLE;
    }
    HWND container = nullptr;
    if (Info* g = Find(parent); g && g->kind == Kind::GroupBox) {
        container = parent;
        realParent = GetParent(parent);
        left += g->design.left;
        top += g->design.top;
    }

    HWND h = CreateWindowExA(ex, cls, p.caption.c_str(), style, left, top, width, height, realParent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)), Instance(), nullptr);
    if (!h) return nullptr;
    if (p.kind == Kind::Page && pcInfo && pcInfo->kind == Kind::PageControl) {
        pcInfo->pages.push_back(h);
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    Info& in = Infos()[h];
    in.owner = owner;
    in.kind = p.kind;
    in.style = p.style;
    in.design = RECT{p.left, p.top, p.left + p.width, p.top + p.height};
    RECT prc;
    GetClientRect(realParent, &prc);
    in.designParent = SIZE{prc.right, prc.bottom};
    in.container = container;
    if (p.kind == Kind::PageControl)
        if (Info* root = Find(RootOf(h))) root->pageControl = h;
    if (subclass) in.orig = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC,
                                                                        reinterpret_cast<LONG_PTR>(ControlProc)));
    if (p.kind == Kind::ListView)
        SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(realParent)), FALSE);
    if (Info* root = Find(RootOf(h))) {
        if (p.style & StyleDefault) root->defButton = h;
        if (p.style & StyleCancel) root->cancelButton = h;
    }
    return h;
}

void DestroyControl(Handle h) {
    HWND w = H(h);
    if (Info* in = Find(w)) {
        if (in->tooltip) DestroyWindow(in->tooltip);
        if (in->font && in->kind == Kind::Form) DeleteObject(in->font);
        if (in->orig) SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(in->orig));
        in->owner = nullptr;
    }
    if (IsWindow(w)) DestroyWindow(w);
    Infos().erase(w);
}

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

namespace {
void AttachHint(HWND w, Info* in);
}  // namespace

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
        for (auto& [child, info] : Infos())
            if (info.hintPending && RootOf(child) == w) AttachHint(child, &info);
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
}  // namespace

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

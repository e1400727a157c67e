// The Win32 backend of the framework: the only code that calls the Windows API
// for windows, controls, menus and message boxes.
#include <windows.h>
#include <commctrl.h>
#undef MessageBox  // the framework has a function of that name

#include <map>
#include <vector>

#include "Controls.h"
#include "Forms.h"
#include "Win32Util.h"

namespace {

struct Info {
    TControl* owner = nullptr;
    plat::Kind kind = plat::Kind::Panel;
    unsigned style = 0;
    RECT design{};        // design bounds in the parent's client area
    SIZE designParent{};  // the parent's client size when the child was made
    WNDPROC orig = nullptr;
    HWND tooltip = nullptr;
    std::string hint;
    int minW = 0, minH = 0;
    HFONT font = nullptr;
    HWND defButton = nullptr, cancelButton = nullptr;
    bool modalDone = false;
    bool firstShown = false;
    std::vector<HWND> pages;  // a page control's pages
};

std::map<HWND, Info>& Infos() {
    static std::map<HWND, Info> infos;
    return infos;
}

Info* Find(HWND h) {
    auto it = Infos().find(h);
    return it == Infos().end() ? nullptr : &it->second;
}

HWND H(plat::Handle h) { return static_cast<HWND>(h); }

std::string g_appTitle;
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
    case WM_SHOWWINDOW:
        // The first control in tab order gets the focus when a form first opens.
        if (wp && in && in->kind == plat::Kind::Form && !in->firstShown) {
            in->firstShown = true;
            if (HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE)) SetFocus(first);
        }
        break;
    case WM_ACTIVATE:
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

}  // namespace

namespace plat {

Handle CreateControl(const CreateParams& p, TControl* owner) {
    static bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;

    HWND parent = H(p.parent);
    if (p.kind == Kind::Form) {
        std::string cls = p.className.empty() ? kFormClassDefault : p.className;
        RegisterClassOnce(cls, true);
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        DWORD ex = WS_EX_CONTROLPARENT;
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
        style |= BS_GROUPBOX;
        break;
    case Kind::PageControl:
        cls = WC_TABCONTROLA;
        style |= WS_TABSTOP | WS_CLIPSIBLINGS;
        break;
    case Kind::UpDown:
        cls = UPDOWN_CLASSA;
        style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
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

void SetBounds(Handle h, const Rect& r) { MoveWindow(H(h), r.Left, r.Top, r.Width, r.Height, TRUE); }

Rect GetBounds(Handle h) {
    RECT r;
    GetWindowRect(H(h), &r);
    if (HWND parent = GetParent(H(h)); parent && (GetWindowLongA(H(h), GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
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
        SetForegroundWindow(w);
        UpdateWindow(w);
    } else {
        ShowWindow(w, visible ? SW_SHOW : SW_HIDE);
    }
}

bool IsVisible(Handle h) { return IsWindowVisible(H(h)) != FALSE; }
void SetEnabled(Handle h, bool enabled) { EnableWindow(H(h), enabled); }
bool IsEnabled(Handle h) { return IsWindowEnabled(H(h)) != FALSE; }
void SetFocus(Handle h) { ::SetFocus(H(h)); }

void SetHint(Handle h, const std::string& hint) {
    HWND w = H(h);
    Info* in = Find(w);
    if (!in) return;
    in->hint = hint;
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

void EditSetSel(Handle h, int start, int end) { SendMessageA(H(h), EM_SETSEL, start, end); }

void EditGetSel(Handle h, int& start, int& end) {
    DWORD s = 0, e = 0;
    SendMessageA(H(h), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void EditReplaceSel(Handle h, const std::string& text) {
    SendMessageA(H(h), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

int EditLineCount(Handle h) {
    int n = static_cast<int>(SendMessageA(H(h), EM_GETLINECOUNT, 0, 0));
    // The box counts a final empty line; the program does not.
    if (n > 1) {
        int start = static_cast<int>(SendMessageA(H(h), EM_LINEINDEX, n - 1, 0));
        if (SendMessageA(H(h), EM_LINELENGTH, start, 0) == 0) --n;
    }
    return n;
}

int EditLineStart(Handle h, int index) { return static_cast<int>(SendMessageA(H(h), EM_LINEINDEX, index, 0)); }
void EditSetMaxLength(Handle h, int maxChars) { SendMessageA(H(h), EM_SETLIMITTEXT, maxChars, 0); }

void SetChecked(Handle h, bool checked) { SendMessageA(H(h), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
bool GetChecked(Handle h) { return SendMessageA(H(h), BM_GETCHECK, 0, 0) == BST_CHECKED; }

namespace {
bool IsCombo(Handle h) {
    Info* in = Find(H(h));
    return in && in->kind == Kind::ComboBox;
}
}  // namespace

void ItemsAdd(Handle h, const std::string& text) {
    SendMessageA(H(h), IsCombo(h) ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void ItemsDelete(Handle h, int index) { SendMessageA(H(h), IsCombo(h) ? CB_DELETESTRING : LB_DELETESTRING, index, 0); }
void ItemsClear(Handle h) { SendMessageA(H(h), IsCombo(h) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0); }
int ItemsCount(Handle h) { return static_cast<int>(SendMessageA(H(h), IsCombo(h) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0)); }
std::string ItemsGet(Handle h, int index) {
    bool combo = IsCombo(h);
    int len = static_cast<int>(SendMessageA(H(h), combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0));
    if (len <= 0) return std::string();
    std::string s(static_cast<size_t>(len) + 1, '\0');
    len = static_cast<int>(SendMessageA(H(h), combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(&s[0])));
    s.resize(len > 0 ? len : 0);
    return s;
}
void ItemsSetIndex(Handle h, int index) { SendMessageA(H(h), IsCombo(h) ? CB_SETCURSEL : LB_SETCURSEL, index, 0); }
int ItemsIndex(Handle h) { return static_cast<int>(SendMessageA(H(h), IsCombo(h) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)); }
void ListBoxSetItemHeight(Handle h, int height) { SendMessageA(H(h), LB_SETITEMHEIGHT, 0, height); }

void ListViewAddColumn(Handle h, int width) {
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = width;
    int n = Header_GetItemCount(ListView_GetHeader(H(h)));
    SendMessageA(H(h), LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&col));
}
int ListViewAddRow(Handle h, const std::vector<std::string>& cells) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListViewCount(h);
    std::vector<std::string> c = cells;
    if (c.empty()) c.push_back(std::string());
    item.pszText = &c[0][0];
    int row = static_cast<int>(SendMessageA(H(h), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 1; i < c.size(); ++i) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(i);
        sub.pszText = &c[i][0];
        SendMessageA(H(h), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}
void ListViewDeleteRow(Handle h, int index) { SendMessageA(H(h), LVM_DELETEITEM, index, 0); }
void ListViewClear(Handle h) { SendMessageA(H(h), LVM_DELETEALLITEMS, 0, 0); }
int ListViewCount(Handle h) { return static_cast<int>(SendMessageA(H(h), LVM_GETITEMCOUNT, 0, 0)); }
std::string ListViewCell(Handle h, int row, int column) {
    char buf[1024] = {0};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    SendMessageA(H(h), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}
int ListViewSelected(Handle h) {
    return static_cast<int>(SendMessageA(H(h), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
void ListViewSelect(Handle h, int index) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageA(H(h), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (index < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(H(h), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void PageControlSetIndex(Handle h, int index) {
    TabCtrl_SetCurSel(H(h), index);
    if (Info* in = Find(H(h))) ShowPage(*in, index);
}
int PageControlIndex(Handle h) { return TabCtrl_GetCurSel(H(h)); }

void UpDownSetup(Handle h, Handle buddy, int low, int high, bool wrap) {
    SendMessageA(H(h), UDM_SETBUDDY, reinterpret_cast<WPARAM>(H(buddy)), 0);
    SendMessageA(H(h), UDM_SETRANGE32, low, high);
    LONG style = GetWindowLongA(H(h), GWL_STYLE);
    SetWindowLongA(H(h), GWL_STYLE, wrap ? (style | UDS_WRAP) : (style & ~UDS_WRAP));
}
void UpDownSetPos(Handle h, int pos) { SendMessageA(H(h), UDM_SETPOS32, 0, pos); }
int UpDownPos(Handle h) { return static_cast<int>(SendMessageA(H(h), UDM_GETPOS32, 0, 0)); }

// ---------------------------------------------------------------- menus

namespace {
struct MenuEntry {
    HMENU menu = nullptr;    // a popup menu, or the submenu of this entry
    HMENU parent = nullptr;  // the menu the entry stands in
    UINT id = 0;
    TControl* owner = nullptr;
};
std::map<UINT, MenuEntry*>& MenuIds() {
    static std::map<UINT, MenuEntry*> ids;
    return ids;
}
UINT g_nextMenuId = 1000;
MenuEntry* M(Handle h) { return static_cast<MenuEntry*>(h); }
}  // namespace

Handle CreatePopupMenu(TControl* owner) {
    MenuEntry* e = new MenuEntry;
    e->menu = ::CreatePopupMenu();
    e->owner = owner;
    return e;
}

Handle MenuAppend(Handle menu, const std::string& caption, bool submenu, TControl* owner) {
    MenuEntry* parent = M(menu);
    MenuEntry* e = new MenuEntry;
    e->parent = parent->menu;
    e->owner = owner;
    if (caption == "-") {
        AppendMenuA(parent->menu, MF_SEPARATOR, 0, nullptr);
        e->id = 0;
    } else if (submenu) {
        e->menu = ::CreatePopupMenu();
        AppendMenuA(parent->menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(e->menu), caption.c_str());
    } else {
        e->id = g_nextMenuId++;
        MenuIds()[e->id] = e;
        AppendMenuA(parent->menu, MF_STRING, e->id, caption.c_str());
    }
    return e;
}

void MenuRemove(Handle menu, Handle entry) {
    MenuEntry* parent = M(menu);
    MenuEntry* e = M(entry);
    int n = GetMenuItemCount(parent->menu);
    for (int i = 0; i < n; ++i) {
        bool match = e->menu ? GetSubMenu(parent->menu, i) == e->menu : GetMenuItemID(parent->menu, i) == e->id;
        if (match && (e->menu || e->id)) {
            RemoveMenu(parent->menu, i, MF_BYPOSITION);
            break;
        }
        if (!e->menu && !e->id) {
            // A separator line: remove the first separator found from the end.
            MENUITEMINFOA mi{};
            mi.cbSize = sizeof(mi);
            mi.fMask = MIIM_FTYPE;
            if (GetMenuItemInfoA(parent->menu, n - 1 - i, TRUE, &mi) && (mi.fType & MFT_SEPARATOR)) {
                RemoveMenu(parent->menu, n - 1 - i, MF_BYPOSITION);
                break;
            }
        }
    }
    e->parent = nullptr;
}

void MenuDestroy(Handle h) {
    MenuEntry* e = M(h);
    if (e->id) MenuIds().erase(e->id);
    if (e->menu) DestroyMenu(e->menu);
    delete e;
}

void MenuPopup(Handle menu, int x, int y, Handle ownerForm) {
    HWND owner = H(ownerForm);
    UINT cmd = TrackPopupMenu(M(menu)->menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON, x, y, 0,
                              owner, nullptr);
    auto it = MenuIds().find(cmd);
    if (cmd && it != MenuIds().end() && it->second->owner) it->second->owner->FireClick();
}

// ---------------------------------------------------------------- application

int MessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxA(H(owner), text.c_str(), caption.c_str(), flags);
}

void SetAppTitle(const std::string& title) { g_appTitle = title; }
std::string AppTitle() { return g_appTitle; }

namespace {
void Pump(MSG& msg) {
    HWND root = msg.hwnd ? RootOf(msg.hwnd) : nullptr;
    Info* in = root ? Find(root) : nullptr;
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

}  // namespace plat

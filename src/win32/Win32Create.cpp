// The Win32 backend's creation table: the window class and styles of each
// kind of control, and what a new window records about itself.
#include "Win32Controls.h"

#include "StartupStamps.h"

namespace win32 {

namespace {
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
}  // namespace

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
        height = p.height + kDropDownRoom;
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
        RECT rc = PageArea(parent);
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

}  // namespace plat

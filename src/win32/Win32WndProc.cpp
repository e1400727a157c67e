// The Win32 backend's window procedures: forms and panels (notifications,
// dialog navigation, activation, size) and the subclassed controls (keys,
// focus).
#include "Win32Controls.h"

#include "Forms.h"

namespace win32 {

// WM_DPICHANGED, which the headers define only for newer target systems.
constexpr UINT kDpiChanged = 0x02E0;

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

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Info* in = Find(hwnd);
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            FireFor(reinterpret_cast<HWND>(lp), HIWORD(wp));
            return 0;
        }
        // Enter and Escape from the dialog navigation, with no button handle.
        if (TForm* f = FormOf(Find(RootOf(hwnd))); f && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL))
            f->FireDialogKey(LOWORD(wp) == IDOK ? vkReturn : vkEscape, GetFocus());
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
        // The form lays out its panels' controls too.
        if (TForm* f = FormOf(in)) f->FireResize();
        return 0;
    case kDpiChanged:
        // Moved to a monitor of another scale (a per-monitor aware program
        // is not stretched by the system): the form lays itself out again.
        if (TForm* f = FormOf(in)) {
            const RECT* s = reinterpret_cast<const RECT*>(lp);
            f->FireDpiChanged(HIWORD(wp), {s->left, s->top, s->right - s->left, s->bottom - s->top});
            return 0;
        }
        break;
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
            // Ctrl+Enter comes as the character '\n'.
            if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
                TForm::ControlTakesKey(in->kind, static_cast<unsigned short>(m->wParam == '\n' ? static_cast<WPARAM>(vkReturn) : m->wParam)))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(orig, hwnd, msg, wp, lp);
}

}  // namespace win32

// The Win32 backend: the keyboard focus of forms. A form gives the focus
// back to the control that had it whenever it is activated again, and a
// focused push button takes the default button's look and Enter.
#include "Win32Controls.h"

#include "Forms.h"

namespace win32 {

TForm* FormOf(Info* in) {
    return in && in->kind == plat::Kind::Form && in->owner ? static_cast<TForm*>(in->owner) : nullptr;
}

// Gives the focus back to the control the form remembers, or else to its
// first control in tab order: the bare form would swallow every key.
void RestoreFocus(HWND form, TForm* f) {
    static bool busy = false;  // a control that hands the focus straight back must not loop
    if (busy) return;
    busy = true;
    if (!f->FireActivate(true)) {
        HWND focus = GetFocus();
        if (!focus || !IsChild(form, focus))
            if (HWND first = GetNextDlgTabItem(form, nullptr, FALSE)) SetFocus(first);
    }
    busy = false;
}

// A focused push button shows itself as the default one, as in any dialog,
// and Enter presses it; when it loses the focus the form's own default
// button takes the look back.
void ShowFocusedAsDefault(HWND button, bool focused) {
    Info* root = Find(RootOf(button));
    HWND def = root ? root->defButton : nullptr;
    if (!def || def == button) return;
    SendMessageA(button, BM_SETSTYLE, focused ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SendMessageA(def, BM_SETSTYLE, focused ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
}

}  // namespace win32

using namespace win32;

namespace plat {

void SetFocus(Handle h) { ::SetFocus(H(h)); }

Handle FocusedControl(Handle form) {
    HWND f = GetFocus();
    return f && IsChild(H(form), f) ? f : nullptr;
}

bool CanTakeFocus(Handle form, Handle control) {
    HWND c = H(control);
    if (!c || !IsWindow(c) || !IsChild(H(form), c) || !IsWindowVisible(c)) return false;
    for (HWND w = c; w && w != H(form); w = GetParent(w))
        if (!IsWindowEnabled(w)) return false;
    return true;
}

}  // namespace plat

// The Win32 backend: edit boxes, check boxes and radio buttons.
#include "Win32Controls.h"

using namespace win32;

namespace plat {

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
void EditScrollCaret(Handle h) { SendMessageA(H(h), EM_SCROLLCARET, 0, 0); }
void EditSetMaxLength(Handle h, int maxChars) { SendMessageA(H(h), EM_SETLIMITTEXT, maxChars, 0); }

void SetBackground(Handle h, Colour colour) {
    Info* in = Find(H(h));
    if (!in) return;
    int index = colour == Colour::Window ? COLOR_WINDOW : COLOR_BTNFACE;
    in->background = GetSysColorBrush(index);  // a system brush, never freed
    in->backgroundColour = GetSysColor(index);
    InvalidateRect(H(h), nullptr, TRUE);
}

void SetChecked(Handle h, bool checked) { SendMessageA(H(h), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
bool GetChecked(Handle h) { return SendMessageA(H(h), BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace plat

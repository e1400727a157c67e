// The Win32 backend: page controls and up-down controls.
#include "Win32Controls.h"

using namespace win32;

namespace plat {

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

}  // namespace plat

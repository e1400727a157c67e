// What the files of the Win32 backend share: the record each window of ours
// carries, and the lookups every control family needs.
#pragma once

#include <windows.h>
#include <commctrl.h>
#undef MessageBox  // the framework has a function of that name

#include <map>
#include <string>
#include <vector>

#include "Controls.h"

namespace win32 {

struct Info {
    TControl* owner = nullptr;
    plat::Kind kind = plat::Kind::Panel;
    unsigned style = 0;
    RECT design{};        // design bounds in the parent's client area
    SIZE designParent{};  // the parent's client size when the child was made
    WNDPROC orig = nullptr;
    HWND tooltip = nullptr;
    std::string hint;
    bool hintPending = false;  // the tooltip waits for the form to be shown
    int minW = 0, minH = 0;
    HFONT font = nullptr;
    HWND defButton = nullptr, cancelButton = nullptr;
    bool modalDone = false;
    bool firstShown = false;
    std::vector<HWND> pages;  // a page control's pages
};

std::map<HWND, Info>& Infos();
Info* Find(HWND h);
inline HWND H(plat::Handle h) { return static_cast<HWND>(h); }
HINSTANCE Instance();
HWND RootOf(HWND h);
HFONT FontOf(HWND h);
// Shows the page at `index` of a page control and hides the others.
void ShowPage(Info& pc, int index);

}  // namespace win32

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

class TForm;

namespace win32 {

struct Info {
    TControl* owner = nullptr;
    plat::Kind kind = plat::Kind::Panel;
    unsigned style = 0;
    RECT design{};        // design bounds in the parent's client area
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
    HWND pageControl = nullptr;  // a form's page control, for Ctrl+Tab and its own accelerators
    // A control laid out in a group box lives in the box's parent (a group
    // box passes no notifications on); its bounds stay relative to the box.
    HWND container = nullptr;
    HBRUSH background = nullptr;  // an edit box's own background, or null
    COLORREF backgroundColour = 0;
};

// What a drop-down list's window holds below its closed field: room for its list.
inline constexpr int kDropDownRoom = 200;

std::map<HWND, Info>& Infos();
Info* Find(HWND h);
inline HWND H(plat::Handle h) { return static_cast<HWND>(h); }
HINSTANCE Instance();
HWND RootOf(HWND h);
HFONT FontOf(HWND h);
// Shows the page at `index` of a page control and hides the others.
void ShowPage(Info& pc, int index);
// The display area of a page control, in its parent's client area: where its pages lie.
RECT PageArea(HWND pc);
// Puts a page control's pages over its display area again (it moved, or its font changed).
void FitPages(HWND pc, const Info& in);
// Every control below `parent` in tab order (z-order, containers expanded).
std::vector<HWND> TabOrder(HWND parent);
// The first visible, enabled tab stop below `parent`, or null.
HWND FirstTabStop(HWND parent);
// Focus as dialog navigation gives it: an edit box's text is selected.
void FocusControl(HWND h);
// Keys a form with pages handles before the dialog navigation: Ctrl+Tab and
// Alt+letter. True when the message was taken.
bool PagedFormKey(HWND form, const MSG& msg);

// The form a window record belongs to, or null for any other window.
TForm* FormOf(Info* in);
// Gives the focus back to the control the form remembers, or else to its
// first control in tab order.
void RestoreFocus(HWND form, TForm* f);
// A focused push button shows itself as the default one; see Win32Focus.
void ShowFocusedAsDefault(HWND button, bool focused);

// The window procedures of our forms and panels, and of the subclassed
// controls (Win32WndProc).
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Makes or updates the tooltip of a control with a hint (Win32Tips).
void AttachHint(HWND w, Info* in);
// The tooltips of a form's controls that waited for it to be shown.
void AttachPendingHints(HWND form);

}  // namespace win32

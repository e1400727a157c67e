// The Win32 backend: popup menus and their entries.
#include "Win32Controls.h"

#include <map>

using namespace win32;

namespace plat {

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

}  // namespace plat

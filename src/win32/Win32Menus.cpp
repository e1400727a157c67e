// The Win32 backend: popup menus and their entries.
//
// A Win32 menu has no hidden entries, so each entry keeps its siblings in
// order here and stands in its HMENU only while it is visible: its position
// there is the number of visible siblings before it. Entries are found by
// that position, never by searching for an id (separator lines have none).
#include "Win32Controls.h"

#include <algorithm>
#include <map>

using namespace win32;

namespace plat {

namespace {
struct MenuEntry {
    HMENU menu = nullptr;       // a popup menu, or the submenu of this entry
    MenuEntry* parent = nullptr;
    std::vector<MenuEntry*> children;
    std::string caption;
    bool separator = false;
    bool visible = true;
    UINT id = 0;
    TControl* owner = nullptr;
};
std::map<UINT, MenuEntry*>& MenuIds() {
    static std::map<UINT, MenuEntry*> ids;
    return ids;
}
UINT g_nextMenuId = 1000;
MenuEntry* M(Handle h) { return static_cast<MenuEntry*>(h); }

int PositionOf(const MenuEntry* e) {
    int pos = 0;
    for (const MenuEntry* s : e->parent->children) {
        if (s == e) return pos;
        if (s->visible) ++pos;
    }
    return -1;
}

void InsertAt(MenuEntry* e, int pos) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    if (e->separator) {
        mi.fMask = MIIM_FTYPE;
        mi.fType = MFT_SEPARATOR;
    } else {
        mi.fMask = MIIM_STRING | MIIM_ID | (e->menu ? MIIM_SUBMENU : 0);
        mi.dwTypeData = const_cast<char*>(e->caption.c_str());
        mi.wID = e->id;
        mi.hSubMenu = e->menu;
    }
    InsertMenuItemA(e->parent->menu, static_cast<UINT>(pos), TRUE, &mi);
}
}  // namespace

Handle CreatePopupMenu(TControl* owner) {
    MenuEntry* e = new MenuEntry;
    e->menu = ::CreatePopupMenu();
    e->owner = owner;
    return e;
}

namespace {
MenuEntry* Append(Handle menu, const std::string& caption, bool separator, bool submenu, TControl* owner) {
    MenuEntry* parent = M(menu);
    MenuEntry* e = new MenuEntry;
    e->parent = parent;
    e->owner = owner;
    e->caption = caption;
    e->separator = separator;
    if (!e->separator) {
        if (submenu) e->menu = ::CreatePopupMenu();
        e->id = g_nextMenuId++;
        MenuIds()[e->id] = e;
    }
    int pos = 0;
    for (const MenuEntry* s : parent->children)
        if (s->visible) ++pos;
    parent->children.push_back(e);
    InsertAt(e, pos);
    return e;
}
}  // namespace

Handle MenuAppend(Handle menu, const std::string& caption, bool submenu, TControl* owner) {
    return Append(menu, caption, false, submenu, owner);
}

Handle MenuAppendLine(Handle menu, TControl* owner) { return Append(menu, std::string(), true, false, owner); }

void MenuRemove(Handle, Handle entry) {
    MenuEntry* e = M(entry);
    if (!e->parent) return;
    if (e->visible) RemoveMenu(e->parent->menu, static_cast<UINT>(PositionOf(e)), MF_BYPOSITION);
    auto& c = e->parent->children;
    c.erase(std::remove(c.begin(), c.end(), e), c.end());
    e->parent = nullptr;
}

void MenuDestroy(Handle h) {
    MenuEntry* e = M(h);
    if (e->parent) MenuRemove(nullptr, h);
    for (MenuEntry* c : e->children) c->parent = nullptr;
    if (e->id) MenuIds().erase(e->id);
    // Submenus still standing in it have been detached above; the HMENU
    // would otherwise take theirs with it.
    if (e->menu) {
        while (GetMenuItemCount(e->menu) > 0) RemoveMenu(e->menu, 0, MF_BYPOSITION);
        DestroyMenu(e->menu);
    }
    delete e;
}

void MenuSetCaption(Handle entry, const std::string& caption) {
    MenuEntry* e = M(entry);
    if (e->separator || e->caption == caption) return;
    e->caption = caption;
    if (!e->parent || !e->visible) return;
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING;
    mi.dwTypeData = const_cast<char*>(e->caption.c_str());
    SetMenuItemInfoA(e->parent->menu, static_cast<UINT>(PositionOf(e)), TRUE, &mi);
}

void MenuSetVisible(Handle entry, bool visible) {
    MenuEntry* e = M(entry);
    if (e->visible == visible || !e->parent) {
        e->visible = visible;
        return;
    }
    if (!visible) {
        RemoveMenu(e->parent->menu, static_cast<UINT>(PositionOf(e)), MF_BYPOSITION);
        e->visible = false;
    } else {
        e->visible = true;
        InsertAt(e, PositionOf(e));
    }
}

void MenuPopup(Handle menu, int x, int y, Handle ownerForm) {
    HWND owner = H(ownerForm);
    UINT cmd = TrackPopupMenu(M(menu)->menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON, x, y, 0,
                              owner, nullptr);
    auto it = MenuIds().find(cmd);
    if (cmd && it != MenuIds().end() && it->second->owner) it->second->owner->FireClick();
}

}  // namespace plat

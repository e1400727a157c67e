// The Win32 backend: drop-down lists, list boxes and the report-view list.
#include "Win32Controls.h"

#include <algorithm>

using namespace win32;

namespace plat {

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
void ListViewSetColumnWidth(Handle h, int column, int width) {
    SendMessageA(H(h), LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
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
    // The call answers no length: a buffer filled to its end may hold a cut
    // text, so it is asked again with a larger one.
    for (size_t size = 1024;; size *= 2) {
        std::string buf(size, '\0');
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = &buf[0];
        item.cchTextMax = static_cast<int>(size);
        int n = static_cast<int>(SendMessageA(H(h), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        if (n < static_cast<int>(size) - 1 || size >= (1u << 20)) {
            buf.resize(std::min<size_t>(std::char_traits<char>::length(buf.c_str()), size));
            return buf;
        }
    }
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

}  // namespace plat

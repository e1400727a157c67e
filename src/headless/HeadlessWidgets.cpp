// The headless backend's windows: widgets in memory with the state a test
// can inspect (text, bounds, focus, selection, lists, up-downs, menus).
#include <algorithm>
#include <memory>

#include "Forms.h"
#include "Headless.h"

namespace headless {

std::vector<std::unique_ptr<Widget>>& Store() {
    static std::vector<std::unique_ptr<Widget>> store;
    return store;
}

Widget* W(plat::Handle h) { return static_cast<Widget*>(h); }

void SetSizeState(plat::Handle form, int state) {
    Widget* w = W(form);
    if (w->sizeState == state) return;
    if (w->sizeState == 0) w->restored = w->bounds;
    w->sizeState = state;
    if (state == 0) {
        w->bounds = w->restored;
    } else if (state == 1) {
        w->bounds = {-32000, -32000, 160, 24};
    } else {
        // The frame hangs over the work area's edges by its border.
        plat::Rect a = State().monitors.empty() ? State().workArea : plat::MonitorRect(form);
        w->bounds = {a.Left - 4, a.Top - 4, a.Width + 8, a.Height + 8};
    }
    Resized(w);
}

// As the system tells a window that its size changed: a form lays out
// its controls.
void Resized(Widget* w) {
    if (TForm* form = w->kind == plat::Kind::Form && w->owner ? dynamic_cast<TForm*>(w->owner) : nullptr)
        form->FireResize();
}

void MoveToDpi(plat::Handle form, int dpi) {
    Widget* w = W(form);
    int old = w->dpi;
    w->dpi = dpi;
    plat::Rect r = w->bounds;
    r.Width = r.Width * dpi / old;
    r.Height = r.Height * dpi / old;
    if (TForm* f = w->owner ? dynamic_cast<TForm*>(w->owner) : nullptr) f->FireDpiChanged(dpi, r);
}

void PressKey(unsigned short key, TShiftState shift) {
    Widget* focused = nullptr;
    for (Widget* w : State().widgets)
        if (w->focused) focused = w;
    if (!focused) return;
    Widget* root = focused;
    while (root->parent) root = root->parent;
    TForm* form = root->owner ? dynamic_cast<TForm*>(root->owner) : nullptr;
    if (form && (key == vkReturn || key == vkEscape) && !TForm::ControlTakesKey(focused->kind, key))
        form->FireDialogKey(key, focused);
    else if (focused->owner)
        focused->owner->FireKeyDown(key, shift);
}

Widget* FindByText(const std::string& text) {
    for (Widget* w : State().widgets)
        if (w->text == text) return w;
    return nullptr;
}

}  // namespace headless

using headless::State;
using headless::W;
using headless::Widget;

namespace plat {

namespace {
Widget* NewWidget() {
    headless::Store().push_back(std::make_unique<Widget>());
    Widget* w = headless::Store().back().get();
    State().widgets.push_back(w);
    return w;
}

// Lines of an edit box's text, split at CR LF (or a lone LF).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(cur);
            cur.clear();
            ++i;
        } else if (text[i] == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += text[i];
        }
    }
    lines.push_back(cur);
    return lines;
}
}  // namespace

Handle CreateControl(const CreateParams& p, TControl* owner) {
    Widget* w = NewWidget();
    w->kind = p.kind;
    w->parent = W(p.parent);
    if (w->parent) w->parent->children.push_back(w);
    w->owner = owner;
    w->text = p.caption;
    w->bounds = {p.left, p.top, p.width, p.height};
    w->style = p.style;
    w->id = p.id;
    w->enabled = (p.style & StyleDisabled) == 0;
    w->visible = p.kind != Kind::Form;
    w->dpi = State().dpi;
    if (p.kind == Kind::PageControl) w->index = 0;
    return w;
}

void DestroyControl(Handle h) {
    auto& ws = State().widgets;
    Widget* w = W(h);
    if (w->parent) {
        auto& c = w->parent->children;
        c.erase(std::remove(c.begin(), c.end(), w), c.end());
    }
    for (Widget* child : w->children) child->parent = nullptr;
    ws.erase(std::remove(ws.begin(), ws.end(), w), ws.end());
    w->owner = nullptr;
}

void SetText(Handle h, const std::string& text) {
    Widget* w = W(h);
    w->text = text;
    if (w->kind == Kind::Memo || w->kind == Kind::Edit) {
        w->selStart = w->selEnd = 0;
        if (w->owner && w->kind == Kind::Edit) w->owner->FireChange();
    }
}
std::string GetText(Handle h) { return W(h)->text; }
void SetBounds(Handle h, const Rect& r) {
    Widget* w = W(h);
    w->bounds = r;
    if (w->minTrack.Width > 0) w->bounds.Width = std::max(w->bounds.Width, w->minTrack.Width);
    if (w->minTrack.Height > 0) w->bounds.Height = std::max(w->bounds.Height, w->minTrack.Height);
    headless::Resized(w);
}
Rect GetBounds(Handle h) { return W(h)->bounds; }
Rect NormalBounds(Handle form) { return W(form)->sizeState ? W(form)->restored : W(form)->bounds; }
// A minimised window has no client area.
Size ClientSize(Handle h) {
    return W(h)->sizeState == 1 ? Size{} : Size{W(h)->bounds.Width, W(h)->bounds.Height};
}
void SetMinTrackSize(Handle form, int width, int height) { W(form)->minTrack = {width, height}; }
void SetVisible(Handle h, bool v) { W(h)->visible = v; }
bool IsVisible(Handle h) { return W(h)->visible; }
void SetEnabled(Handle h, bool e) { W(h)->enabled = e; }
bool IsEnabled(Handle h) { return W(h)->enabled; }
void SetFocus(Handle h) {
    for (Widget* w : State().widgets) w->focused = false;
    W(h)->focused = true;
}
namespace {
bool Alive(Widget* w) {
    const auto& ws = State().widgets;
    return std::find(ws.begin(), ws.end(), w) != ws.end();
}
bool Inside(Widget* w, Widget* form) {
    for (Widget* p = w ? w->parent : nullptr; p; p = p->parent)
        if (p == form) return true;
    return false;
}
}  // namespace
Handle FocusedControl(Handle form) {
    for (Widget* w : State().widgets)
        if (w->focused && Inside(w, W(form))) return w;
    return nullptr;
}
bool CanTakeFocus(Handle form, Handle control) {
    Widget* c = W(control);
    if (!c || !Alive(c) || !Inside(c, W(form))) return false;
    for (Widget* w = c; w && w != W(form); w = w->parent)
        if (!w->visible || !w->enabled) return false;
    return true;
}
void SetHint(Handle h, const std::string& hint) { W(h)->hint = hint; }
void SetBackground(Handle h, Colour colour) { W(h)->background = colour; }
std::string GetHint(Handle h) { return W(h)->hint; }
void SetFont(Handle h, const std::string& face, int height, int) {
    W(h)->fontFace = face;
    W(h)->fontHeight = height;
}
int WindowDpi(Handle h) {
    Widget* w = W(h);
    if (!w) return State().dpi;
    while (w->parent) w = w->parent;
    return w->dpi;
}
Size TextExtent(Handle h, const std::string& text) {
    int font = 12;
    for (Widget* w = W(h); w; w = w->parent)
        if (w->fontHeight) {
            font = w->fontHeight;
            break;
        }
    return {static_cast<int>(text.size()) * State().charWidth * font / 12, State().lineHeight * font / 12};
}
Rect ClientToScreen(Handle h) {
    Rect r{0, 0, W(h)->bounds.Width, W(h)->bounds.Height};
    for (Widget* w = W(h); w; w = w->parent) {
        r.Left += w->bounds.Left;
        r.Top += w->bounds.Top;
    }
    return r;
}

void EditSetSel(Handle h, int start, int end) {
    Widget* w = W(h);
    int n = static_cast<int>(w->text.size());
    if (end < 0 || end > n) end = n;
    if (start < 0) start = 0;
    if (start > n) start = n;
    w->selStart = start;
    w->selEnd = end;
}
void EditGetSel(Handle h, int& start, int& end) {
    start = W(h)->selStart;
    end = W(h)->selEnd;
}
void EditReplaceSel(Handle h, const std::string& text) {
    Widget* w = W(h);
    int a = std::min(w->selStart, w->selEnd), b = std::max(w->selStart, w->selEnd);
    w->text.replace(a, b - a, text);
    w->selStart = w->selEnd = a + static_cast<int>(text.size());
}
int EditLineCount(Handle h) {
    std::vector<std::string> lines = SplitLines(W(h)->text);
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return static_cast<int>(lines.size());
}
void EditScrollCaret(Handle) {}
int EditLineStart(Handle h, int index) {
    const std::string& t = W(h)->text;
    int line = 0;
    for (size_t i = 0; i < t.size() && line < index; ++i)
        if (t[i] == '\n') {
            if (++line == index) return static_cast<int>(i + 1);
        }
    return index == 0 ? 0 : -1;
}
void EditSetMaxLength(Handle h, int maxChars) { W(h)->maxLength = maxChars; }
// As BM_SETCHECK: the other radio buttons of the group are left as they are
// (only a click on an automatic radio button clears them).
void SetChecked(Handle h, bool c) { W(h)->checked = c; }
bool GetChecked(Handle h) { return W(h)->checked; }

namespace {
// Deletes entry `index` of a list and keeps the selection on the same entry.
template <typename List>
void EraseKeepingSelection(List& list, int index, int& selected) {
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    list.erase(list.begin() + index);
    if (selected == index) selected = -1;
    else if (selected > index) --selected;
}
}  // namespace

void ItemsAdd(Handle h, const std::string& text) { W(h)->items.push_back(text); }
void ItemsDelete(Handle h, int index) { EraseKeepingSelection(W(h)->items, index, W(h)->index); }
void ItemsClear(Handle h) {
    W(h)->items.clear();
    W(h)->index = -1;
}
int ItemsCount(Handle h) { return static_cast<int>(W(h)->items.size()); }
std::string ItemsGet(Handle h, int index) {
    Widget* w = W(h);
    return index >= 0 && index < static_cast<int>(w->items.size()) ? w->items[index] : std::string();
}
void ItemsSetIndex(Handle h, int index) {
    Widget* w = W(h);
    w->index = index >= 0 && index < static_cast<int>(w->items.size()) ? index : -1;
}
int ItemsIndex(Handle h) { return W(h)->index; }
void ListBoxSetItemHeight(Handle h, int height) { W(h)->itemHeight = height; }

void ListViewAddColumn(Handle h, int width) { W(h)->columns.push_back(width); }
void ListViewSetColumnWidth(Handle h, int column, int width) {
    if (column >= 0 && column < static_cast<int>(W(h)->columns.size())) W(h)->columns[column] = width;
}
int ListViewAddRow(Handle h, const std::vector<std::string>& cells) {
    W(h)->rows.push_back(cells);
    return static_cast<int>(W(h)->rows.size()) - 1;
}
void ListViewDeleteRow(Handle h, int index) { EraseKeepingSelection(W(h)->rows, index, W(h)->index); }
void ListViewClear(Handle h) {
    W(h)->rows.clear();
    W(h)->index = -1;
}
int ListViewCount(Handle h) { return static_cast<int>(W(h)->rows.size()); }
std::string ListViewCell(Handle h, int row, int column) {
    Widget* w = W(h);
    if (row < 0 || row >= static_cast<int>(w->rows.size())) return std::string();
    const auto& r = w->rows[row];
    return column >= 0 && column < static_cast<int>(r.size()) ? r[column] : std::string();
}
int ListViewSelected(Handle h) { return W(h)->index; }
void ListViewSelect(Handle h, int index) {
    Widget* w = W(h);
    w->index = index >= 0 && index < static_cast<int>(w->rows.size()) ? index : -1;
}

void PageControlSetIndex(Handle h, int index) {
    Widget* w = W(h);
    w->index = index;
    int i = 0;
    for (Widget* page : w->children)
        if (page->kind == Kind::Page) page->visible = i++ == index;
}
int PageControlIndex(Handle h) { return W(h)->index; }

void UpDownSetup(Handle h, Handle buddy, int low, int high, bool) {
    Widget* w = W(h);
    w->buddy = W(buddy);
    w->low = low;
    w->high = high;
    // A new range takes the held position into it.
    w->pos = std::min(std::max(w->pos, w->low), w->high);
}
void UpDownSetPos(Handle h, int pos) {
    Widget* w = W(h);
    w->pos = std::min(std::max(pos, w->low), w->high);
    if (w->buddy) w->buddy->text = std::to_string(w->pos);
}
namespace {
// The value of a decimal digit, ASCII or full-width (GBK A3 B0 to A3 B9), at
// `i`, stepping over it; -1 for anything else.
int Digit(const std::string& t, size_t& i) {
    if (t[i] >= '0' && t[i] <= '9') return t[i++] - '0';
    unsigned char lead = static_cast<unsigned char>(t[i]);
    unsigned char second = i + 1 < t.size() ? static_cast<unsigned char>(t[i + 1]) : 0;
    if (lead != 0xA3 || second < 0xB0 || second > 0xB9) return -1;
    i += 2;
    return second - 0xB0;
}
}  // namespace
int UpDownPos(Handle h) {
    Widget* w = W(h);
    if (!w->buddy) return w->pos;
    // As the common control reads its buddy: every thousands separator is
    // dropped, and what is left must be a whole decimal number (blanks and a
    // sign before it, nothing after it) within the range; an empty text reads
    // as 0. Anything else keeps the position.
    std::string t;
    for (char c : w->buddy->text)
        if (c != ',') t += c;
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || (t[i] >= '\t' && t[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    long long v = 0;
    int digits = 0;
    for (int d; i < t.size() && (d = Digit(t, i)) >= 0; ++digits) v = std::min(v * 10 + d, 1LL << 40);
    if (i < t.size() || (digits == 0 && !t.empty())) return w->pos;
    if (negative) v = -v;
    if (v >= w->low && v <= w->high) w->pos = static_cast<int>(v);
    return w->pos;
}

Handle CreatePopupMenu(TControl* owner) {
    Widget* w = NewWidget();
    w->isMenu = true;
    w->owner = owner;
    return w;
}
Handle MenuAppend(Handle menu, const std::string& caption, bool submenu, TControl* owner) {
    Widget* w = NewWidget();
    w->isMenu = true;
    w->submenu = submenu;
    w->text = caption;
    w->owner = owner;
    w->parent = W(menu);
    W(menu)->children.push_back(w);
    return w;
}
Handle MenuAppendLine(Handle menu, TControl* owner) {
    Handle h = MenuAppend(menu, std::string(), false, owner);
    W(h)->menuLine = true;
    return h;
}
void MenuRemove(Handle menu, Handle entry) {
    auto& c = W(menu)->children;
    c.erase(std::remove(c.begin(), c.end(), W(entry)), c.end());
    W(entry)->parent = nullptr;
}
void MenuDestroy(Handle h) { DestroyControl(h); }
void MenuSetCaption(Handle entry, const std::string& caption) { W(entry)->text = caption; }
void MenuSetVisible(Handle entry, bool visible) { W(entry)->visible = visible; }
void MenuPopup(Handle menu, int x, int y, Handle) {
    W(menu)->bounds.Left = x;
    W(menu)->bounds.Top = y;
    W(menu)->visible = true;
}

}  // namespace plat

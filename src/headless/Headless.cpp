#include "Headless.h"

#include <iconv.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "Controls.h"
#include "Forms.h"

namespace headless {

namespace {
World* g_world = nullptr;

// Records a panel or shell call; throws where a test asked that call to fail.
void Log(const std::string& line) {
    State().panelLog.push_back(line);
    const std::string& fail = State().failOn;
    if (!fail.empty() && line.compare(0, fail.size(), fail) == 0) throw std::runtime_error("failed: " + line);
}
}  // namespace

std::vector<std::unique_ptr<Widget>>& Store() {
    static std::vector<std::unique_ptr<Widget>> store;
    return store;
}

plat::LocaleTexts ChineseLocale() {
    plat::LocaleTexts l;
    const char* const longMonths[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                        "七月", "八月", "九月", "十月", "十一月", "十二月"};
    const char* const longDays[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    const char* const shortDays[7] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
    for (int i = 0; i < 12; ++i) {
        l.ShortMonthNames[i] = std::to_string(i + 1) + "月";
        l.LongMonthNames[i] = longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        l.ShortDayNames[i] = shortDays[i];
        l.LongDayNames[i] = longDays[i];
    }
    l.ShortDateFormat = "yyyy/M/d";
    l.LongDateFormat = "yyyy年M月d日dddd";
    l.ShortTimeFormat = "HH:mm";
    l.LongTimeFormat = "HH:mm:ss";
    l.DateSeparator = "/";
    l.TimeSeparator = ":";
    l.TimeAM = "上午";
    l.TimePM = "下午";
    l.Era = "公元";
    return l;
}

World& State() {
    if (!g_world) g_world = new World;
    return *g_world;
}

void Reset() {
    delete g_world;
    g_world = new World;
    // Widgets of the previous test stay allocated: controls that outlive it
    // may still hand their handle back.
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
}
Rect GetBounds(Handle h) { return W(h)->bounds; }
Rect NormalBounds(Handle form) { return W(form)->sizeState ? W(form)->restored : W(form)->bounds; }
Size ClientSize(Handle h) { return {W(h)->bounds.Width, W(h)->bounds.Height}; }
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
Size TextExtent(Handle, const std::string& text) {
    return {static_cast<int>(text.size()) * State().charWidth, State().lineHeight};
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
void SetChecked(Handle h, bool c) {
    Widget* w = W(h);
    if (c && w->kind == Kind::RadioButton && w->parent)
        for (Widget* s : w->parent->children)
            if (s->kind == Kind::RadioButton) s->checked = false;
    w->checked = c;
}
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
}
void UpDownSetPos(Handle h, int pos) {
    Widget* w = W(h);
    w->pos = std::min(std::max(pos, w->low), w->high);
    if (w->buddy) w->buddy->text = std::to_string(w->pos);
}
int UpDownPos(Handle h) {
    Widget* w = W(h);
    if (!w->buddy) return w->pos;
    // As the common control reads its buddy: a whole decimal number with an
    // optional sign, within the range; anything else keeps the position.
    const std::string& t = w->buddy->text;
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    if (i == t.size() || t.size() - i > 9) return w->pos;
    long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return w->pos;
        v = v * 10 + (t[i] - '0');
    }
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

int MessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned flags) {
    State().boxes.push_back({owner, text, caption, flags});
    // As on Windows: the owner is deactivated, and disabling it takes the
    // focus away; when the box closes the owner is activated again.
    TForm* form = owner && W(owner)->owner ? dynamic_cast<TForm*>(W(owner)->owner) : nullptr;
    if (form) form->FireActivate(false);
    for (Widget* w : State().widgets) w->focused = false;
    int answer = (flags & 0xF) == MbYesNo ? ((flags & MbDefButton2) ? IdNo : IdYes) : IdOk;
    if (!State().answers.empty()) {
        answer = State().answers.front();
        State().answers.pop_front();
    }
    if (form) form->FireActivate(true);
    return answer;
}
void SetAppTitle(const std::string& title) { State().appTitle = title; }
std::string AppTitle() { return State().appTitle; }
void RunLoop() {}
void QuitLoop() { State().loopQuit = true; }
void RunModal(Handle form, Handle) {
    if (State().onModal) State().onModal(form);
}
void EndModal(Handle form) { W(form)->modalEnded = true; }
void ProcessPendingMessages() { headless::Log("pending"); }

Size ScreenSize() { return State().screen; }
Rect WorkArea() { return State().workArea; }
Rect DesktopRect() { return State().desktop; }
Rect MonitorRect(Handle window) {
    const std::vector<Rect>& ms = State().monitors;
    if (ms.empty()) return State().desktop;
    // The monitor with the largest share of the window, else the nearest.
    const Rect w = W(window)->sizeState ? W(window)->restored : W(window)->bounds;
    auto overlap = [](int a, int aw, int b, int bw) { return std::max(0, std::min(a + aw, b + bw) - std::max(a, b)); };
    auto gap = [](int a, int aw, int b, int bw) { return std::max(0, std::max(b - (a + aw), a - (b + bw))); };
    const Rect* best = &ms.front();
    long bestArea = -1, bestGap = 0;
    for (const Rect& m : ms) {
        long area = 1L * overlap(w.Left, w.Width, m.Left, m.Width) * overlap(w.Top, w.Height, m.Top, m.Height);
        long g = 1L * gap(w.Left, w.Width, m.Left, m.Width) + gap(w.Top, w.Height, m.Top, m.Height);
        if (area > bestArea || (area == 0 && bestArea == 0 && g < bestGap)) {
            best = &m;
            bestArea = area;
            bestGap = g;
        }
    }
    return *best;
}

std::string CommandLine() { return State().commandLine; }
std::string ExePath() { return State().exePath; }
bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }  // GBK

namespace {
// ASCII letters only, stepping over double-byte characters as the system does.
std::string ChangeCase(std::string s, bool upper) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(c) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (upper && c >= 'a' && c <= 'z') s[i] = static_cast<char>(c - 32);
        if (!upper && c >= 'A' && c <= 'Z') s[i] = static_cast<char>(c + 32);
    }
    return s;
}
}  // namespace
namespace {
// One character through iconv, as the system's code-page tables convert it;
// false when the other side has no such character.
bool ConvertOne(iconv_t cd, const char* in, size_t inLen, std::string& out) {
    char buf[16];
    char* src = const_cast<char*>(in);
    char* dst = buf;
    size_t left = sizeof buf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &inLen, &dst, &left) == static_cast<size_t>(-1) || inLen != 0) return false;
    out.append(buf, sizeof buf - left);
    return true;
}
}  // namespace
std::string AnsiFromUtf16(const std::u16string& text) {
    static iconv_t toAnsi = iconv_open("GBK", "UTF-16LE");
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char16_t units[2] = {c, 0};
        size_t n = 1;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            units[n++] = text[++i];
        char bytes[4];
        for (size_t u = 0; u < n; ++u) {
            bytes[2 * u] = static_cast<char>(units[u] & 0xFF);
            bytes[2 * u + 1] = static_cast<char>(units[u] >> 8);
        }
        if (!ConvertOne(toAnsi, bytes, 2 * n, out)) out += '?';
    }
    return out;
}
std::u16string Utf16FromAnsi(const std::string& text) {
    static iconv_t fromAnsi = iconv_open("UTF-16LE", "GBK");
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
            continue;
        }
        size_t n = IsLeadByte(c) && i + 1 < text.size() ? 2 : 1;
        std::string units;
        if (!ConvertOne(fromAnsi, text.data() + i, n, units)) units = std::string("?\0", 2);
        for (size_t u = 0; u + 1 < units.size(); u += 2)
            out += static_cast<char16_t>(static_cast<unsigned char>(units[u]) |
                                         static_cast<unsigned char>(units[u + 1]) << 8);
        i += n - 1;
    }
    return out;
}
std::string AnsiLowerCase(const std::string& text) { return ChangeCase(text, false); }
std::string AnsiUpperCase(const std::string& text) { return ChangeCase(text, true); }
DateTime LocalNow() { return State().localNow; }
LocaleTexts LocaleInfo() { return State().locale; }
bool UserName(std::string& name) {
    if (!State().userNameOk) return false;
    name = State().userName;
    return true;
}
Handle ForegroundWindow() { return State().foreground; }
Handle CaptureFocus(Handle foreground) { return foreground ? State().focus : nullptr; }
void SleepMs(int ms) { headless::Log("sleep " + std::to_string(ms)); }

int PanelCount(Handle) {
    headless::Log("count");
    return static_cast<int>(State().panel.size());
}
std::string PanelText(Handle, int index) {
    headless::Log("text " + std::to_string(index));
    if (index < 0 || index >= static_cast<int>(State().panel.size())) return std::string();
    std::string t = State().panel[index].text;
    if (t.size() > 1023) t.resize(1023);
    return t;
}
void PanelSelect(Handle, int index) {
    headless::Log("sel " + std::to_string(index));
    if (index >= 0 && index < static_cast<int>(State().panel.size())) State().panel[index].selected = true;
}
void ActivateWindow(Handle) { headless::Log("activate"); }
void SendKeys(const std::vector<unsigned short>& keys) {
    headless::Log("keys " + std::to_string(keys.size()));
    State().sentKeys.insert(State().sentKeys.end(), keys.begin(), keys.end());
}
void ShellOpen(const std::string& path, const std::string& dir) {
    headless::Log("open " + path);
    State().shellOpened.push_back({path, dir});
}

}  // namespace plat

// The headless backend's system: the world a test sets up, message boxes,
// the event loops, the screen, the process, text conversion, the locale and
// the file manager's panel.
#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "Controls.h"
#include "Forms.h"
#include "Headless.h"

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

}  // namespace headless

using headless::State;
using headless::W;
using headless::Widget;

namespace plat {

int MessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned flags) {
    State().boxes.push_back({owner, text, caption, flags});
    // As on Windows: the owner is deactivated, and disabling it takes the
    // focus away; when the box closes the owner is activated again. A box
    // without an owner deactivates the active form (the one that has the
    // focus), which is activated again after it as the next window.
    Widget* active = owner ? W(owner) : nullptr;
    for (Widget* w : State().widgets)
        if (!owner && w->focused) active = w;
    while (active && active->parent) active = active->parent;
    TForm* form = active && active->owner ? dynamic_cast<TForm*>(active->owner) : nullptr;
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

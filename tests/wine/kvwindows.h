// Real key presses through the input queue, and the windows of another
// process as a user sees them: focus, texts, message boxes, bounds, lists
// and hints.
#pragma once
#include "kvhost.h"

#include <commctrl.h>

namespace kv {

// ------------------------------------------------------------ real key presses

// One keyboard record for SendInput: a press or a release, with its scan code.
inline INPUT KeyRecord(WORD vk, bool up, bool scan = true) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    if (scan) i.ki.wScan = (WORD)MapVirtualKeyA(vk, 0);
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return i;
}

// The records that press `held` in order, press and release each of
// `tapped` in turn, and release `held` in reverse.
inline std::vector<INPUT> KeyTaps(const std::vector<WORD>& held, const std::vector<WORD>& tapped, bool scan = true) {
    std::vector<INPUT> in;
    for (WORD k : held) in.push_back(KeyRecord(k, false, scan));
    for (WORD k : tapped)
        for (bool up : {false, true}) in.push_back(KeyRecord(k, up, scan));
    for (auto k = held.rbegin(); k != held.rend(); ++k) in.push_back(KeyRecord(*k, true, scan));
    return in;
}

inline void SendRecords(const std::vector<INPUT>& in) {
    SendInput((UINT)in.size(), const_cast<INPUT*>(in.data()), sizeof(INPUT));
}

// Keys held with a modifier need a settled focus under Wine: its X11 driver
// answers each KeymapNotify (sent with every FocusIn and EnterNotify, that
// is after every change of the focus window or of the window under the
// pointer) by releasing every key that X does not hold, and injected keys
// are never down in X. Between an injected Alt and its letter, that turns
// Alt+S into a typed "s" (Wine's keyboard trace: "Adjusting state for vkey
// 0xa4" while the focus came back from a closed dialog). A person's keys are
// down in X, so a user never meets this. So a chord first holds a sentinel
// key that no control uses (F24) until any pending KeymapNotify has released
// it, keeps it down over the chord, and says so when it was released there.
const WORD kSentinelKey = VK_F24;

inline void SettledChord(const std::vector<INPUT>& chord) {
    auto sentinel = [](bool up) { SendRecords({KeyRecord(kSentinelKey, up, false)}); };
    auto down = [] { return (GetAsyncKeyState(kSentinelKey) & 0x8000) != 0; };
    sentinel(false);
    // A focus change made just before is answered within milliseconds; a
    // released sentinel says it has been handled.
    if (Poll([&] { return !down(); }, 150)) sentinel(false);
    SendRecords(chord);
    bool crossed = !down();
    sentinel(true);
    if (crossed) Print("INFO " + g_case + ": a KeymapNotify released the keys of a chord under way");
}

// Key presses through the system's input queue, as a keyboard makes them:
// they reach whatever control has the keyboard focus, so a lost focus
// shows. `mods` (VK_SHIFT, VK_CONTROL) are held around the key.
inline void SendKey(WORD vk, std::initializer_list<WORD> mods = {}) {
    std::vector<INPUT> in = KeyTaps(mods, {vk});
    if (mods.size()) SettledChord(in);
    else SendRecords(in);
    Sleep(30);
}

// Presses the keys in order and releases them in reverse, as one chord
// (VK_MENU, 'S' is Alt+S), into whatever has the focus.
inline void Chord(std::initializer_list<WORD> keys) {
    SettledChord(KeyTaps(std::vector<WORD>(keys.begin(), keys.end() - 1), {*(keys.end() - 1)}, false));
}

// Real key presses, into whatever has the keyboard focus: each key of
// `keys` pressed and released in turn, with `alt` held over all of them.
inline void Keys(const std::vector<WORD>& keys, bool alt = false, DWORD pauseMs = 80) {
    if (alt) {
        SettledChord(KeyTaps({VK_MENU}, keys));
        Sleep(pauseMs);
        return;
    }
    for (WORD k : keys) {
        SendRecords(KeyTaps({}, {k}));
        Sleep(pauseMs);
    }
}

// Lower-case letters, digits and '.' typed key by key.
inline void SendText(const std::string& text) {
    for (char c : text) SendKey((WORD)(VkKeyScanA(c) & 0xFF));
}

// Types text through the input queue, as a keyboard would: the characters
// come after the keys pressed before them. Type's sent characters can
// overtake such keys (Alt+C handled after "p" was typed selects it, and the
// next letter replaces it).
inline void TypeQueued(const std::string& text) {
    std::vector<INPUT> in;
    for (wchar_t c : Wide(text))
        for (bool up : {false, true}) {
            INPUT k = {};
            k.type = INPUT_KEYBOARD;
            k.ki.wScan = c;
            k.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            in.push_back(k);
        }
    SendRecords(in);
}

// Text put on the clipboard and pasted with Ctrl+V into whatever has the
// focus; false when the clipboard did not take it.
inline bool Paste(const std::string& text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    bool put = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    if (put) SendKey('V', {VK_CONTROL});
    return put;
}

// Text as a user gives it: typed through the input queue, or pasted when it
// holds a double-byte character. Typed, such a character needs an input
// method, which Wine does not run here, and reaches an ANSI window as "?".
inline void PutText(const std::string& text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; })) TypeQueued(text);
    else Paste(text);
}

// ------------------------------------------------------------ windows

// The control that has the keyboard focus in the thread of window `top`.
inline HWND FocusOf(HWND top) {
    GUITHREADINFO gi = {};
    gi.cbSize = sizeof gi;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gi) ? gi.hwndFocus : nullptr;
}

// Puts `top` in front and waits until its own thread has taken the
// activation and given the focus back to one of its controls. Until then a
// key can be lost, or open a menu that the late activation closes again.
inline void BringToFront(HWND top) {
    SetForegroundWindow(top);
    Poll([&] {
        HWND f = FocusOf(top);
        return GetForegroundWindow() == top && f && (f == top || IsChild(top, f));
    }, 3000);
    // The activation reaches the other thread as a sent message; one more
    // sent message returns only after it has been handled.
    DWORD_PTR r = 0;
    SendMessageTimeoutA(top, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &r);
}

inline std::string ClassOf(HWND h) {
    char b[256] = {};
    GetClassNameA(h, b, sizeof b);
    return b;
}

// Where a key pressed now would go, for a failure's detail.
inline std::string KeyTarget(HWND top) {
    return "in front " + ClassOf(GetForegroundWindow()) + ", focus " + ClassOf(FocusOf(top));
}

// The text of a window of another process, asked of the window itself.
inline std::string TextOf(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &len)) return "";
    std::vector<char> buf(len + 2, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), (LPARAM)buf.data(), SMTO_ABORTIFHUNG, 3000, &got);
    return std::string(buf.data());
}

inline std::vector<HWND> TopWindows(DWORD pid) {
    struct Ctx {
        DWORD pid;
        std::vector<HWND> found;
    } ctx{pid, {}};
    EnumWindows([](HWND h, LPARAM lp) -> BOOL CALLBACK {
        auto* c = (Ctx*)lp;
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p == c->pid) c->found.push_back(h);
        return TRUE;
    }, (LPARAM)&ctx);
    return ctx.found;
}

// The first top-level window of class `cls` of process `pid`; a visible
// one unless `hiddenToo`.
inline HWND TopWindowOf(DWORD pid, const char* cls, bool hiddenToo) {
    for (HWND h : TopWindows(pid))
        if ((hiddenToo || IsWindowVisible(h)) && ClassOf(h) == cls) return h;
    return nullptr;
}
inline HWND VisibleWindow(DWORD pid, const char* cls) { return TopWindowOf(pid, cls, false); }
inline HWND AnyWindow(DWORD pid, const char* cls) { return TopWindowOf(pid, cls, true); }

struct Box {
    std::string title, text;
    std::vector<int> buttons;
    int defButton = 0;
};

inline Box ReadBox(HWND dlg) {
    Box b;
    b.title = TextOf(dlg);
    if (HWND s = GetDlgItem(dlg, 0xFFFF)) b.text = TextOf(s);
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) != "Button" || !IsWindowVisible(c)) continue;
        int id = GetDlgCtrlID(c);
        b.buttons.push_back(id);
        if ((GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) b.defButton = id;
    }
    std::sort(b.buttons.begin(), b.buttons.end());
    return b;
}

// A control anywhere below a window (buttons may sit on a panel).
inline HWND Control(HWND parent, int id) {
    std::pair<int, HWND> ctx{id, nullptr};
    EnumChildWindows(parent, [](HWND h, LPARAM lp) -> BOOL CALLBACK {
        auto* c = (std::pair<int, HWND>*)lp;
        if (GetDlgCtrlID(h) != c->first) return TRUE;
        c->second = h;
        return FALSE;
    }, (LPARAM)&ctx);
    return ctx.second;
}

inline void Press(HWND dlg, int id) {
    if (HWND b = GetDlgItem(dlg, id)) PostMessageA(b, BM_CLICK, 0, 0);
}

inline int ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
inline int ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }

inline RECT Bounds(HWND h) {
    RECT r = {};
    GetWindowRect(h, &r);
    return r;
}

// A control's bounds in the client area of `top`.
inline RECT BoundsIn(HWND top, HWND control) {
    RECT r = Bounds(control);
    MapWindowPoints(HWND_DESKTOP, top, (POINT*)&r, 2);
    return r;
}

inline std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

// The items of another process's list box or drop-down list. Asked in
// UTF-16: Wine hands an ANSI caller UTF-16 text across processes.
inline std::vector<std::string> ItemsOf(HWND list, bool combo = false) {
    std::vector<std::string> r;
    DWORD_PTR n = 0;
    SendMessageTimeoutW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &n);
    for (int i = 0; i < (int)n; ++i) {
        DWORD_PTR len = 0;
        SendMessageTimeoutW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 3000, &len);
        std::wstring w(len + 1, L'\0');
        DWORD_PTR got = 0;
        SendMessageTimeoutW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, (LPARAM)&w[0], SMTO_ABORTIFHUNG, 3000, &got);
        r.push_back(FromWide(w.c_str()));
    }
    return r;
}

// The hint of a control: the tooltip tool registered for it in the other
// process. The tool record and the text buffer must live in that process.
struct Hint {
    bool found = false;
    UINT flags = 0;
    std::string text;
};

inline Hint ReadHint(DWORD pid, HWND control) {
    Hint r;
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                  PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!proc) return r;
    const SIZE_T textChars = 8192;
    BYTE* remote = (BYTE*)VirtualAllocEx(proc, nullptr, sizeof(TTTOOLINFOW) + textChars * 2,
                                         MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) {
        CloseHandle(proc);
        return r;
    }
    WCHAR* remoteText = (WCHAR*)(remote + sizeof(TTTOOLINFOW));
    std::vector<WCHAR> text(textChars, 0);
    // `ti`, pointing at a cleared text buffer, sent with `msg` and read back.
    auto ask = [&](HWND tip, UINT msg, WPARAM wp, TTTOOLINFOW& ti) {
        ti.lpszText = remoteText;
        std::fill(text.begin(), text.end(), 0);
        WriteProcessMemory(proc, remoteText, text.data(), textChars * 2, nullptr);
        WriteProcessMemory(proc, remote, &ti, sizeof ti, nullptr);
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tip, msg, wp, (LPARAM)remote, SMTO_ABORTIFHUNG, 3000, &ok);
        ReadProcessMemory(proc, remote, &ti, sizeof ti, nullptr);
        ReadProcessMemory(proc, remoteText, text.data(), (textChars - 1) * 2, nullptr);
        return ok != 0;
    };
    for (HWND tip : TopWindows(pid)) {
        if (ClassOf(tip) != TOOLTIPS_CLASSA) continue;
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &count);
        for (DWORD_PTR i = 0; i < count && !r.found; ++i) {
            TTTOOLINFOW ti = {};
            ti.cbSize = sizeof ti;
            if (!ask(tip, TTM_ENUMTOOLSW, i, ti) || ti.uId != (UINT_PTR)control) continue;
            r.found = true;
            r.flags = ti.uFlags;
            // Ask for the text the tooltip would show (also answers a
            // tool whose text comes from a callback).
            ask(tip, TTM_GETTEXTW, textChars, ti);
            r.text = FromWide(text.data());
        }
        if (r.found) break;
    }
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    CloseHandle(proc);
    return r;
}

}  // namespace kv

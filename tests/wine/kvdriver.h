// The driver shared by the Wine test programs: reporting, files, windows of
// another process, and one run of Korvalin through the stand-in file manager.
#pragma once
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "Utils.h"

namespace kv {

// ------------------------------------------------------------ reporting

inline int g_passed = 0, g_failed = 0;
inline std::string g_case;  // "group/variant" of the running case

// Text in the ANSI code page, as UTF-16.
inline std::wstring Wide(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), &w[0], n);
    return w;
}

// UTF-16 text in code page `cp`.
inline std::string FromWide(const std::wstring& w, UINT cp = CP_ACP) {
    if (w.empty()) return "";
    int m = WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string a(m > 0 ? m : 0, '\0');
    WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), &a[0], m, nullptr, nullptr);
    return a;
}

// The terminal reads UTF-8; Korvalin's texts are in the ANSI code page.
inline std::string ToUtf8(const std::string& ansi) { return FromWide(Wide(ansi), CP_UTF8); }

// Control characters made visible, so that a stray CR or LF shows.
inline std::string Show(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        if (c == '\r') r += "\\r";
        else if (c == '\n') r += "\\n";
        else if (c == '\t') r += "\\t";
        else if (c < 0x20) { char b[8]; snprintf(b, sizeof b, "\\x%02X", c); r += b; }
        else r += (char)c;
    }
    return r + "\"";
}

inline void Print(const std::string& line) {
    std::string u = ToUtf8(line) + "\n";
    fwrite(u.data(), 1, u.size(), stdout);
    fflush(stdout);
}

inline bool Check(bool ok, const std::string& what, const std::string& detail = "") {
    ++(ok ? g_passed : g_failed);
    Print((ok ? "PASS " : "FAIL ") + g_case + ": " + what + (ok || detail.empty() ? "" : ": " + detail));
    return ok;
}

inline bool CheckEq(const std::string& got, const std::string& want, const std::string& what) {
    return Check(got == want, what, "got " + Show(got) + ", want " + Show(want));
}

inline bool CheckEq(long got, long want, const std::string& what) {
    return Check(got == want, what, "got " + std::to_string(got) + ", want " + std::to_string(want));
}

// ------------------------------------------------------------ files

// The folder of a path, with its backslash; by character, as the program
// itself takes paths apart (a second byte 0x5C is no separator).
inline std::string Dir(const std::string& path) {
    size_t p = LastDelimiter("\\/", path);
    return p == std::string::npos ? "" : path.substr(0, p + 1);
}

inline bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool IsDir(const std::string& p) {
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool ReadAll(const std::string& path, std::string& out) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    out.clear();
    char buf[4096];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return true;
}

// A file's bytes, or `missing` when it cannot be read.
inline std::string FileText(const std::string& path, const std::string& missing = "") {
    std::string t;
    return ReadAll(path, t) ? t : missing;
}

inline bool WriteAll(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, data.data(), (DWORD)data.size(), &n, nullptr);
    CloseHandle(h);
    return ok && n == data.size();
}

// The lines of a text, without their CR LF or LF.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> r;
    for (size_t i = 0; i < text.size();) {
        size_t e = std::min(text.find('\n', i), text.size());
        r.push_back(text.substr(i, e - i));
        if (!r.back().empty() && r.back().back() == '\r') r.back().pop_back();
        i = e + 1;
    }
    return r;
}

struct IniEntry {
    std::string section, key, value;
};

// The entries of an ini file in file order; blank lines are not entries.
inline std::vector<IniEntry> ParseIni(const std::string& text) {
    std::vector<IniEntry> r;
    std::string section;
    for (std::string l : Lines(text)) {
        while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.pop_back();
        if (l.empty()) continue;
        if (l.front() == '[' && l.back() == ']') {
            section = l.substr(1, l.size() - 2);
            continue;
        }
        size_t eq = l.find('=');
        if (eq == std::string::npos) r.push_back({section, l, ""});
        else r.push_back({section, l.substr(0, eq), l.substr(eq + 1)});
    }
    return r;
}

inline const IniEntry* Find(const std::vector<IniEntry>& ini, const std::string& sec, const std::string& key) {
    for (const auto& e : ini)
        if (e.section == sec && e.key == key) return &e;
    return nullptr;
}

// The value of a key, or "(missing)".
inline std::string IniValueOf(const std::vector<IniEntry>& ini, const std::string& sec, const std::string& key) {
    const IniEntry* e = Find(ini, sec, key);
    return e ? e->value : "(missing)";
}


// Wine's own helper: the host path behind a Windows path (the string is
// allocated on the process heap).
inline std::string UnixPath(const std::string& path) {
    typedef char*(CDECL * Fn)(LPCWSTR);
    Fn fn = (Fn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    char* p = fn ? fn(Wide(path).c_str()) : nullptr;
    if (!p) return "";
    std::string r = p;
    HeapFree(GetProcessHeap(), 0, p);
    return r;
}

// One argument for a program that splits its command line the usual way.
inline std::string Quote(const std::string& a) {
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
    std::string r = "\"";
    size_t slashes = 0;
    for (char c : a) {
        if (c == '\\') { ++slashes; continue; }
        if (c == '"') r.append(slashes * 2 + 1, '\\');
        else r.append(slashes, '\\');
        slashes = 0;
        r += c;
    }
    r.append(slashes * 2, '\\');
    return r + "\"";
}

inline bool Poll(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
}

// Starts `cmd` in folder `dir` (null: this one), trying up to `tries`
// times: Wine now and then refuses a start with an internal error (1359)
// just after other processes of the case have ended, and a second try then
// succeeds. The thread handle is closed; on failure GetLastError says why.
inline bool StartProcess(const std::string& cmd, const char* dir, PROCESS_INFORMATION& pi, int tries = 1) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (attempt) Sleep(300);
        if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, dir, &si, &pi)) continue;
        if (pi.hThread) CloseHandle(pi.hThread);
        return true;
    }
    return false;
}

// Starts a host program through Wine; the caller watches for its effect.
// Wine starts such a program with no Windows process behind it and leaves
// stray values in the handles it hands back, which may equal a handle of
// ours (once the standard output, and every later check line was lost), so
// they are left alone.
inline bool StartHostProgram(const std::string& cmd) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    return CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
}

// The host's immutable flag set on or off for `path`, until `holds` says
// it has taken effect; why not, or "". Read-only modes would not do: Wine
// as root writes such files anyway.
inline std::string SetHostImmutable(const std::string& path, bool on, const std::function<bool()>& holds) {
    std::string unix = UnixPath(path);
    if (unix.empty()) return "no host path for " + path;
    for (const char* chattr : {"Z:\\usr\\bin\\chattr", "Z:\\bin\\chattr"}) {
        if (!Exists(chattr)) continue;
        if (!StartHostProgram(std::string(chattr) + (on ? " +i " : " -i ") + Quote(unix)))
            return std::string("cannot run ") + chattr;
        return Poll(holds, 10000) ? "" : "chattr had no effect on " + unix;
    }
    return "no chattr program";
}

// Whether a new file `path` can be made, or (`existing`) the file opened for writing.
inline bool Writable(const std::string& path, bool existing) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, existing ? FILE_SHARE_READ : 0, nullptr,
                           existing ? OPEN_EXISTING : CREATE_NEW, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    if (!existing) DeleteFileA(path.c_str());
    return true;
}

// A file that nobody may write, not even root.
inline std::string SetImmutable(const std::string& path, bool on) {
    return SetHostImmutable(path, on, [=] { return Writable(path, true) != on; });
}

// A folder in which no new file can be made, not even by root (its files
// can still be rewritten), checked with a probe file.
inline std::string SetFolderImmutable(const std::string& dir, bool on) {
    return SetHostImmutable(dir, on, [=] { return Writable(dir + "probe.tmp", false) != on; });
}

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

inline std::string g_bin;       // folder of kvtest.exe, fakefm.exe, barewin.exe
inline std::string g_korvalin;  // the korvalin.exe under test
inline std::string g_root;      // where the case folders go
inline int g_caseNo = 0;

// The host path of `name` in the build folder: the one above kvtest.exe's.
inline std::string BuildFile(const std::string& name) {
    std::string build = UnixPath(g_bin);
    if (build.size() > 1 && build.back() == '/') build.pop_back();
    return build.substr(0, build.find_last_of('/') + 1) + name;
}

// Saves the whole virtual screen as a PNG file on the host (`unixPath`).
inline bool Screenshot(const std::string& unixPath) {
    std::string win = "Z:" + unixPath;
    std::replace(win.begin(), win.end(), '/', '\\');
    DeleteFileA(win.c_str());
    Sleep(500);  // what was just shown has painted
    if (!StartHostProgram("Z:\\usr\\bin\\import -window root " + Quote(unixPath))) return false;
    DWORD last = (DWORD)-1;
    return Poll([&] {
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (!GetFileAttributesExA(win.c_str(), GetFileExInfoStandard, &a) || !a.nFileSizeLow) return false;
        bool steady = a.nFileSizeLow == last;
        last = a.nFileSizeLow;
        return steady;
    }, 15000);
}

// ------------------------------------------------------------ one session

// One run of Korvalin, started by the stand-in file manager on a demo
// folder, in a fresh case folder with its own copy of korvalin.exe.
struct Run {
    std::string dir;   // case folder, with trailing backslash
    std::string exe;   // korvalin.exe in it
    std::string ini;   // the ini file beside it
    std::string demo;  // the panel's folder, with trailing backslash
    std::string log;   // fakefm's log
    HANDLE fm = nullptr, kv = nullptr;
    DWORD kvPid = 0;
    DWORD fmTimeout = 60000;  // fakefm stops Korvalin after this many ms

    // A run on a given panel folder and program, outside the case folders.
    Run(const std::string& panel, const std::string& program, const std::string& logFile)
        : dir(Dir(program)), exe(program), ini(program.substr(0, program.size() - 4) + ".ini"),
          demo(panel), log(logFile) {
        if (!demo.empty() && demo.back() != '\\') demo += '\\';
    }

    Run() {
        char name[32];
        snprintf(name, sizeof name, "%02d-", ++g_caseNo);
        std::string tag = g_case;
        std::replace(tag.begin(), tag.end(), '/', '-');
        std::replace(tag.begin(), tag.end(), ' ', '_');
        dir = g_root + name + tag + "\\";
        exe = dir + "korvalin.exe";
        ini = dir + "korvalin.ini";
        log = dir + "fakefm.log";
        demo = dir + "demo\\";
        for (const std::string& d : {dir, demo, demo + "old folder"}) CreateDirectoryA(d.c_str(), nullptr);
        WriteAll(demo + "a.txt", "alpha\r\n");
        WriteAll(demo + "b c.txt", "");
        if (!CopyFileA(g_korvalin.c_str(), exe.c_str(), FALSE))
            Check(false, "copy korvalin.exe", "error " + std::to_string(GetLastError()));
    }

    ~Run() { Stop(); }

    // fakefm's log lines of `tag` (the tag alone, or with a blank and a
    // value), each without the tag.
    std::vector<std::string> Logged(const std::string& tag) const {
        std::string t;
        ReadAll(log, t);
        std::vector<std::string> r;
        for (const auto& l : Lines(t))
            if (l == tag) r.push_back("");
            else if (l.compare(0, tag.size() + 1, tag + " ") == 0) r.push_back(l.substr(tag.size() + 1));
        return r;
    }

    std::string LogValue(const std::string& tag) const {
        std::vector<std::string> v = Logged(tag);
        return v.empty() ? "" : v.front();
    }

    bool Start(const std::vector<std::string>& fmArgs) {
        std::string cmd = Quote(g_bin + "fakefm.exe") + " --dir " + Quote(demo.substr(0, demo.size() - 1)) +
                          " --exe " + Quote(exe) + " --log " + Quote(log) + " --timeout " + std::to_string(fmTimeout);
        for (const auto& a : fmArgs) cmd += " " + Quote(a);
        PROCESS_INFORMATION pi;
        if (!StartProcess(cmd, dir.c_str(), pi, 3))
            return Check(false, "start fakefm.exe", "error " + std::to_string(GetLastError()));
        fm = pi.hProcess;
        if (!Poll([&] { return !LogValue("PID").empty() || !LogValue("STARTFAILED").empty(); }, 15000))
            return Check(false, "fakefm starts korvalin.exe", "no PID in its log");
        kvPid = strtoul(LogValue("PID").c_str(), nullptr, 10);
        if (!kvPid) return Check(false, "fakefm starts korvalin.exe", "STARTFAILED " + LogValue("STARTFAILED"));
        kv = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, kvPid);
        return true;
    }

    bool KorvalinEnded(DWORD ms) { return !kv || WaitForSingleObject(kv, ms) == WAIT_OBJECT_0; }

    // Korvalin's exit code, as fakefm saw it; false when it did not end.
    bool ExitCode(int& code, DWORD ms = 10000) {
        std::string v = fm && WaitForSingleObject(fm, ms) == WAIT_OBJECT_0 ? LogValue("EXIT") : "";
        if (!v.empty()) code = atoi(v.c_str());
        return !v.empty();
    }

    // Korvalin stopped at once, the panel given time to write its last lines.
    void Stop() {
        for (auto [h, ms] : {std::pair<HANDLE*, DWORD>{&kv, 0}, {&fm, 5000}}) {
            if (!*h) continue;
            if (WaitForSingleObject(*h, ms) != WAIT_OBJECT_0) TerminateProcess(*h, 99);
            CloseHandle(*h);
            *h = nullptr;
        }
    }
};

// fakefm's log lines of `tag`, as Run::Logged.
inline std::vector<std::string> LogWith(const Run& run, const std::string& tag) { return run.Logged(tag); }

// Lines as the text box holds them: joined by CR LF, none after the last.
inline std::string Join(const std::vector<std::string>& lines, const char* sep = "\r\n") {
    std::string r;
    for (size_t i = 0; i < lines.size(); ++i) r += (i ? sep : "") + lines[i];
    return r;
}

// What a user does with one Korvalin window: the stand-in file manager
// starts it on the case's panel folder, the window comes up with the
// activation and the keyboard focus, lines go into the text box, keys go
// through the input queue into whatever has the focus, a message box is
// answered, and the window is closed. Every case file drives Korvalin
// through this, so that all wait for the same things.
struct Session {
    Run run;
    HWND main = nullptr, edit = nullptr;

    Session() = default;
    Session(const std::string& panel, const std::string& program, const std::string& log)
        : run(panel, program, log) {}

    // Waits up to `ms` for Korvalin's visible top window of class `cls`;
    // null at once when Korvalin has ended.
    HWND WaitWindow(const char* cls, DWORD ms) const {
        HWND h = nullptr;
        Poll([&] { return (h = VisibleWindow(run.kvPid, cls)) != nullptr || !run.kv ||
                          WaitForSingleObject(run.kv, 0) == WAIT_OBJECT_0; }, ms);
        return h;
    }

    // Starts Korvalin, with `ini` written beside it first unless empty, and
    // waits until its show step has put the panel folder into the caption
    // and its thread holds the activation and the focus: a key pressed
    // earlier can be lost, or land in the file manager's window.
    bool Open(const std::string& ini = "", const std::vector<std::string>& fmArgs = {}) {
        if (!ini.empty()) WriteAll(run.ini, ini);
        if (!run.Start(fmArgs)) return false;
        main = WaitWindow("TfomMain", 15000);
        edit = main ? Control(main, 100) : nullptr;
        HWND box = edit ? nullptr : Box();
        if (!Check(edit != nullptr, "main window with its text box appears",
                   box ? "a message box came instead: " + Show(ReadBox(box).text) : ""))
            return false;
        Poll([&] { return TextOf(main).find(" - ") != std::string::npos; }, 3000);
        BringToFront(main);
        Sleep(150);  // the rest of the show step: list, sizing, hint
        return true;
    }

    // The text box's lines, set at once with the caret at their end, as a
    // paste leaves them.
    bool SetLines(const std::string& text) {
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 10000, &r) || !r)
            return false;
        SendMessageTimeoutA(edit, EM_SETSEL, text.size(), text.size(), SMTO_ABORTIFHUNG, 3000, &r);
        return true;
    }
    bool SetLines(const std::vector<std::string>& lines) { return SetLines(Join(lines)); }

    std::string Text() const { return TextOf(edit); }
    bool WaitText(const std::string& want, DWORD ms = 3000) const {
        return Poll([&] { return TextOf(edit) == want; }, ms);
    }

    // A key, with `mods` held, into whatever has the focus in Korvalin's
    // window, which is put in front first.
    void Press(WORD vk, std::initializer_list<WORD> mods = {}) {
        BringToFront(main);
        SendKey(vk, mods);
    }
    // Enter (with `mod` held, when not 0), the key that confirms the lines.
    void Confirm(WORD mod = 0) {
        if (mod) Press(VK_RETURN, {mod});
        else Press(VK_RETURN);
    }

    HWND Box() const { return VisibleWindow(run.kvPid, "#32770"); }
    HWND WaitBox(DWORD ms = 10000) const {
        HWND h = WaitWindow("#32770", ms);
        if (h) Sleep(200);  // its buttons and focus settle
        return h;
    }
    // Clicks button `id` of the box in front and waits until it is gone.
    bool Answer(int id, DWORD ms = 10000) {
        HWND box = WaitBox(ms);
        if (!box) return false;
        kv::Press(box, id);
        return Poll([&] { return !IsWindow(box); }, 5000);
    }

    HWND Popup() const { return VisibleWindow(run.kvPid, "#32768"); }

    // Alt+N with the window in front; true once the naming menu shows.
    bool OpenMenu() {
        BringToFront(main);
        Keys({'N'}, true);
        return Poll([&] { return Popup() != nullptr; }, 3000);
    }
    // Opens the naming menu, walks it with `keys` and waits until the
    // lines change; false when they do not.
    bool Apply(const std::vector<WORD>& keys, const std::string& what) {
        std::string before = Text();
        if (!Check(OpenMenu(), what + ": Alt+N opens the menu")) return false;
        Keys(keys);
        bool changed = Poll([&] { return Text() != before; }, 5000);
        Poll([&] { return Popup() == nullptr; }, 2000);
        return changed;
    }

    // Escape, and Korvalin ends.
    bool Close() {
        Press(VK_ESCAPE);
        return run.KorvalinEnded(10000);
    }
};

// Korvalin ended within `ms`, as the stand-in panel saw it, with exit code
// `want`.
inline bool CheckExit(Session& s, const std::string& what, int want = 0, DWORD ms = 10000) {
    int code = 0;
    return Check(s.run.ExitCode(code, ms), what) && CheckEq(code, want, "exit code");
}

// ------------------------------------------------------------ the groups

// Each case file's groups, which kvtest.exe runs by name.
void CaseInitListGroup();   // kvcreate.cpp: the initial list,
void CaseLinesGroup();      // typed lines,
void CaseTemplatesGroup();  // templates,
void CaseQuestionsGroup();  // the replace and failure questions,
void CaseBadInputGroup(int manyLines);  // bad input, and
void CaseLongNamesGroup();  // names near MAX_PATH (run again under a deep root)
void CaseNamingGroup();     // kvnaming.cpp: the naming menu
void CaseFocusGroup();      // kvfocus.cpp: the focus after a box and a switch,
void CaseTabGroup();        // Tab between the controls,
void CasePasteGroup();      // a long paste,
void CaseAppDirGroup();     // a program folder with a double-byte name,
void CaseIniSaveGroup();    // how the ini file is saved
void CaseConfigGroup();     // kvconfig.cpp: the settings dialog
void CaseHandBackGroup();   // kvhandback.cpp: marking and opening the new items
void CaseReleaseGroup(const std::string& unpacked);  // kvrelease.cpp: the release zip
void CaseOffPathGroup();    // kvhardening.cpp: away from the first path
void CaseIniFileGroup();    // kvinifile.cpp: UTF-16 and locked ini files
void CaseClockGroup();      // kvclock.cpp: 12- and 24-hour system clocks
void CaseDpiGroup();        // kvdpi.cpp: the windows at 96 to 192 dpi

}  // namespace kv

// What the Wine test programs share below the windows: reporting a check,
// files and ini text, processes, and the host's immutable flag.
#pragma once
#define _WIN32_WINNT 0x0601
#include <windows.h>

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
// succeeds. The thread handle is closed unless `closeThread` is false; on
// failure GetLastError says why.
inline bool StartProcess(const std::string& cmd, const char* dir, PROCESS_INFORMATION& pi, int tries = 1,
                         bool closeThread = true) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (attempt) Sleep(300);
        if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, dir, &si, &pi)) continue;
        if (closeThread && pi.hThread) CloseHandle(pi.hThread);
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
    PROCESS_INFORMATION pi;
    return StartProcess(cmd, nullptr, pi, 1, false);
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

}  // namespace kv

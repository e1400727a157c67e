// What several case files share beyond the driver: ini files of one section,
// numbered names, the user's registry set for one case, and the text box's
// lines in sight.
#pragma once
#include "kvdriver.h"

#include <cstdint>

namespace kv {

// An ini file of one section with the keys "Key=value Key=value"; none for "".
inline std::string IniSection(const std::string& section, const std::string& keys) {
    std::string t;
    for (size_t i = 0, e; i < keys.size(); i = e + 1) {
        e = std::min(keys.find(' ', i), keys.size());
        if (e > i) t += keys.substr(i, e - i) + "\r\n";
    }
    return t.empty() ? t : "[" + section + "]\r\n" + t;
}

// printf(`format`, i) for i from `from` to `to`, either way.
inline std::vector<std::string> Series(int from, int to, const char* format) {
    std::vector<std::string> r;
    for (int i = from;; i += from < to ? 1 : -1) {
        char b[32];
        snprintf(b, sizeof b, format, i);
        r.push_back(b);
        if (i == to) return r;
    }
}

inline uint64_t U64(const FILETIME& f) { return ((uint64_t)f.dwHighDateTime << 32) | f.dwLowDateTime; }

// Values under a key of HKEY_CURRENT_USER for the programs started while it
// lives; what was there before (or its absence) comes back when it ends,
// whatever was checked.
struct UserRegistry {
    struct Value {
        std::string name;
        DWORD type;
        std::string data;  // the stored bytes, a text's with its terminating 0
    };
    static Value Text(const std::string& name, const std::string& s) { return {name, REG_SZ, s + '\0'}; }
    static Value Dword(const std::string& name, DWORD v) { return {name, REG_DWORD, std::string((char*)&v, 4)}; }
    HKEY key = nullptr;
    bool ok = false;  // the key opened and every value set
    std::vector<Value> saved;

    UserRegistry(const std::string& path, const std::vector<Value>& values) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                            nullptr)) {
            key = nullptr;
            return;
        }
        ok = true;
        for (const Value& v : values) {
            saved.push_back({v.name, REG_NONE, ""});
            Value& old = saved.back();
            DWORD size = 0;
            if (RegQueryValueExA(key, v.name.c_str(), nullptr, &old.type, nullptr, &size)) old.type = REG_NONE;
            old.data.resize(size);
            if (size) RegQueryValueExA(key, v.name.c_str(), nullptr, nullptr, (BYTE*)&old.data[0], &size);
            if (RegSetValueExA(key, v.name.c_str(), 0, v.type, (const BYTE*)v.data.data(), (DWORD)v.data.size()))
                ok = false;
        }
    }
    ~UserRegistry() {
        for (const Value& v : saved)
            if (v.type == REG_NONE) RegDeleteValueA(key, v.name.c_str());
            else RegSetValueExA(key, v.name.c_str(), 0, v.type, (const BYTE*)v.data.data(), (DWORD)v.data.size());
        if (key) RegCloseKey(key);
    }
};

// Every line of the text box in sight: the box is scrolled neither way, and
// no line reaches past its right or bottom edge.
inline void CheckLinesInSight(HWND edit, const std::string& what) {
    RECT box = {};
    GetClientRect(edit, &box);
    auto ask = [&](UINT msg, size_t w) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(edit, msg, w, 0, SMTO_ABORTIFHUNG, 3000, &r);
        return (size_t)r;
    };
    auto at = [&](size_t i) {
        const size_t p = ask(EM_POSFROMCHAR, i);
        return POINT{(short)LOWORD(p), (short)HIWORD(p)};
    };
    const size_t first = ask(EM_GETFIRSTVISIBLELINE, 0);
    const std::vector<std::string> lines = Lines(TextOf(edit));
    const POINT origin = at(0);
    Check(first == 0 && origin.x >= 0, "the text box is not scrolled",
          "first line " + std::to_string(first) + ", x " + std::to_string(origin.x));
    const long height = lines.size() > 1 ? at(ask(EM_LINEINDEX, 1)).y - origin.y : 1;
    std::string bad;
    for (size_t i = 0; i < lines.size(); ++i) {
        // Positions as the box counts them: characters, not bytes, in a box
        // that keeps its text as UTF-16.
        const size_t start = ask(EM_LINEINDEX, i), length = ask(EM_LINELENGTH, start);
        // Its first character, its last one, and past it (the line break).
        const POINT a = at(start), z = at(start + length - 1), end = at(start + length);
        if (length && (a.x < 0 || a.y < 0 || z.x >= box.right || end.x > box.right || a.y + height > box.bottom))
            bad += "; " + lines[i] + " at x " + std::to_string(a.x) + ".." + std::to_string(std::max(z.x, end.x)) +
                   " y " + std::to_string(a.y);
    }
    Check(bad.empty(), what, bad.substr(std::min<size_t>(2, bad.size())) + " (text box " + RectText(box) + ")");
}

}  // namespace kv

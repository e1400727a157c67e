// The headless backend's file system: files and folders in memory, keyed as
// Windows compares paths, with the failures a test can script (World).
#include <algorithm>

#include "Headless.h"
#include "Utils.h"

using headless::State;

namespace headless {

// Paths are taken apart by the core's own helpers, which step over the
// second byte of a double-byte character as Windows does: in GBK that byte
// can be 0x5C, and it separates nothing there.
std::string ParentKey(const std::string& key) {
    if (key.size() <= 3 && key.size() >= 2 && key[1] == ':') return std::string();
    std::size_t p = LastDelimiter("\\", key);
    if (p == std::string::npos || p == 0) return std::string();
    return ExtractFileDir(key);
}

// A root ("C:\", "\") is its own folder and keeps its backslash.
std::string StripSlash(std::string key) {
    while (EndsWithBackslash(key) && ExtractFileDir(key) != key) key = ExtractFileDir(key);
    return key;
}

// Windows compares file names without the case of ASCII letters; the second
// byte of a double-byte character is kept as it is, even where it has the
// value of a letter (乤 81 61 and 丄 81 41 are two names).
std::string Key(const std::string& path) {
    std::string k = plat::AnsiUpperCase(path);
    // 0x2F is never the second byte of a GBK character.
    std::replace(k.begin(), k.end(), '/', '\\');
    return StripSlash(k);
}

void Remember(const std::string& key, const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    State().spelling.emplace(key, StripSlash(p));
}

void AddDir(const std::string& path) {
    Remember(Key(path), path);
    for (std::string k = Key(path); !k.empty(); k = ParentKey(k)) State().dirs.insert(k);
}

void AddFile(const std::string& path, const std::string& content) {
    std::string k = Key(path);
    if (!ParentKey(k).empty()) AddDir(ParentKey(k));
    Remember(k, path);
    State().files[k] = content;
}

bool HasFile(const std::string& path) { return State().files.count(Key(path)) > 0; }
bool HasDir(const std::string& path) { return State().dirs.count(Key(path)) > 0; }

std::string FileContent(const std::string& path) {
    auto it = State().files.find(Key(path));
    return it == State().files.end() ? std::string() : it->second;
}

}  // namespace headless

namespace plat {

// ---------------------------------------------------------------- files
// Relative paths resolve against the current directory, as on Windows.
namespace {
std::string Abs(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    bool absolute = (!p.empty() && p[0] == '\\') || (p.size() >= 2 && p[1] == ':');
    if (!absolute && !State().currentDir.empty()) {
        std::string d = State().currentDir;
        if (!EndsWithBackslash(d)) d += '\\';
        p = d + p;
    }
    // "\x" starts at the root of the current directory's drive; "\\srv\x"
    // is a network path and keeps both of its backslashes.
    bool network = p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
    const std::string& cd = State().currentDir;
    if (!network && !p.empty() && p[0] == '\\' && cd.size() >= 2 && cd[1] == ':') p = cd.substr(0, 2) + p;
    // Fold "." and ".." parts as the file system does.
    std::vector<std::string> parts;
    std::string head;
    size_t i = 0;
    if (p.size() >= 2 && p[1] == ':') {
        head = p.substr(0, 2);
        i = 2;
    } else if (network) {
        head = "\\";
        i = 1;
    }
    // The parts are taken apart by character: a second byte 0x5C separates nothing.
    std::vector<std::string> reversed;
    for (std::string rest = p.substr(i); !rest.empty();) {
        std::size_t s = LastDelimiter("\\", rest);
        reversed.push_back(s == std::string::npos ? rest : rest.substr(s + 1));
        rest = s == std::string::npos ? std::string() : rest.substr(0, s);
    }
    for (auto part = reversed.rbegin(); part != reversed.rend(); ++part) {
        if (*part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part->empty() && *part != ".") {
            parts.push_back(*part);
        }
    }
    std::string out = head;
    for (const std::string& s : parts) out += "\\" + s;
    if (out == head) out += "\\";
    return out;
}
std::string K(const std::string& path) { return headless::Key(Abs(path)); }
std::string KR(const std::string& path) {
    std::string a = Abs(path), k = headless::Key(a);
    headless::Remember(k, a);
    return k;
}
std::string NameOf(const std::string& key) {
    auto it = State().spelling.find(key);
    std::string p = it == State().spelling.end() ? key : it->second;
    std::size_t s = LastDelimiter("\\", p);
    return s == std::string::npos ? p : p.substr(s + 1);
}
// By character: a second byte 0x7C (亅 81 7C) is no bar.
bool ValidName(const std::string& key) {
    return LastDelimiter("|<>\"*?", key) == std::string::npos && key.find(':', 2) == std::string::npos;
}
}  // namespace

bool DirectoryExists(const std::string& path) { return State().dirs.count(K(path)) > 0; }
bool FileExists(const std::string& path) { return State().files.count(K(path)) > 0; }
bool ForceDirectories(const std::string& path) {
    std::string k = K(path);
    std::vector<std::string> chain;
    for (std::string p = k; !p.empty() && !State().dirs.count(p); p = headless::ParentKey(p)) {
        if (State().files.count(p) || !ValidName(p) || State().unwritable.count(p)) return false;
        chain.push_back(p);
    }
    for (const std::string& p : chain) State().dirs.insert(p);
    KR(path);
    return true;
}
namespace {
bool CanCreateFile(const std::string& k) {
    std::string parent = headless::ParentKey(k);
    return ValidName(k) && !State().dirs.count(k) && !State().unwritable.count(k) &&
           (parent.empty() || State().dirs.count(parent));
}
}  // namespace
bool CreateEmptyFile(const std::string& path) {
    std::string k = K(path);
    if (CanCreateFile(k)) KR(path);
    if (!CanCreateFile(k)) return false;
    State().files[k] = std::string();
    State().fileTimes.erase(k);
    return true;
}
bool CopyFileReplace(const std::string& from, const std::string& to) {
    auto it = State().files.find(K(from));
    std::string k = K(to);
    if (it == State().files.end() || !CanCreateFile(k)) return false;
    KR(to);
    State().files[k] = it->second;
    State().fileTimes.erase(k);
    return true;
}
std::uint64_t SystemTimeAsFileTime() { return State().now; }
bool SetFileTimes(const std::string& path, std::uint64_t t) {
    std::string k = K(path);
    if (!State().files.count(k)) return false;
    State().fileTimes[k] = t;
    return true;
}
bool ListDirectory(const std::string& dir, std::vector<DirEntry>& entries) {
    std::string k = K(dir);
    if (!State().dirs.count(k) || State().unreadableDirs.count(k)) return false;
    entries.clear();
    entries.push_back({".", true});
    entries.push_back({"..", true});
    auto child = [&](const std::string& key) { return key != k && headless::ParentKey(key) == k; };
    for (const auto& f : State().files)
        if (child(f.first)) entries.push_back({NameOf(f.first), false});
    for (const auto& d : State().dirs)
        if (child(d)) entries.push_back({NameOf(d), true});
    return true;
}
bool SetCurrentDir(const std::string& path) {
    if (path.empty() || !DirectoryExists(path)) return false;
    State().currentDir = Abs(path);
    return true;
}
bool ReadWholeFile(const std::string& path, std::string& content) {
    std::string k = K(path);
    auto it = State().files.find(k);
    if (it == State().files.end()) return false;
    auto held = State().readFailures.find(k);
    if (held != State().readFailures.end() && held->second > 0) {
        --held->second;
        return false;
    }
    content = it->second;
    return true;
}

unsigned ProcessId() { return 4242; }

bool WriteNewFile(const std::string& path, const std::string& content) {
    std::string k = K(path);
    if (!CanCreateFile(k)) return false;
    KR(path);
    State().files[k] = content;
    State().fileTimes.erase(k);
    return true;
}

bool RewriteFile(const std::string& path, const std::string& content) {
    std::string k = K(path);
    if (!State().files.count(k) || State().unwritable.count(k)) return false;
    State().files[k] = content;
    return true;
}

unsigned long ReplaceFileWith(const std::string& path, const std::string& replacement) {
    const unsigned long kFileNotFound = 2, kAccessDenied = 5;
    std::string k = K(path), r = K(replacement);
    auto& files = State().files;
    if (!files.count(k) || !files.count(r)) return kFileNotFound;
    if (State().unwritable.count(k)) return kAccessDenied;
    unsigned long error = 0;
    if (!State().replaceErrors.empty()) {
        error = State().replaceErrors.front();
        State().replaceErrors.pop_front();
    }
    if (error == 1176) {
        files.erase(k);
    } else if (error == 1177) {
        std::string parent = headless::ParentKey(k);
        files[(EndsWithBackslash(parent) ? parent : parent + "\\") + "~RF0001.TMP"] = files[k];
        files.erase(k);
    } else if (error == 0) {
        files[k] = files[r];
        files.erase(r);
    }
    return error;
}

bool MoveFileReplace(const std::string& from, const std::string& to) {
    std::string f = K(from), k = K(to);
    auto it = State().files.find(f);
    if (it == State().files.end() || !CanCreateFile(k)) return false;
    if (State().moveFailures > 0) {
        --State().moveFailures;
        return false;
    }
    std::string content = it->second;
    State().files.erase(it);
    KR(to);
    State().files[k] = content;
    return true;
}

bool RemoveFile(const std::string& path) { return State().files.erase(K(path)) > 0; }

}  // namespace plat

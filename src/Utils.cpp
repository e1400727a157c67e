#include "Utils.h"

#include <vector>

#include "Backend.h"

namespace {
bool IsAsciiLetterByte(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

bool IsAbsolutePath(const std::string& text) {
    if (text.empty()) return false;
    if (text[0] == '\\') return true;
    if (text.size() <= 2) return false;
    if (!IsAsciiLetterByte(text[0])) return false;
    return text[1] == ':' && text[2] == '\\';
}

bool SameCharIgnoreCase(char p, char n) {
    if (p == n) return true;
    if (p >= 'A' && p <= 'Z') return n == p + ('a' - 'A');
    if (p >= 'a' && p <= 'z') return n == p - ('a' - 'A');
    return false;
}

bool MatchNamePattern(const std::string& pattern, const std::string& name) {
    // The set of live pattern positions is walked once per name byte. Each
    // position is kept once only: without that, every '%' doubles the list
    // and a pattern such as "%a%a%a%a%b" against a long run of 'a' grows
    // without bound. With it the work is at most name length x (m + 1).
    const int m = static_cast<int>(pattern.size());
    const int slots = m + 1;

    // Four arrays of `slots` entries: current list, next list, and a stamp
    // per position telling whether it is already in each list.
    enum { kStackPositions = 64 };
    int stackRoom[4 * kStackPositions];
    std::vector<int> heapRoom;
    int* room = stackRoom;
    if (slots > kStackPositions) {
        heapRoom.resize(4 * static_cast<std::size_t>(slots));
        room = heapRoom.data();
    }
    int* cur = room;
    int* next = room + slots;
    int* inCur = room + 2 * slots;
    int* inNext = room + 3 * slots;
    for (int i = 0; i < slots; ++i) inCur[i] = inNext[i] = 0;

    int stamp = 1;
    int curLen = 0;
    cur[curLen++] = 0;
    inCur[0] = stamp;

    for (char c : name) {
        int nextLen = 0;
        auto addNext = [&](int p) {
            if (inNext[p] != stamp) {
                inNext[p] = stamp;
                next[nextLen++] = p;
            }
        };
        // Positions appended during the visit are visited for the same byte.
        for (int i = 0; i < curLen; ++i) {
            int p = cur[i];
            if (p == m) continue;  // a name byte is left over
            char pc = pattern[p];
            if (pc == '%') {
                addNext(p);  // the '%' takes this byte
                int q = p;
                while (q < m && pattern[q] == '%') ++q;
                if (inCur[q] != stamp) {
                    inCur[q] = stamp;
                    cur[curLen++] = q;
                }
            } else if (pc == '_' || SameCharIgnoreCase(pc, c)) {
                addNext(p + 1);
            }
        }
        if (nextLen == 0) return false;
        ++stamp;
        std::swap(cur, next);
        curLen = nextLen;
        for (int i = 0; i < curLen; ++i) inCur[cur[i]] = stamp;
    }

    for (int i = 0; i < curLen; ++i) {
        int p = cur[i];
        while (p < m && pattern[p] == '%') ++p;
        if (p == m) return true;
    }
    return false;
}

int CountChar(const std::string& text, char ch) {
    int n = 0;
    for (char c : text)
        if (c == ch) ++n;
    return n;
}

std::size_t LastDelimiter(const std::string& delims, const std::string& text) {
    std::size_t found = std::string::npos;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (plat::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n) {
            ++i;  // the second byte belongs to the character, whatever it is
            continue;
        }
        if (delims.find(text[i]) != std::string::npos) found = i;
    }
    return found;
}

bool EndsWithBackslash(const std::string& text) {
    return !text.empty() && LastDelimiter("\\", text) == text.size() - 1;
}

std::string ExtractFileDir(const std::string& path) {
    std::size_t p = LastDelimiter("\\", path);
    if (p == std::string::npos) return std::string();
    // "C:\a.txt" lives in "C:\", "\a.txt" in "\": without the backslash
    // these would name the drive's current directory or nothing at all.
    if (p == 0 || (p == 2 && path[1] == ':')) return path.substr(0, p + 1);
    return path.substr(0, p);
}

std::string ExtractFileName(const std::string& path) {
    std::size_t p = LastDelimiter("\\:", path);
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::size_t p = LastDelimiter(".\\:", path);
    if (p == std::string::npos || path[p] != '.') return std::string();
    return path.substr(p);
}

std::string TrimControl(const std::string& text) {
    std::size_t a = 0, b = text.size();
    while (a < b && IsControlOrBlank(text[a])) ++a;
    while (b > a && IsControlOrBlank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

std::string TrimControlLeft(const std::string& text) {
    std::size_t a = 0;
    while (a < text.size() && IsControlOrBlank(text[a])) ++a;
    return text.substr(a);
}

std::string TrimControlRight(const std::string& text) {
    std::size_t b = text.size();
    while (b > 0 && IsControlOrBlank(text[b - 1])) --b;
    return text.substr(0, b);
}

bool CheckFileNameChars(const std::string& text) {
    static const char kRefused[] = "\\/:*?\"<>|";
    if (text.find_first_of(kRefused) == std::string::npos) return true;
    plat::MessageBox(nullptr, std::string("文件名不能包含下列任何字符:\r\n") + kRefused, plat::AppTitle(),
                     plat::MbOk | plat::MbIconStop);
    return false;
}

std::string NumberPattern(long long count) { return std::string(std::to_string(count < 0 ? 0 : count).size(), '0'); }

std::string LetterSequence(long long number, bool upper) {
    const char base = upper ? 'A' : 'a';
    std::string result;
    while (number > 0) {
        long long r = number % 26;
        if (r == 0) r = 26;
        result.insert(result.begin(), static_cast<char>(base + r - 1));
        number = (number - r) / 26;
    }
    return result;
}

bool IsAsciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

std::string TitleCase(const std::string& text) {
    std::string s = text;
    bool afterLetter = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (plat::IsLeadByte(c) && i + 1 < s.size()) {
            ++i;
            afterLetter = false;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            afterLetter = false;
            continue;
        }
        if (afterLetter && c <= 'Z') s[i] = static_cast<char>(c + 32);
        if (!afterLetter && c >= 'a') s[i] = static_cast<char>(c - 32);
        afterLetter = true;
    }
    return s;
}

// Shared by the fuzz targets: a property that fails stops the run the way a
// crash does, so that libFuzzer saves the input that broke it. Also what the
// references share, written apart from the code under test (characters of
// double-byte text, ASCII case, lines), and the headless system they run on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Backend.h"
#include "Headless.h"
#include "Main.h"

inline void FuzzCheck(bool ok, const char* what, const char* file, int line) {
    if (ok) return;
    std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}
#define FUZZ_CHECK(cond, what) FuzzCheck(cond, what, __FILE__, __LINE__)

// The same for two texts, which are shown (bytes outside 32..126 in hex).
inline std::string Visible(const std::string& s) {
    std::string r;
    for (unsigned char c : s) {
        char b[8];
        if (c >= 32 && c < 127) r += static_cast<char>(c);
        else std::snprintf(b, sizeof b, "\\x%02X", c), r += b;
    }
    return r;
}
inline void FuzzCheckEq(const std::string& got, const std::string& want, const char* what, const char* file,
                        int line) {
    if (got != want) std::fprintf(stderr, "got  \"%s\"\nwant \"%s\"\n", Visible(got).c_str(), Visible(want).c_str());
    FuzzCheck(got == want, what, file, line);
}
#define FUZZ_CHECK_EQ(got, want, what) FuzzCheckEq(got, want, what, __FILE__, __LINE__)

// Takes the input apart into pieces: each piece is a length byte and that
// many bytes (the rest when fewer are left).
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
    bool Empty() const { return Pos >= Size; }
    std::uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }
    std::string Piece() { return Take(Byte()); }
    std::string Take(std::size_t n) {
        if (n > Size - Pos) n = Size - Pos;
        std::string s(reinterpret_cast<const char*>(Data + Pos), n);
        Pos += n;
        return s;
    }
    std::string Rest() { return Take(Size - Pos); }

private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos = 0;
};

inline std::string AsText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The pieces of `text` between the separators (the whole text when it has none).
inline std::vector<std::string> SplitOn(const std::string& text, const std::string& sep) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(sep, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return pieces;
        start = end + sep.size();
    }
}

// Where each character begins: a lead byte takes the next byte with it (a
// lead byte at the very end stands alone).
inline std::vector<std::size_t> CharStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i) {
        starts.push_back(i);
        if (plat::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
    }
    return starts;
}
inline bool EndsInLoneLead(const std::string& s) {
    return !s.empty() && CharStarts(s).back() == s.size() - 1 && plat::IsLeadByte(static_cast<unsigned char>(s.back()));
}
// Whether the last character is a single byte of `set`.
inline bool LastCharIs(const std::string& s, const char* set) {
    return !s.empty() && CharStarts(s).back() == s.size() - 1 && std::string(set).find(s.back()) != std::string::npos;
}
// Whether any character is a single byte of `set`.
inline bool HasChar(const std::string& s, const char* set) {
    for (std::size_t i : CharStarts(s))
        if (std::string(set).find(s[i]) != std::string::npos) return true;
    return false;
}

inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
// Equal, ASCII letters in either case.
inline bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}
// A backslash first, or a drive letter, a colon and a backslash.
inline bool Absolute(const std::string& t) {
    return !t.empty() && (t[0] == '\\' || (t.size() > 2 && IsAsciiLetter(t[0]) && t[1] == ':' && t[2] == '\\'));
}

// The main window a fuzz target feeds: made once on the headless backend and
// kept for the whole run, since making it costs more than an input.
inline TfomMain& FuzzWindow() {
    static TfomMain* form = [] {
        headless::Reset();
        return new TfomMain;
    }();
    return *form;
}

// The ini file of the options targets, in a fresh headless system that holds
// its folder.
const char* const kIniPath = "C:\\Korvalin\\korvalin.ini";
inline void FreshIniFolder() {
    headless::Reset();
    headless::AddDir("C:\\Korvalin");
}

// The byte-level helpers: paths, name patterns, case folding and trimming,
// all with double-byte characters whose second byte is ASCII.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "../fuzz/PatternReference.h"
#include "TestKit.h"
#include "Utils.h"

namespace {

TEST(Utils, IsAbsolutePath) {
    const struct { const char* text; bool absolute; } cases[] = {
        {"", false},         {"\\", true},         {"\\temp", true},  {"\\\\srv\\share", true},
        {"C:", false},       {"C:x", false},       {"C:\\", true},    {"z:\\a", true},
        {"1:\\a", false},    {"@:\\a", false},     {"[:\\a", false},  {"a.txt", false},
        {"..\\x", false},    {"C:/x", false},      {"ab\\", false},   {"\x81:\\a", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAbsolutePath(c.text), c.absolute) << c.text;
}

TEST(Utils, SameCharIgnoreCaseFoldsOnlyAsciiLetters) {
    for (int p = 0; p < 256; ++p)
        for (int n = 0; n < 256; ++n) {
            auto lower = [](int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
            bool expected = p == n || (lower(p) == lower(n) && lower(p) >= 'a' && lower(p) <= 'z');
            ASSERT_EQ(SameCharIgnoreCase(static_cast<char>(p), static_cast<char>(n)), expected) << p << " " << n;
        }
}

TEST(Utils, MatchNamePatternTable) {
    const struct { std::string pattern, name; bool match; } cases[] = {
        {"readme%.md", "README.MD", true}, {"%.md", "notes.md", true},
        {"____", "\xD6\xD0\xCE\xC4", true},  // two Chinese characters
        {"__", "\xD6\xD0\xCE\xC4", false},
        {"%", "\xA1\xA1", true},
        {"\xC4", "\xE4", false},  // no folding beyond ASCII
        {"%\\", "a\\", true},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchNamePattern(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST(Utils, MatchNamePatternAgreesWithReference) {
    std::mt19937 rng(20240517);
    const std::string patternBytes = "aAbB%%__\x81\\.";
    const std::string nameBytes = "aAbBc%_\x81\\.";
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        // Some patterns longer than 64 positions, to use the heap room too.
        size_t plen = rng() % (round % 10 == 0 ? 90 : 9);
        size_t nlen = rng() % (round % 10 == 0 ? 120 : 12);
        std::string p, n;
        for (size_t i = 0; i < plen; ++i) p += patternBytes[rng() % patternBytes.size()];
        for (size_t i = 0; i < nlen; ++i) n += nameBytes[rng() % nameBytes.size()];
        bool expected = ReferenceMatch(p, n);
        matches += expected;
        ASSERT_EQ(MatchNamePattern(p, n), expected) << "pattern '" << p << "' name '" << n << "'";
    }
    EXPECT_GT(matches, 1000);  // the generator must produce both outcomes
}

TEST(Utils, MatchNamePatternPathologicalPatternsAreFast) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchNamePattern("%a%a%a%a%a%a%b", std::string(40, 'a')));
    EXPECT_TRUE(MatchNamePattern("%a%a%a%a%a%a%", std::string(40, 'a')));
    std::string many;
    for (int i = 0; i < 120; ++i) many += "%a";
    EXPECT_FALSE(MatchNamePattern(many + "b", std::string(5000, 'a')));
    EXPECT_TRUE(MatchNamePattern(many, std::string(5000, 'a')));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
}

TEST(Utils, CountChar) {
    // Bytes, not characters: 0xB0 0xB0 is one character and two bytes 0xB0.
    const struct { std::string text; char c; int count; } cases[] = {
        {"", '%', 0}, {"%a%%", '%', 3}, {BYTES("a\0b\0"), '\0', 2}, {"\xB0\xB0", '\xB0', 2}};
    for (const auto& c : cases) EXPECT_EQ(CountChar(c.text, c.c), c.count) << c.text;
}

TEST(Utils, PathSplittersSkipSecondBytes) {
    headless::Reset();
    const struct { std::string path, dir, name, ext; } cases[] = {
        {"C:\\w\\a.txt", "C:\\w", "a.txt", ".txt"},
        {"C:\\a.txt", "C:\\", "a.txt", ".txt"},
        {"\\a.txt", "\\", "a.txt", ".txt"},
        {"a.txt", "", "a.txt", ".txt"},
        {"C:a.txt", "", "a.txt", ".txt"},
        {"C:\\w\\.gitignore", "C:\\w", ".gitignore", ".gitignore"},
        {"C:\\w.d\\LICENSE", "C:\\w.d", "LICENSE", ""},
        // 0x81 0x5C is one character: its second byte is no backslash.
        {BYTES("C:\\w\\\x81\\.txt"), "C:\\w", BYTES("\x81\\.txt"), ".txt"},
        {BYTES("C:\\\x81\\"), "C:\\", BYTES("\x81\\"), ""},
        {BYTES("C:\\w\\a\x81."), "C:\\w", BYTES("a\x81."), ""},
        {BYTES("C:\\w\\a\x81:b"), "C:\\w", BYTES("a\x81:b"), ""},
        // A lead byte at the very end stands alone.
        {BYTES("C:\\w\\a.\x81"), "C:\\w", BYTES("a.\x81"), BYTES(".\x81")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(List({ExtractFileDir(c.path), ExtractFileName(c.path), ExtractFileExt(c.path)}),
                  List({c.dir, c.name, c.ext})) << c.path;
    }
    const struct { std::string path; bool ends; } ends[] = {
        {"C:\\", true}, {BYTES("C:\\\x81\\"), false}, {BYTES("C:\\\x81\\\\"), true}, {"", false}};
    for (const auto& e : ends) EXPECT_EQ(EndsWithBackslash(e.path), e.ends) << e.path;
}

TEST(Utils, TrimControl) {
    std::string all;
    for (int b = 0; b <= 32; ++b) all += static_cast<char>(b);
    EXPECT_EQ(TrimControl(all + "a \tb" + all), "a \tb");
    EXPECT_EQ(TrimControl(all), "");
    EXPECT_EQ(TrimControl("\xA1\xA1x\xA1\xA1"), "\xA1\xA1x\xA1\xA1");  // the ideographic blank stays
    EXPECT_EQ(TrimControlRight(" a \r\n\r\n"), " a");
}

}  // namespace

// Date patterns against a formatter nobody here wrote: Free Pascal's
// FormatDateTime (tests/unit/fpcdate.pas), with the same locale texts and
// moments on both sides. Thousands of generated patterns must agree; where
// Korvalin renders a token otherwise on purpose, the table below holds
// both answers, so that it also shows that Free Pascal still differs there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

#include <unistd.h>

#include "MainNaming.h"
#include "TestKit.h"

namespace {

plat::LocaleTexts Locale() {
    plat::LocaleTexts l = headless::ChineseLocale();
    l.DateSeparator = "-";  // unlike the pattern's own "/" and ":"
    l.TimeSeparator = ".";
    l.ShortTimeFormat = "tt h:mm";  // a 12-hour clock beside the 24-hour long time
    return l;
}

const plat::DateTime kMoments[] = {{2026, 3, 7, 14, 5, 9, 42, 6}, {2009, 11, 22, 0, 0, 0, 7, 0}};

// Every token on which Korvalin and Free Pascal part, with both answers
// for Saturday 7 March 2026, 14:05:09.042; ours are checked without Free
// Pascal too.
const struct Difference { std::string pattern, ours, fpc; } kDifferences[] = {
    // A token is a run of one character as written; Free Pascal joins
    // runs of one letter in either case.
    {"Yyyy", "262026", "2026"},
    {"Hh", "1414", "14"},
    // m is minutes after the nearest letter when that is an hour letter;
    // Free Pascal looks at the last token, and a blank is one there, a
    // letter that is no token is not.
    {"hh mm", "14 05", "14 03"},
    {"hhxmm", "14x03", "14X05"},
    {"hAM/PMmm", "2PM03", "2PM05"},
    // mmm and mmmm are month names always; Free Pascal makes them minutes.
    {"hh:mmm", "14.3月", "14.05"},
    // Each hour token looks for its own marker after it; Free Pascal
    // switches the whole pattern to 12 hours for a marker anywhere.
    {"am/pm h", "pm 14", "pm 2"},
    {"h h AM/PM", "14 2 PM", "2 2 PM"},
    // Any other character is copied as it is; Free Pascal writes other
    // letters in upper case.
    {"qwe", "qwe", "QWE"},
    // zz is at least two digits; Free Pascal gives three.
    {"zz", "42", "042"},
    // aaa and aaaa are day names, a lone a is text; Free Pascal refuses.
    {"aaa", "周六", "!error"},
    {"aaaa", "星期六", "!error"},
    {"h a", "14 a", "!error"},
    // A double-byte character is copied whole; Free Pascal reads its
    // second byte (here 0x64, "d") as a token.
    {BYTES("\x81\x64"), BYTES("\x81\x64"), BYTES("\x81" "7")},
};

TEST(DatePatterns, WhereFreePascalDiffers) {
    for (const Difference& r : kDifferences)
        EXPECT_EQ(FormatDatePattern(r.pattern, kMoments[0], Locale()), r.ours) << r.pattern;
}

#ifndef KORVALIN_FPCDATE
TEST(DatePatternsAgainstFreePascal, Skipped) { GTEST_SKIP() << "no Free Pascal compiler"; }
#else

// The same locale as Free Pascal holds it once its locale loader has read
// the system's formats: in its own letters, the system's "/" and ":" as
// the text they are there.
plat::LocaleTexts FpcLocale() {
    plat::LocaleTexts l = Locale();
    l.ShortDateFormat = "yyyy\"/\"m\"/\"d";
    l.LongDateFormat = "yyyy\"年\"m\"月\"d\"日\"dddd";
    l.ShortTimeFormat = "ampm h\":\"nn";
    l.LongTimeFormat = "hh\":\"nn\":\"ss";
    return l;
}

// Runs the Free Pascal side over `patterns`: one answer per pattern and moment.
std::vector<std::string> RunFpc(const std::vector<std::string>& patterns) {
    const plat::LocaleTexts l = FpcLocale();
    std::string in;
    auto add = [&in](const auto& lines) { for (const std::string& s : lines) in += s + "\n"; };
    add(l.ShortMonthNames);
    add(l.LongMonthNames);
    add(l.ShortDayNames);
    add(l.LongDayNames);
    add(List{l.ShortDateFormat, l.LongDateFormat, l.ShortTimeFormat, l.LongTimeFormat, l.DateSeparator,
             l.TimeSeparator, l.TimeAM, l.TimePM, std::to_string(std::size(kMoments))});
    for (const auto& t : kMoments) {
        for (int v : {t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second, t.Millisecond}) in += std::to_string(v) + " ";
        in += "\n";
    }
    add(patterns);
    // Files of this process alone: ctest runs the tests side by side.
    const std::string name = std::string(KORVALIN_FPCDATE) + "." + std::to_string(getpid());
    std::ofstream(name + ".in", std::ios::binary) << in;
    const int status = std::system((std::string(KORVALIN_FPCDATE) + " < " + name + ".in > " + name + ".out").c_str());
    std::vector<std::string> out;
    std::ifstream answers(name + ".out", std::ios::binary);
    for (std::string line; status == 0 && std::getline(answers, line);) out.push_back(line);
    answers.close();
    std::remove((name + ".in").c_str());
    std::remove((name + ".out").c_str());
    return out;
}

// Whether both sides are meant to agree on `p`: it avoids every place
// where Korvalin differs on purpose (see the table of Differences).
bool Agreed(const std::string& p) {
    struct Tok { char letter; size_t run; };  // letter in upper case; 'a' for an AM/PM, A/P or AMPM marker
    std::vector<Tok> toks;
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
    bool anyMarker = false;
    for (size_t i = 0; i < p.size();) {
        char c = p[i];
        if (c == '\'' || c == '"') {
            size_t e = p.find(c, i + 1);
            i = e == std::string::npos ? p.size() : e + 1;
        } else if (static_cast<unsigned char>(c) >= 0x81) {
            i += 2;
        } else if (up(c) == 'A') {
            size_t len = 0;
            for (const char* m : {"AM/PM", "am/pm", "AMPM", "ampm", "A/P", "a/p"})
                if (!len && p.compare(i, std::strlen(m), m) == 0) len = std::strlen(m);
            if (!len) return false;
            toks.push_back({'a', 1});
            anyMarker = true;
            i += len;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            size_t r = 1;
            while (i + r < p.size() && p[i + r] == c) ++r;
            if (i + r < p.size() && p[i + r] != c && up(p[i + r]) == up(c)) return false;  // Yy
            toks.push_back({up(c), r});
            i += r;
        } else {
            ++i;
        }
    }
    for (size_t k = 0; k < toks.size(); ++k) {
        const Tok& t = toks[k];
        if (t.letter == 'Z' && t.run == 2) return false;
        if (t.letter == 'H' && anyMarker) {
            size_t j = k + 1;
            while (j < toks.size() && toks[j].letter != 'H' && toks[j].letter != 'a') ++j;
            if (j == toks.size() || toks[j].letter == 'H') return false;
        }
        if (t.letter == 'M' && k > 0) {
            if (toks[k - 1].letter == 'a') return false;
            if (toks[k - 1].letter == 'H' && t.run >= 3) return false;
        }
    }
    return true;
}

TEST(DatePatternsAgainstFreePascal, GeneratedPatterns) {
    const char* const atoms[] = {
        "y", "yy", "yyyy", "Y", "YYYY", "m", "mm", "mmm", "mmmm", "M", "MM", "MMMM", "d", "dd", "ddd", "dddd",
        "ddddd", "dddddd", "D", "DDD", "h", "hh", "H", "HH", "n", "nn", "N", "s", "ss", "S", "z", "zzz", "Z",
        "c", "C", "t", "tt", "T", "/", ":", "-", "_", ".", ",", "#", "(", ")", "0", "9",
        "'q x'", "\"d m\"", "'h:m'", "年", "月", "日", "时", "AM/PM", "am/pm", "A/P", "a/p", "AMPM", "ampm",
    };
    std::mt19937 rng(20261208);
    std::vector<std::string> patterns;
    while (patterns.size() < 3000) {
        std::string p;
        for (int n = 1 + rng() % 7; n > 0; --n) p += atoms[rng() % std::size(atoms)];
        if (Agreed(p)) patterns.push_back(p);
    }
    const List theirs = RunFpc(patterns);
    ASSERT_EQ(theirs.size(), patterns.size() * std::size(kMoments)) << "the Free Pascal side's answers";
    const plat::LocaleTexts loc = Locale();
    int differing = 0;
    for (size_t i = 0; i < patterns.size(); ++i)
        for (size_t m = 0; m < std::size(kMoments); ++m) {
            std::string ours = FormatDatePattern(patterns[i], kMoments[m], loc);
            const std::string& fpc = theirs[i * std::size(kMoments) + m];
            if (ours != fpc && ++differing <= 20)
                ADD_FAILURE() << "pattern " << patterns[i] << " moment " << m << ": ours " << ours << ", fpc " << fpc;
        }
    EXPECT_EQ(differing, 0);
}

TEST(DatePatternsAgainstFreePascal, Differences) {
    std::vector<std::string> patterns;
    for (const Difference& r : kDifferences) patterns.push_back(r.pattern);
    const List theirs = RunFpc(patterns);
    ASSERT_EQ(theirs.size(), patterns.size() * std::size(kMoments)) << "the Free Pascal side's answers";
    for (size_t i = 0; i < std::size(kDifferences); ++i)
        EXPECT_EQ(theirs[i * std::size(kMoments)], kDifferences[i].fpc) << kDifferences[i].pattern;
}
#endif

}  // namespace

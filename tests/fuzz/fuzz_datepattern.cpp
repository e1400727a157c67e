// The naming menu's date patterns, two ways:
//  - a pattern built from tokens (yyyy, mm, nn, hh with and without a
//    morning/afternoon marker, ...) and separators comes out as a small
//    reference written from the tokens' meanings says, for a date whose
//    fields all differ;
//  - in any pattern, text in quotes comes out unchanged and changes nothing
//    around it.
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "MainNaming.h"

namespace {

plat::LocaleTexts Locale() {
    plat::LocaleTexts loc;
    for (int i = 0; i < 12; ++i) {
        loc.ShortMonthNames[i] = std::to_string(i + 1) + "\xd4\xc2";              // n月
        loc.LongMonthNames[i] = "\xb5\xda" + std::to_string(i + 1) + "\xd4\xc2";  // 第n月
    }
    for (int i = 0; i < 7; ++i) {
        loc.ShortDayNames[i] = "\xd6\xdc" + std::to_string(i);                // 周n
        loc.LongDayNames[i] = "\xd0\xc7\xc6\xda" + std::to_string(i);         // 星期n
    }
    loc.ShortDateFormat = "yyyy/M/d";
    loc.LongDateFormat = "yyyy'\xc4\xea'M'\xd4\xc2'd'\xc8\xd5'dddd";
    loc.ShortTimeFormat = "HH:mm";
    loc.LongTimeFormat = "HH:mm:ss";
    loc.DateSeparator = "\xa3\xaf";  // full-width solidus: not the pattern's '/'
    loc.TimeSeparator = "\xa3\xba";  // full-width colon
    loc.TimeAM = "\xc9\xcf\xce\xe7";  // 上午
    loc.TimePM = "\xcf\xc2\xce\xe7";  // 下午
    loc.Era = "\xb9\xab\xd4\xaa";     // 公元
    return loc;
}

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
// A number token: one letter shows the number as it is, two with two digits.
std::string Number(const std::string& tok, int v) { return tok.size() == 1 ? std::to_string(v) : Two(v); }

// The tokens, written in lower case; the input picks each one's case.
const char* const kTokens[] = {"yyyy", "yy", "m", "mm", "mmm", "mmmm", "d", "dd", "ddd", "dddd", "h", "hh",
                               "n", "nn", "s", "ss", "z", "zzz", "am/pm", "a/p", "ampm"};
// Between tokens: text that holds no pattern letter.
const char* const kBetween[] = {"", "-", "_", " ", ".", "/", ":", "\xc4\xea", "#"};

bool IsMarker(const std::string& t) { return t[0] == 'a'; }
bool IsHour(const std::string& t) { return t[0] == 'h'; }

// What a token shows. An hour is on the 12-hour clock when the first marker
// or hour after it is a marker; m and mm right after an hour are minutes.
std::string Expected(const std::vector<std::string>& tokens, const std::vector<bool>& upper, std::size_t k,
                     const plat::DateTime& t, const plat::LocaleTexts& loc) {
    const std::string& tok = tokens[k];
    const bool pm = t.Hour >= 12;
    if (tok == "yyyy") return std::to_string(t.Year);
    if (tok == "yy") return Two(t.Year % 100);
    if (tok == "m" || tok == "mm") {
        const bool minute = k > 0 && IsHour(tokens[k - 1]);
        return Number(tok, minute ? t.Minute : t.Month);
    }
    if (tok == "mmm") return loc.ShortMonthNames[t.Month - 1];
    if (tok == "mmmm") return loc.LongMonthNames[t.Month - 1];
    if (tok == "d" || tok == "dd") return Number(tok, t.Day);
    if (tok == "ddd") return loc.ShortDayNames[t.DayOfWeek];
    if (tok == "dddd") return loc.LongDayNames[t.DayOfWeek];
    if (IsHour(tok)) {
        std::size_t j = k + 1;
        while (j < tokens.size() && !IsHour(tokens[j]) && !IsMarker(tokens[j])) ++j;
        const bool twelve = j < tokens.size() && IsMarker(tokens[j]);
        return Number(tok, twelve ? (t.Hour % 12 == 0 ? 12 : t.Hour % 12) : t.Hour);
    }
    if (tok == "n" || tok == "nn") return Number(tok, t.Minute);
    if (tok == "s" || tok == "ss") return Number(tok, t.Second);
    if (tok == "z") return std::to_string(t.Millisecond);
    if (tok == "zzz") return (t.Millisecond < 100 ? "0" : "") + Two(t.Millisecond);
    if (tok == "ampm") return pm ? loc.TimePM : loc.TimeAM;
    // am/pm and a/p: the half that applies, in the case it is written.
    const char* am = upper[k] ? "AM" : "am";
    const char* p = upper[k] ? "PM" : "pm";
    if (tok == "am/pm") return pm ? p : am;
    return std::string(1, pm ? p[0] : am[0]);
}

std::string Cased(const std::string& tok, bool upper) {
    std::string s = tok;
    if (upper)
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// No quote left open and no lead byte waiting for its second byte at the
// end: text put after it starts afresh.
bool Closed(const std::string& s) {
    char quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (plat::IsLeadByte(static_cast<unsigned char>(c))) {
            if (++i == s.size()) return false;
        } else if (c == '"' || c == '\'') {
            quote = c;
        }
    }
    return quote == 0;
}

}  // namespace

// Input: a byte for the hour, then token and separator choices up to a zero
// byte; then, for the quoted text, the pattern before it as a length-prefixed
// piece, the quoted text as another, one byte for the quote, and the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const plat::LocaleTexts loc = Locale();
    FuzzInput in(data, size);
    plat::DateTime t;
    t.Year = 2031, t.Month = 11, t.Day = 27, t.DayOfWeek = 4;
    t.Hour = in.Byte() % 24, t.Minute = 46, t.Second = 58, t.Millisecond = 9;

    std::vector<std::string> tokens, between;
    std::vector<bool> upper;
    std::string pattern;
    for (std::uint8_t b; !in.Empty() && (b = in.Byte()) != 0 && tokens.size() < 64;) {
        const std::string tok = kTokens[b % std::size(kTokens)];
        std::string text = tokens.empty() ? "" : kBetween[(b / std::size(kTokens)) % std::size(kBetween)];
        // Two tokens of one letter with nothing between them would be one run.
        if (text.empty() && !tokens.empty() && tokens.back()[0] == tok[0]) text = "-";
        tokens.push_back(tok);
        between.push_back(text);
        upper.push_back(b & 0x80);
        pattern += text + Cased(tok, upper.back());
    }
    std::string want;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        for (char c : between[k])
            want += c == '/' ? loc.DateSeparator : c == ':' ? loc.TimeSeparator : std::string(1, c);
        want += Expected(tokens, upper, k, t, loc);
    }
    FUZZ_CHECK_EQ(FormatDatePattern(pattern, t, loc), want, "tokens as their meanings say");

    // Quoted text, in any pattern.
    const std::string before = in.Piece(), quoted = in.Piece();
    const char quote = in.Byte() & 1 ? '"' : '\'';
    const std::string after = in.Rest();
    if (quoted.find(quote) != std::string::npos || !Closed(before)) return 0;
    const std::string q(1, quote);
    const std::string mark = FormatDatePattern(before + q + "\x01" + q + after, t, loc);
    const std::size_t at = mark.find('\x01');
    if (at == std::string::npos || mark.find('\x01', at + 1) != std::string::npos) {
        FUZZ_CHECK((before + after).find('\x01') != std::string::npos, "quoted text comes out");
        return 0;
    }
    const std::string got = FormatDatePattern(before + q + quoted + q + after, t, loc);
    FUZZ_CHECK_EQ(got, mark.substr(0, at) + quoted + mark.substr(at + 1), "quoted text unchanged, nothing around it");
    return 0;
}

// The naming menu's window-free text work: date patterns, accelerators of
// a menu level, and the split of a line into path, name and extension.
#include <cstdio>

#include "MainNaming.h"
#include "Utils.h"

// ------------------------------------------------------------ dates

namespace {

std::string Number(int value, int digits) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%0*d", digits, value);
    return buf;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Compares without regard to ASCII case; `word` is upper case.
bool StartsWithWord(const std::string& s, std::size_t at, const char* word) {
    for (std::size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || Upper(s[at + k]) != word[k]) return false;
    return true;
}

// The length of the AM/PM, A/P or AMPM marker that starts at `at`, or 0.
std::size_t MarkerAt(const std::string& s, std::size_t at) {
    if (StartsWithWord(s, at, "AM/PM")) return 5;
    if (StartsWithWord(s, at, "AMPM")) return 4;
    if (StartsWithWord(s, at, "A/P")) return 3;
    return 0;
}

// Past the quoted text that opens at `at` (an unclosed quote runs to the end).
std::size_t SkipQuoted(const std::string& s, std::size_t at) {
    std::size_t close = s.find(s[at], at + 1);
    return close == std::string::npos ? s.size() : close + 1;
}

// Whether the hour token ending at `from` is shown on the 12-hour clock: the
// first letter a after it, outside quotes and before another hour letter,
// begins a marker.
bool TwelveHour(const std::string& s, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (plat::IsLeadByte(c) && i + 1 < s.size()) {
            i += 2;
        } else if (c == '"' || c == '\'') {
            i = SkipQuoted(s, i);
        } else if (Upper(c) == 'H') {
            return false;
        } else if (Upper(c) == 'A') {
            return MarkerAt(s, i) != 0;
        } else {
            ++i;
        }
    }
    return false;
}

// ---- the system's format pictures

// One piece of a system date or time format, in the renderer's own terms.
struct SystemToken {
    enum Field : unsigned char { Text, Year, Month, MonthName, Day, DayName, Era, Hour24, Hour12, Minute, Second, Marker };
    Field field;
    int width;         // digits (0: no leading zero); for names and the marker 1 short, 2 long
    std::string text;  // for Text
    SystemToken(Field f = Text, int w = 0) : field(f), width(w) {}
};

// A run of `run` letters `c` in a time format, as a token; false for text.
bool TimeLetter(char c, int run, SystemToken& t) {
    const int digits = run == 1 ? 0 : 2;
    switch (c) {
    case 'h': t = {SystemToken::Hour12, digits}; return true;
    case 'H': t = {SystemToken::Hour24, digits}; return true;
    case 'm': t = {SystemToken::Minute, digits}; return true;
    case 's': t = {SystemToken::Second, digits}; return true;
    case 't': t = {SystemToken::Marker, run == 1 ? 1 : 2}; return true;
    default: return false;
    }
}

// The same in a date format.
bool DateLetter(char c, int run, SystemToken& t) {
    switch (c) {
    case 'd':
        t = run <= 2 ? SystemToken{SystemToken::Day, run == 1 ? 0 : 2} : SystemToken{SystemToken::DayName, run == 3 ? 1 : 2};
        return true;
    case 'M':
        t = run <= 2 ? SystemToken{SystemToken::Month, run == 1 ? 0 : 2}
                     : SystemToken{SystemToken::MonthName, run == 3 ? 1 : 2};
        return true;
    // One y is the year in the century without a leading zero, three or
    // more the full year, as Wine renders them.
    case 'y': t = {SystemToken::Year, run == 1 ? 0 : run == 2 ? 2 : 4}; return true;
    // g and gg are the era, once: so the system's documentation has it,
    // while Wine repeats the era for each g.
    case 'g': t = {SystemToken::Era, 0}; return true;
    default: return false;
    }
}

// Reads a format as the system's own formatter does, with the system's
// letters, not ours: in a date format d, M, y and g; in a time format h
// (12-hour), H (24-hour), m (minutes), s and t (the morning or afternoon
// designator). Every other character is text, text in single quotes too,
// where two quotes in a row stand for one.
std::vector<SystemToken> ConvertSystemFormat(const std::string& f, bool time) {
    std::vector<SystemToken> tokens;
    auto text = [&](const std::string& s) {
        if (tokens.empty() || tokens.back().field != SystemToken::Text) tokens.push_back({});
        tokens.back().text += s;
    };
    const std::size_t n = f.size();
    for (std::size_t i = 0; i < n;) {
        const char c = f[i];
        if (plat::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
            text(f.substr(i, 2));
            i += 2;
            continue;
        }
        if (c == '\'') {
            std::string quoted;
            for (++i; i < n; ++i) {
                if (f[i] == '\'' && (i + 1 >= n || f[i + 1] != '\'')) break;
                if (f[i] == '\'') ++i;
                quoted += f[i];
            }
            text(quoted);
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < n && f[i + run] == c) ++run;
        SystemToken t;
        if (time ? TimeLetter(c, static_cast<int>(run), t) : DateLetter(c, static_cast<int>(run), t)) tokens.push_back(t);
        else text(f.substr(i, run));
        i += run;
    }
    return tokens;
}

// The first character of `s`, a double-byte one whole.
std::string FirstChar(const std::string& s) {
    if (s.empty()) return s;
    return s.substr(0, plat::IsLeadByte(static_cast<unsigned char>(s[0])) && s.size() > 1 ? 2 : 1);
}

void RenderSystem(const std::string& format, bool time, const plat::DateTime& t, const plat::LocaleTexts& loc,
                  std::string& out) {
    const int dow = ((t.DayOfWeek % 7) + 7) % 7;
    const int month = (t.Month >= 1 && t.Month <= 12) ? t.Month - 1 : 0;
    const int hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
    for (const SystemToken& k : ConvertSystemFormat(format, time)) {
        switch (k.field) {
        case SystemToken::Text: out += k.text; break;
        case SystemToken::Year: out += k.width == 4 ? Number(t.Year, 4) : Number(t.Year % 100, k.width); break;
        case SystemToken::Month: out += Number(t.Month, k.width); break;
        case SystemToken::MonthName: out += k.width == 1 ? loc.ShortMonthNames[month] : loc.LongMonthNames[month]; break;
        case SystemToken::Day: out += Number(t.Day, k.width); break;
        case SystemToken::DayName: out += k.width == 1 ? loc.ShortDayNames[dow] : loc.LongDayNames[dow]; break;
        case SystemToken::Era: out += loc.Era; break;
        case SystemToken::Hour24: out += Number(t.Hour, k.width); break;
        case SystemToken::Hour12: out += Number(hour12, k.width); break;
        case SystemToken::Minute: out += Number(t.Minute, k.width); break;
        case SystemToken::Second: out += Number(t.Second, k.width); break;
        case SystemToken::Marker: {
            const std::string& m = t.Hour < 12 ? loc.TimeAM : loc.TimePM;
            out += k.width == 1 ? FirstChar(m) : m;
            break;
        }
        }
    }
}

// ---- our own patterns

void Render(const std::string& p, const plat::DateTime& t, const plat::LocaleTexts& loc, std::string& out) {
    auto date = [&](const std::string& f) { RenderSystem(f, false, t, loc, out); };
    auto time = [&](const std::string& f) { RenderSystem(f, true, t, loc, out); };
    char lastLetter = 0;  // the nearest letter before the token, upper case
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n;) {
        const char c = p[i];
        const unsigned char uc = static_cast<unsigned char>(c);
        if (plat::IsLeadByte(uc) && i + 1 < n) {
            out.append(p, i, 2);
            i += 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t close = p.find(c, i + 1);
            if (close == std::string::npos) close = n;
            out.append(p, i + 1, close - (i + 1));
            i = close + 1;
            continue;
        }
        if (c == '/') {
            out += loc.DateSeparator;
            ++i;
            continue;
        }
        if (c == ':') {
            out += loc.TimeSeparator;
            ++i;
            continue;
        }
        if (!IsAsciiLetter(uc)) {
            out += c;
            ++i;
            continue;
        }
        const char letter = Upper(c);
        if (letter == 'A') {
            if (std::size_t len = MarkerAt(p, i)) {
                bool am = t.Hour < 12;
                if (len == 4) out += am ? loc.TimeAM : loc.TimePM;
                else if (len == 5) out.append(p, am ? i : i + 3, 2);
                else out += p[am ? i : i + 2];
                lastLetter = Upper(p[i + len - 1]);
                i += len;
                continue;
            }
        }
        std::size_t run = 1;
        while (i + run < n && p[i + run] == c) ++run;
        const std::size_t next = i + run;
        const int dow = ((t.DayOfWeek % 7) + 7) % 7;
        const int month = (t.Month >= 1 && t.Month <= 12) ? t.Month - 1 : 0;
        switch (letter) {
        case 'Y':
            out += run <= 2 ? Number(t.Year % 100, 2) : Number(t.Year, 4);
            break;
        case 'M':
            if (run <= 2 && lastLetter == 'H') out += Number(t.Minute, run == 1 ? 0 : 2);
            else if (run <= 2) out += Number(t.Month, run == 1 ? 0 : 2);
            else out += run == 3 ? loc.ShortMonthNames[month] : loc.LongMonthNames[month];
            break;
        case 'D':
            if (run <= 2) out += Number(t.Day, run == 1 ? 0 : 2);
            else if (run == 3) out += loc.ShortDayNames[dow];
            else if (run == 4) out += loc.LongDayNames[dow];
            else if (run == 5) date(loc.ShortDateFormat);
            else date(loc.LongDateFormat);
            break;
        case 'H': {
            int h = t.Hour;
            if (TwelveHour(p, next)) {
                h %= 12;
                if (h == 0) h = 12;
            }
            out += Number(h, run == 1 ? 0 : 2);
            break;
        }
        case 'N':
            out += Number(t.Minute, run == 1 ? 0 : 2);
            break;
        case 'S':
            out += Number(t.Second, run == 1 ? 0 : 2);
            break;
        case 'Z':
            out += Number(t.Millisecond, run >= 3 ? 3 : static_cast<int>(run));
            break;
        case 'A':  // no marker: aaa and aaaa are day names, shorter runs text
            if (run == 3) out += loc.ShortDayNames[dow];
            else if (run >= 4) out += loc.LongDayNames[dow];
            else out.append(p, i, run);
            break;
        case 'C':
            date(loc.ShortDateFormat);
            if (t.Hour || t.Minute || t.Second) {
                out += ' ';
                time(loc.LongTimeFormat);
            }
            break;
        case 'T':
            time(run == 1 ? loc.ShortTimeFormat : loc.LongTimeFormat);
            break;
        default:
            out.append(p, i, run);
            break;
        }
        lastLetter = letter;
        i = next;
    }
}

}  // namespace

std::string FormatDatePattern(const std::string& pattern, const plat::DateTime& t, const plat::LocaleTexts& loc) {
    std::string out;
    Render(pattern, t, loc, out);
    return out;
}

// ------------------------------------------------------------ accelerators

namespace {

bool HasDoubleByte(const std::string& s) {
    for (unsigned char c : s)
        if (plat::IsLeadByte(c)) return true;
    return false;
}

bool IsAccelChar(unsigned char c) { return (c >= '0' && c <= '9') || IsAsciiLetter(c); }

// Position of the marking '&' (not a doubled one), or npos.
std::size_t MarkerPos(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (plat::IsLeadByte(c) && i + 1 < s.size()) {
            ++i;
        } else if (c == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') ++i;
            else if (i + 1 < s.size()) return i;
        }
    }
    return std::string::npos;
}

// The caption without its accelerator: a bracketed "(&X)" goes whole, a
// marking '&' alone otherwise.
std::string StripAccelerator(const std::string& s) {
    std::size_t p = MarkerPos(s);
    if (p == std::string::npos) return s;
    if (p > 0 && s[p - 1] == '(' && p + 2 < s.size() && s[p + 2] == ')') return s.substr(0, p - 1) + s.substr(p + 3);
    return s.substr(0, p) + s.substr(p + 1);
}

}  // namespace

std::vector<ShownCaption> SettleCaptions(const std::vector<std::string>& captions,
                                         const std::vector<bool>& lines) {
    const std::size_t n = captions.size();
    auto isLine = [&](std::size_t i) { return i < lines.size() && lines[i]; };
    std::vector<ShownCaption> shown(n);
    std::vector<bool> settled(n, false);
    bool used[256] = {false};

    // Accelerators already marked keep their key, the first sibling first.
    for (std::size_t i = 0; i < n; ++i) {
        shown[i].Caption = captions[i];
        if (isLine(i)) continue;
        std::size_t p = MarkerPos(captions[i]);
        if (p == std::string::npos) continue;
        unsigned char key = static_cast<unsigned char>(Upper(captions[i][p + 1]));
        if (IsAccelChar(key) && !used[key]) {
            used[key] = true;
            settled[i] = true;
        }
    }
    // The others take a free character of their own caption, else any free one.
    for (std::size_t i = 0; i < n; ++i) {
        if (isLine(i) || settled[i]) continue;
        std::string bare = StripAccelerator(captions[i]);
        std::size_t at = std::string::npos;
        for (std::size_t k = 0; k < bare.size(); ++k) {
            unsigned char c = static_cast<unsigned char>(bare[k]);
            if (plat::IsLeadByte(c) && k + 1 < bare.size()) {
                ++k;
            } else if (c == '&') {
                ++k;  // a doubled '&' stands for itself
            } else if (IsAccelChar(c) && !used[static_cast<unsigned char>(Upper(c))]) {
                at = k;
                break;
            }
        }
        char key = 0;
        if (at != std::string::npos) {
            key = Upper(bare[at]);
        } else {
            for (const char* k = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"; *k && !key; ++k)
                if (!used[static_cast<unsigned char>(*k)]) key = *k;
        }
        if (!key) {
            shown[i].Caption = bare;  // more than 36 siblings: the rest go without
            continue;
        }
        used[static_cast<unsigned char>(key)] = true;
        if (at != std::string::npos && !HasDoubleByte(bare)) shown[i].Caption = bare.substr(0, at) + "&" + bare.substr(at);
        else shown[i].Caption = bare + "(&" + key + ")";
    }

    // Separator lines: none first, none twice in a row, none last.
    bool afterLine = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isLine(i)) {
            afterLine = false;
        } else {
            shown[i].Visible = !afterLine;
            afterLine = true;
        }
    }
    for (std::size_t i = n; i-- > 0;) {
        if (!isLine(i)) break;
        shown[i].Visible = false;
    }
    return shown;
}

std::string EscapeAmpersands(const std::string& text) {
    std::string r;
    for (char c : text) {
        r += c;
        if (c == '&') r += '&';
    }
    return r;
}

// ------------------------------------------------------------ lines

LineParts SplitNameLine(const std::string& line, bool onlyDir) {
    LineParts parts;
    if (line.empty()) return parts;
    std::string s = line;
    if (onlyDir && !EndsWithBackslash(s)) s += '\\';
    if (EndsWithBackslash(s)) {
        std::string d = s.substr(0, s.size() - 1);
        // A lone "\", a root such as "C:\" and a doubled backslash keep it.
        std::size_t before = LastDelimiter("\\:", d);
        if (d.empty() || (before != std::string::npos && before == d.size() - 1)) d = s;
        std::size_t p = LastDelimiter("\\:", d);
        parts.Path = p == std::string::npos ? std::string() : d.substr(0, p + 1);
        parts.Name = d.substr(parts.Path.size());
        parts.Ext = "\\";
        return parts;
    }
    std::size_t p = LastDelimiter("\\:", s);
    parts.Path = p == std::string::npos ? std::string() : s.substr(0, p + 1);
    std::string file = s.substr(parts.Path.size());
    std::size_t dot = LastDelimiter(".", file);
    parts.Name = dot == std::string::npos ? file : file.substr(0, dot);
    parts.Ext = dot == std::string::npos ? std::string() : file.substr(dot);
    return parts;
}

std::string JoinNameLine(const LineParts& parts) {
    if (parts.Name.empty() && parts.Ext == "\\" && EndsWithBackslash(parts.Path)) return parts.Path;
    return parts.Path + parts.Name + parts.Ext;
}

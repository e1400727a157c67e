#include "Inifile.h"

#include <cstdint>

#include "Backend.h"
#include "Controls.h"

namespace {

const char* const kLineEnd = "\r\n";
// How long a file that another program holds is waited for: about a second.
const int kReadAttempts = 10;
const int kReadPauseMs = 100;
// What an editor that saves "UTF-8 with BOM" puts in front of the first line.
const std::string kUtf8Mark = "\xEF\xBB\xBF";

// The system's private-profile functions also trim vertical tab, form feed
// and ^Z (the DOS end-of-file mark) around names and values; the other
// control bytes are kept.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// ASCII letters of single-byte characters compare without case; the second
// byte of a double-byte character is no letter and must match exactly.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
        if (plat::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            ++i;
            if (a[i] != b[i]) return false;
        }
    }
    return true;
}

// "[name]" with optional blanks around; anything after the last ']' is
// ignored. The name runs to the last ']' of the line, as the system reads
// it: "[a]b]" is the section "a]b".
bool ParseSectionLine(const std::string& text, std::string& name) {
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) ++b;
    if (b >= text.size() || text[b] != '[') return false;
    size_t close = text.rfind(']');
    if (close == std::string::npos || close <= b) return false;
    name = Trim(text.substr(b + 1, close - b - 1));
    return true;
}

// "key=value"; lines starting with ';' are comments and never keys.
bool ParseKeyLine(const std::string& text, std::string& key, std::string& raw) {
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) ++b;
    if (b >= text.size() || text[b] == ';' || text[b] == '[') return false;
    size_t eq = text.find('=', b);
    if (eq == std::string::npos) return false;
    key = Trim(text.substr(b, eq - b));
    raw = text.substr(eq + 1);
    return true;
}

// Cuts `s` to at most `limit` bytes without splitting a double-byte character.
std::string CutToLength(const std::string& s, size_t limit) {
    if (s.size() <= limit) return s;
    size_t i = 0;
    while (i < limit) {
        size_t step = plat::IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return s.substr(0, i);
}

// The text to put after '=' so that reading it back gives `value` again:
// line breaks would split the line and are written as blanks, and a value
// that trimming or unquoting would change is wrapped in double quotes.
std::string EncodeValue(const std::string& value) {
    std::string v = value;
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    if (TIniFile::UnquoteValue(v) != v) v = "\"" + v + "\"";
    return v;
}

// Writes a temporary file beside `path` and puts it in place in one step,
// so that a failed save leaves the old file whole; where no temporary file
// can be made (a folder that takes no new file), writes `path` in place.
bool WriteFileReplace(const std::string& path, const std::string& content) {
    const std::string tmp = path + ".~" + std::to_string(plat::ProcessId()) + ".tmp";
    if (!plat::WriteNewFile(tmp, content)) {
        if (plat::FileExists(tmp)) {
            plat::RemoveFile(tmp);
            return false;
        }
        return plat::RewriteFile(path, content);
    }
    if (!plat::FileExists(path)) {
        if (plat::MoveFileReplace(tmp, path)) return true;
        plat::RemoveFile(tmp);
        return false;
    }
    unsigned long error = plat::ReplaceFileWith(path, tmp);
    if (error == 0) return true;
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT(_2): the old file is already gone or
    // renamed, and the temporary file is the only copy of the settings. It
    // is moved into place, or left where it is when even that fails.
    if (error == 1176 || error == 1177) return plat::MoveFileReplace(tmp, path);
    plat::RemoveFile(tmp);
    return false;
}

}  // namespace

TIniFile::TIniFile(const std::string& path) : Path(path) {
    if (!plat::FileExists(path)) return;
    std::string content;
    bool read = plat::ReadWholeFile(path, content);
    // Another program may hold the file for a moment without sharing it (an
    // editor saving it, a virus scanner, a second Korvalin writing it).
    for (int attempt = 0; !read && attempt < kReadAttempts && plat::FileExists(path); ++attempt) {
        plat::SleepMs(kReadPauseMs);
        read = plat::ReadWholeFile(path, content);
    }
    if (!read) {
        Unreadable = true;
        return;
    }
    if (content.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0) {
        Encoding = FileEncoding::Utf8Mark;
        content.erase(0, kUtf8Mark.size());
    } else if (content.compare(0, 2, "\xFF\xFE") == 0 || content.compare(0, 2, "\xFE\xFF") == 0) {
        Encoding = content[0] == '\xFF' ? FileEncoding::Utf16LE : FileEncoding::Utf16BE;
        LoadUtf16(content.substr(2));
        return;
    }
    size_t start = 0, i = 0;
    while (i < content.size()) {
        char c = content[i];
        if (c == '\r' || c == '\n') {
            size_t endLen = (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ? 2 : 1;
            Lines.push_back({content.substr(start, i - start), content.substr(i, endLen), std::string()});
            i += endLen;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < content.size()) Lines.push_back({content.substr(start), std::string(), std::string()});
}

bool TIniFile::BigEndian() const { return Encoding == FileEncoding::Utf16BE; }

// A file saved as "Unicode": the reader works on its lines converted to the
// ANSI code page, and each line keeps its own bytes for the writing, so that
// characters the code page lacks survive in the lines the program leaves
// alone (as the system's private-profile functions keep them).
void TIniFile::LoadUtf16(const std::string& bytes) {
    const size_t units = bytes.size() / 2;
    Tail = bytes.substr(units * 2);
    auto unit = [&](size_t k) {
        unsigned char a = static_cast<unsigned char>(bytes[2 * k]), b = static_cast<unsigned char>(bytes[2 * k + 1]);
        return static_cast<char16_t>(BigEndian() ? (a << 8 | b) : (b << 8 | a));
    };
    auto text = [&](size_t from, size_t to) {
        std::u16string w;
        for (size_t k = from; k < to; ++k) w += unit(k);
        return plat::AnsiFromUtf16(w);
    };
    size_t start = 0, k = 0;
    while (k < units) {
        char16_t c = unit(k);
        if (c == u'\r' || c == u'\n') {
            size_t endLen = (c == u'\r' && k + 1 < units && unit(k + 1) == u'\n') ? 2 : 1;
            Lines.push_back({text(start, k), endLen == 2 ? "\r\n" : std::string(1, static_cast<char>(c)),
                             bytes.substr(2 * start, 2 * (k - start))});
            k += endLen;
            start = k;
        } else {
            ++k;
        }
    }
    if (start < units) Lines.push_back({text(start, units), std::string(), bytes.substr(2 * start, 2 * (units - start))});
}

std::string TIniFile::Encode(const std::string& text) const {
    if (Encoding != FileEncoding::Utf16LE && Encoding != FileEncoding::Utf16BE) return text;
    std::string out;
    for (char16_t c : plat::Utf16FromAnsi(text)) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += BigEndian() ? hi : lo;
        out += BigEndian() ? lo : hi;
    }
    return out;
}

std::string TIniFile::Content() const {
    std::string out;
    if (Encoding == FileEncoding::Utf8Mark) out = kUtf8Mark;
    if (Encoding == FileEncoding::Utf16LE) out = "\xFF\xFE";
    if (Encoding == FileEncoding::Utf16BE) out = "\xFE\xFF";
    for (const Line& l : Lines) out += (l.Raw.empty() ? Encode(l.Text) : l.Raw) + Encode(l.End);
    return out + Tail;
}

std::string TIniFile::UnquoteValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

bool TIniFile::ParseInteger(const std::string& text, int& value) {
    std::string s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return false;
    std::uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull) return false;  // also stops any overflow
    }
    if (hex) {
        // A 32-bit pattern: 0xFFFFFFFF is -1.
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull) return false;
    std::int64_t signedValue = negative ? -static_cast<std::int64_t>(magnitude)
                                        : static_cast<std::int64_t>(magnitude);
    value = static_cast<int>(signedValue);
    return true;
}

int TIniFile::FindSection(const std::string& section) const {
    std::string name;
    for (size_t i = 0; i < Lines.size(); ++i)
        if (ParseSectionLine(Lines[i].Text, name) && SameName(name, section)) return static_cast<int>(i);
    return -1;
}

int TIniFile::FindKey(int header, const std::string& key, int* last) const {
    int found = -1;
    if (last) *last = header;
    std::string name, raw;
    for (size_t i = static_cast<size_t>(header) + 1; i < Lines.size(); ++i) {
        const std::string& text = Lines[i].Text;
        if (ParseSectionLine(text, name)) break;
        if (!ParseKeyLine(text, name, raw)) continue;
        if (last) *last = static_cast<int>(i);
        if (found < 0 && SameName(name, key)) {
            found = static_cast<int>(i);
            if (!last) break;
        }
    }
    return found;
}

bool TIniFile::HasKey(const std::string& section, const std::string& key) const {
    int header = FindSection(section);
    return header >= 0 && FindKey(header, key, nullptr) >= 0;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    int header = FindSection(section);
    if (header < 0) return defaultValue;
    int at = FindKey(header, key, nullptr);
    if (at < 0) return defaultValue;
    std::string name, raw;
    ParseKeyLine(Lines[static_cast<size_t>(at)].Text, name, raw);
    return CutToLength(UnquoteValue(raw), MaxValueLength);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    // A missing key reads as the empty text, which is not a number either.
    int value;
    return ParseInteger(ReadString(section, key, std::string()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::InsertLine(int after, const std::string& text) {
    Line& prev = Lines[static_cast<size_t>(after)];
    if (prev.End.empty()) prev.End = kLineEnd;
    Lines.insert(Lines.begin() + after + 1, Line{text, kLineEnd, std::string()});
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    std::string encoded = EncodeValue(value);
    int header = FindSection(section);
    if (header < 0) {
        if (!Lines.empty()) {
            if (Lines.back().End.empty()) Lines.back().End = kLineEnd;
            if (!Trim(Lines.back().Text).empty()) Lines.push_back({std::string(), kLineEnd, std::string()});
        }
        Lines.push_back({"[" + section + "]", kLineEnd, std::string()});
        Lines.push_back({key + "=" + encoded, kLineEnd, std::string()});
        return;
    }
    int last = header;
    int at = FindKey(header, key, &last);
    if (at < 0) {
        InsertLine(last, key + "=" + encoded);
        return;
    }
    Line& line = Lines[static_cast<size_t>(at)];
    std::string name, raw;
    ParseKeyLine(line.Text, name, raw);
    // A line that already reads as this value keeps its own spelling.
    if (UnquoteValue(raw) == value) return;
    line.Text = name + "=" + encoded;
    line.Raw.clear();
    line.End = kLineEnd;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() {
    // A file that exists but could not be read must not be replaced by the
    // few keys written here: that would lose everything else it holds.
    if (Unreadable || !WriteFileReplace(Path, Content()))
        throw Exception("Unable to write to " + Path);
}

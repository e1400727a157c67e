// Korvalin's ini reader against the system's private-profile functions.
//
// Writes a few hundred generated ini files and reads each value twice: with
// GetPrivateProfileStringA / GetPrivateProfileIntA and with TIniFile, the
// reader Korvalin uses. A difference is a FAIL, unless it is one that
// Korvalin makes on purpose (IntendedTextDifference, and integers by
// Korvalin's own rule, RuleInteger); those are counted on INFO lines.
//   kvinidiff.exe [--root folder]
#include "kvdriver.h"

#include <map>

#include "Inifile.h"

using namespace kv;

namespace {

const int kBuffer = TIniFile::MaxValueLength + 1;  // what a 2048-byte buffer holds
const int kDefaultInt = 12345;
const char* const kDefaultText = "<default>";

struct ValueCase {
    std::string group;  // names the PASS/FAIL line
    std::string raw;    // the text after '=' as the file holds it
};

std::vector<ValueCase> Values() {
    std::vector<ValueCase> v;
    auto add = [&](const std::string& g, const std::string& raw) { v.push_back({g, raw}); };
    for (const char* s : {"v", "two words", "a=b", "[x]", ";x", "k=v", "C:\\Program Files\\T\\"}) add("plain", s);
    for (const char* s : {"  v  ", "\tv\t", "", " ", "\t", " v w \t"}) add("blanks", s);
    for (const char* s : {"\"v\"", "'v'", "\" v \"", "' v '", "\"v", "v\"", "'v\"", "\"\"", "\"", "'",
                          "\"a\"b\"", "''''", " \"v\" ", "\"v\" x", "x \"v\"", "\"'v'\""})
        add("quotes", s);
    for (int b = 1; b < 32; ++b) {
        if (b == '\r' || b == '\n') continue;
        std::string c(1, static_cast<char>(b));
        add("control bytes", "a" + c + "b");
        add("control bytes", c + "a" + c);
    }
    // GBK: 新建 文件, an ideographic space on both sides, a second byte 0x5C.
    for (const char* s : {"\xd0\xc2\xbd\xa8\xce\xc4\xbc\xfe", " \xd0\xc2\xbd\xa8 ", "\"\xd6\xd0\xce\xc4\"",
                          "\xa1\xa1\xd6\xd0\xce\xc4\xa1\xa1", "\x81\x5c", "a\x81\x5c" "b", "\xd6\xd0=\xce\xc4"})
        add("GBK text", s);
    for (int n : {2045, 2046, 2047, 2048, 2049, 2050, 4095, 4096, 10000}) {
        add("long values", std::string(n, 'x'));
        add("long values", "\"" + std::string(n - 2, 'q') + "\"");
        add("long values", std::string(n, 'y') + "   ");
    }
    // Double-byte characters across the 2047-byte limit, on both alignments.
    for (int lead : {0, 1}) {
        std::string s(lead, 'a');
        while (s.size() < 2060) s += "\xd6\xd0";
        add("long GBK values", s);
        add("long GBK values", s.substr(0, 2046 + lead));
        add("long GBK values", s.substr(0, 2048 + lead));
    }
    for (const char* s : {"0", "12", "+12", "-12", " 12 ", "007", "2147483647", "2147483648", "-2147483648",
                          "-2147483649", "4294967295", "4294967296", "99999999999"})
        add("decimal numbers", s);
    for (const char* s : {"0x1F", "0X1f", "-0x10", "+0x10", "0xFFFFFFFF", "0x100000000", "0x", "$1F", "$ff",
                          "-$10", "$", "$FFFFFFFF"})
        add("hexadecimal numbers", s);
    for (const char* s : {"12abc", "abc", "1 2", "1e3", "--1", "+-1", "0b101", "0o17", "12.5", "\xa3\xb1\xa3\xb2",
                          "- 1", "0x1G", "$G"})
        add("garbage numbers", s);
    return v;
}

struct Layout {
    const char* name;
    std::vector<std::string> ends;  // line ends, used in turn
    bool finalEnd;
};

const Layout kLayouts[] = {
    {"CRLF", {"\r\n"}, true}, {"LF", {"\n"}, true}, {"CR", {"\r"}, true},
    {"mixed line ends", {"\r\n", "\n", "\r"}, true}, {"no final line end", {"\r\n"}, false},
};

struct Lookup {
    std::string section, key;
};

// One file around the value: neighbours, a comment, the key written with
// blanks around '=' in half of the files, a duplicate key and a duplicate
// section, and keys whose case differs from the lookup's.
std::string MakeFile(const ValueCase& v, const Layout& layout, int variant) {
    std::vector<std::string> lines = {"; a comment k=comment", "[Other]", "k=other", "[Sect]", "before=1",
                                      (variant & 1 ? "K = " : "k=") + v.raw};
    if (variant & 2) lines.push_back("k=second");
    lines.insert(lines.end(), {"after=2", "[sect]", "k=duplicate section", "new=3"});
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() || layout.finalEnd ? layout.ends[i % layout.ends.size()] : "");
    return text;
}

const std::vector<Lookup> kLookups = {
    {"Sect", "k"}, {"SECT", "K"}, {"Sect", "before"}, {"Sect", "after"}, {"Sect", "new"},
    {"Sect", "missing"}, {"Missing", "k"}, {"Other", "k"},
};

// Files whose shape, not their value, is the question: headers, key lines
// and where a key belongs. Each is read at Sect/k and Sect/j.
const char* const kShapes[] = {
    "[ Sect ]\nk=v\n", "[Sect] trailing text\nk=v\n", "[Sect]]\nk=v\n", "[Sect] x ]\nk=v\n",
    "[Sect]\nk=1\n[Sect]]\nj=2\n", "[Sect\nk=v\n", "  [Sect]  \n  k  =  v  \n", "k=outside\n[Sect]\nj=v\n",
    "[Sect]\nk\nk=v\n", "[Sect]\n=v\nk=w\n", "[Sect]\nk==v\n", "[Sect]\r\n\r\n\r\nk=v\r\n",
    "[sect]\nk=1\n[SECT]\nk=2\nj=3\n", "[Sect]\nK=1\nk=2\n", "[Sect]\n;k=v\nj=w\n", "[Sect]\n[Other]\nk=v\n",
    "[Other]\nk=1\n[Sect]\nj=2\n[Other]\n[Sect]\nk=3\n", "[Sect]\nk=v\r\rj=w\n\r", "[Sect]\r\nk=a\rb\nj=w",
    "\n\n[Sect]\nk=\"\"\"\n", "[Sect]\nk = ' v ' \nj = \" v ' \n", "[Sect]\nk=v ; not a comment\n",
    "[Sect]\n\tk\t=\tv\t\n",
};
// The one shape where Korvalin differs on purpose.
const char* const kKeylessLine = "[Sect]\nk\nk=v\n";

std::string WinString(const std::string& file, const Lookup& l) {
    std::string buf(kBuffer + 16, '\xCC');
    DWORD n = GetPrivateProfileStringA(l.section.c_str(), l.key.c_str(), kDefaultText, &buf[0], kBuffer,
                                       file.c_str());
    return buf.substr(0, n);
}

// Korvalin's integer rule, written out: decimal with an optional sign, or
// hexadecimal after 0x or $, the whole trimmed text, in 32 bits.
bool RuleInteger(const std::string& text, int& value) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const std::string s = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const bool neg = s[0] == '-';
    size_t i = s[0] == '+' || neg;
    int base = 10;
    if (s.compare(i, 1, "$") == 0) base = 16, i += 1;
    else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) base = 16, i += 2;
    if (i >= s.size() || s.size() - i > 12 || !isxdigit(static_cast<unsigned char>(s[i]))) return false;
    char* end = nullptr;
    const unsigned long long m = strtoull(s.c_str() + i, &end, base);
    if (*end || m > (base == 16 ? 0xFFFFFFFFull : neg ? 2147483648ull : 2147483647ull)) return false;
    if (base == 16) value = static_cast<int>(neg ? 0u - static_cast<unsigned>(m) : static_cast<unsigned>(m));
    else value = static_cast<int>(neg ? -static_cast<long long>(m) : static_cast<long long>(m));
    return true;
}

// The differences of a text value that Korvalin makes on purpose, or null.
const char* IntendedTextDifference(const std::string& raw, const std::string& win, const std::string& mine) {
    const size_t limit = TIniFile::MaxValueLength;
    if (win.size() == mine.size() + 1 && win.size() == limit && win.compare(0, mine.size(), mine) == 0 &&
        IsDBCSLeadByte(static_cast<BYTE>(win.back())))
        return "values cut at 2047 bytes keep no half of a double-byte character";
    if (mine.size() == limit && win == mine.substr(0, limit - 1) && raw.size() == limit + 2 &&
        (raw[0] == '"' || raw[0] == '\''))
        return "quoted values of 2049 bytes lose their quotes only";
    if (raw == kKeylessLine) return "a line without '=' is no key (the system's hides a later key line)";
    return nullptr;
}

// A long text shortened for a FAIL line.
std::string Brief(const std::string& s) {
    return s.size() > 40 ? Show(s.substr(0, 20)) + "...(" + std::to_string(s.size()) + " bytes)" : Show(s);
}

struct Tally {
    int files = 0, strings = 0, numbers = 0, failed = 0;
};
std::map<std::string, Tally> g_tallies;  // by group
std::map<std::string, int> g_intended;   // differences on purpose, by kind

// Writes `content` as a file of its own (the system keeps the files it read
// cached) and reads each lookup through the system and through TIniFile, as
// text and, with `integers`, as an integer. A difference not made on purpose
// is a FAIL line that names `value`, the text the file is about.
void Compare(const std::string& file, const std::string& group, const std::string& content,
             const std::string& value, bool integers, const std::vector<Lookup>& lookups) {
    g_case = "ini-diff/" + group;
    Tally& t = g_tallies[group];
    if (!WriteAll(file, content)) {
        Check(false, "the file can be written", file);
        return;
    }
    ++t.files;
    TIniFile ours(file);
    for (const Lookup& l : lookups) {
        const std::string where = l.section + "/" + l.key + " of " + Brief(value);
        const std::string win = WinString(file, l), mine = ours.ReadString(l.section, l.key, kDefaultText);
        ++t.strings;
        if (const char* why = win == mine ? nullptr : IntendedTextDifference(value, win, mine)) {
            ++g_intended[why];
        } else if (win != mine) {
            ++t.failed;
            Check(false, "string " + where, "system " + Brief(win) + ", Korvalin " + Brief(mine));
        }
        if (!integers) continue;
        const int winInt = static_cast<int>(
            GetPrivateProfileIntA(l.section.c_str(), l.key.c_str(), kDefaultInt, file.c_str()));
        const int mineInt = ours.ReadInteger(l.section, l.key, kDefaultInt);
        int rule = kDefaultInt;
        if (win == kDefaultText || !RuleInteger(win, rule)) rule = kDefaultInt;
        ++t.numbers;
        if (mineInt != rule) {
            ++t.failed;
            Check(false, "integer " + where, "Korvalin " + std::to_string(mineInt) + ", rule " + std::to_string(rule));
        } else if (mineInt != winInt) {
            ++g_intended["integers follow Korvalin's own rule"];
        }
    }
    DeleteFileA(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string root = std::string(tmp) + "kvinidiff\\";
    if (argc == 3 && std::string(argv[1]) == "--root") {
        root = argv[2];
    } else if (argc != 1) {
        fprintf(stderr, "usage: kvinidiff [--root folder]\n");
        return 2;
    }
    if (root.back() != '\\') root += '\\';
    CreateDirectoryA(root.c_str(), nullptr);
    char full[MAX_PATH];
    GetFullPathNameA(root.c_str(), MAX_PATH, full, nullptr);
    root = full;

    int fileNo = 0;
    const std::vector<ValueCase> values = Values();
    for (const Layout& layout : kLayouts)
        for (size_t vi = 0; vi < values.size(); ++vi) {
            const ValueCase& v = values[vi];
            Compare(root + "d" + std::to_string(++fileNo) + ".ini", std::string(layout.name) + ", " + v.group,
                    MakeFile(v, layout, static_cast<int>(vi % 4)), v.raw, true, kLookups);
        }
    for (const char* shape : kShapes)
        Compare(root + "s" + std::to_string(++fileNo) + ".ini", "file shapes", shape, shape, false,
                {{"Sect", "k"}, {"Sect", "j"}});

    Tally total;
    for (const auto& [group, t] : g_tallies) {
        total.files += t.files;
        total.strings += t.strings;
        total.numbers += t.numbers;
        g_case = "ini-diff/" + group;
        if (t.failed == 0)
            Check(true, std::to_string(t.files) + " files, " + std::to_string(t.strings) + " strings and " +
                            std::to_string(t.numbers) + " integers agree");
    }
    for (const auto& i : g_intended)
        Print("INFO ini-diff: differ on purpose, " + i.first + ": " + std::to_string(i.second));
    Print("INFO ini-diff: compared " + std::to_string(total.files) + " files, " + std::to_string(total.strings) +
          " strings, " + std::to_string(total.numbers) + " integers");
    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed ? 1 : 0;
}

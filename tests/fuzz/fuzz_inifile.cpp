// The ini reader and writer: any file loads and is written back byte for
// byte; a value written reads back unchanged, also after the file is saved
// and loaded again, and leaves every other key as it was.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Backend.h"
#include "FuzzCheck.h"
#include "Headless.h"
#include "Inifile.h"

namespace {

const char* const kPath = "C:\\Korvalin\\korvalin.ini";

// What the reader trims around names and values, as the system does.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

bool HasLineBreak(const std::string& s) {
    return s.find('\r') != std::string::npos || s.find('\n') != std::string::npos;
}

bool Trimmed(const std::string& s) { return s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back())); }

// Names that a file can hold: what a header or key line reads back as.
bool StorableSection(const std::string& s) {
    return Trimmed(s) && !HasLineBreak(s);
}
bool StorableKey(const std::string& k) {
    return !k.empty() && Trimmed(k) && !HasLineBreak(k) && k.find('=') == std::string::npos &&
           k[0] != ';' && k[0] != '[';
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// Section and key names to look at: those of the input and a few that the
// file's own lines suggest.
void Probes(const std::string& content, std::vector<std::string>& sections, std::vector<std::string>& keys) {
    std::size_t start = 0;
    while (start <= content.size() && sections.size() < 6 && keys.size() < 10) {
        std::size_t end = content.find_first_of("\r\n", start);
        std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::size_t b = 0;
        while (b < line.size() && IsBlank(line[b])) ++b;
        if (b < line.size() && line[b] == '[') {
            std::size_t close = line.find(']', b);
            if (close != std::string::npos) {
                std::string name = line.substr(b + 1, close - b - 1);
                while (!name.empty() && IsBlank(name.front())) name.erase(0, 1);
                while (!name.empty() && IsBlank(name.back())) name.pop_back();
                sections.push_back(name);
            }
        } else if (line.find('=') != std::string::npos) {
            std::string key = line.substr(b, line.find('=') - b);
            while (!key.empty() && IsBlank(key.back())) key.pop_back();
            keys.push_back(key);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

using Reading = std::vector<std::pair<std::string, int>>;

Reading ReadAll(const TIniFile& ini, const std::vector<std::string>& sections, const std::vector<std::string>& keys) {
    Reading r;
    for (const std::string& s : sections)
        for (const std::string& k : keys)
            r.push_back({ini.ReadString(s, k, "\x01missing"), ini.ReadInteger(s, k, -7)});
    return r;
}

}  // namespace

// Input: the value, the section and the key as length-prefixed pieces, a
// 32-bit number, then the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::string value = in.Piece();
    // A long value now and then, to cross the read limit.
    if (!value.empty() && value[0] == '~') value = std::string(2000, 'v') + value;
    const std::string section = in.Piece();
    const std::string key = in.Piece();
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 8 | in.Byte();
    const int number = static_cast<std::int32_t>(bits);
    const std::string content = in.Rest();

    headless::Reset();
    headless::AddDir("C:\\Korvalin");
    headless::AddFile(kPath, content);
    TIniFile ini(kPath);
    FUZZ_CHECK(ini.Content() == content, "an untouched file is written back byte for byte");

    std::vector<std::string> sections{section}, keys{key};
    Probes(content, sections, keys);
    const Reading before = ReadAll(ini, sections, keys);
    for (const auto& r : before)
        FUZZ_CHECK(r.first.size() <= static_cast<std::size_t>(TIniFile::MaxValueLength) || r.first == "\x01missing",
                   "no value read is longer than the limit");

    if (!StorableSection(section) || !StorableKey(key)) return 0;
    const bool holdable = !HasLineBreak(value) && value.size() <= static_cast<std::size_t>(TIniFile::MaxValueLength);

    ini.WriteString(section, key, value);
    if (holdable) FUZZ_CHECK(ini.ReadString(section, key, "") == value, "a value reads back as written");

    // Every other key reads as before.
    const Reading after = ReadAll(ini, sections, keys);
    std::size_t i = 0;
    for (const std::string& s : sections)
        for (const std::string& k : keys) {
            if (!(SameName(s, section) && SameName(k, key)))
                FUZZ_CHECK(after[i] == before[i], "another key changed");
            ++i;
        }

    // Saved and loaded again: the same readings. A UTF-16 file holds only
    // what the ANSI code page and UTF-16 have in common.
    const bool utf16 = content.compare(0, 2, "\xFF\xFE") == 0 || content.compare(0, 2, "\xFE\xFF") == 0;
    auto survives = [](const std::string& s) { return plat::AnsiFromUtf16(plat::Utf16FromAnsi(s)) == s; };
    if (utf16 && !(survives(value) && survives(section) && survives(key))) return 0;
    ini.UpdateFile();
    TIniFile again(kPath);
    FUZZ_CHECK(again.Content() == ini.Content(), "the saved file is what was in memory");
    FUZZ_CHECK(ReadAll(again, sections, keys) == after, "the saved file reads the same");
    if (holdable) FUZZ_CHECK(again.ReadString(section, key, "") == value, "the value survives the save");

    // Numbers: what WriteInteger stores, ReadInteger gives back.
    again.WriteInteger(section, key, number);
    FUZZ_CHECK(again.ReadInteger(section, key, number ^ 1) == number, "a number reads back as written");
    return 0;
}

// The ini reader and writer: any file loads and is written back byte for
// byte; a value written reads back unchanged, also after the file is saved
// and loaded again, and leaves every other key as it was.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "Inifile.h"

namespace {

// What the reader trims around names and values, as the system does.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }
std::string Trim(std::string s) {
    while (!s.empty() && IsBlank(s.front())) s.erase(0, 1);
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    return s;
}

// Names that a file can hold: what a header or key line reads back as.
bool StorableSection(const std::string& s) { return Trim(s) == s && !HasLineBreak(s); }
bool StorableKey(const std::string& k) {
    return !k.empty() && Trim(k) == k && !HasLineBreak(k) && k.find('=') == std::string::npos &&
           k[0] != ';' && k[0] != '[';
}

// Section and key names to look at: those of the input and a few that the
// file's own lines suggest.
void Probes(std::string content, std::vector<std::string>& sections, std::vector<std::string>& keys) {
    for (char& c : content)
        if (c == '\r') c = '\n';
    for (const std::string& raw : SplitOn(content, "\n")) {
        if (sections.size() >= 6 || keys.size() >= 10) break;
        const std::string line = Trim(raw);
        const bool header = !line.empty() && line[0] == '[';
        if (header && line.find(']') != std::string::npos)
            sections.push_back(Trim(line.substr(1, line.find(']') - 1)));
        else if (!header && line.find('=') != std::string::npos)
            keys.push_back(Trim(line.substr(0, line.find('='))));
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

    FreshIniFolder();
    headless::AddFile(kIniPath, content);
    TIniFile ini(kIniPath);
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
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::string &s = sections[i / keys.size()], &k = keys[i % keys.size()];
        FUZZ_CHECK(after[i] == before[i] || (SameIgnoringCase(s, section) && SameIgnoringCase(k, key)),
                   "another key changed");
    }

    // Saved and loaded again: the same readings. A UTF-16 file holds only
    // what the ANSI code page and UTF-16 have in common.
    const bool utf16 = content.compare(0, 2, "\xFF\xFE") == 0 || content.compare(0, 2, "\xFE\xFF") == 0;
    auto survives = [](const std::string& s) { return plat::AnsiFromUtf16(plat::Utf16FromAnsi(s)) == s; };
    if (utf16 && !(survives(value) && survives(section) && survives(key))) return 0;
    ini.UpdateFile();
    TIniFile again(kIniPath);
    FUZZ_CHECK(again.Content() == ini.Content(), "the saved file is what was in memory");
    FUZZ_CHECK(ReadAll(again, sections, keys) == after, "the saved file reads the same");
    if (holdable) FUZZ_CHECK(again.ReadString(section, key, "") == value, "the value survives the save");

    // Numbers: what WriteInteger stores, ReadInteger gives back.
    again.WriteInteger(section, key, number);
    FUZZ_CHECK(again.ReadInteger(section, key, number ^ 1) == number, "a number reads back as written");
    return 0;
}

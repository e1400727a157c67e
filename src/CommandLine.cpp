#include "CommandLine.h"

#include "Backend.h"

namespace {
bool IsSeparator(unsigned char c) { return c >= 1 && c <= 32; }
}  // namespace

std::vector<std::string> SplitArguments(const std::string& line) {
    const std::string raw = line.substr(0, line.find('\0'));
    const std::size_t n = raw.size();
    std::vector<std::string> args;
    std::size_t i = 0;
    while (true) {
        // Find where the next argument begins.
        while (true) {
            while (i < n && IsSeparator(static_cast<unsigned char>(raw[i]))) ++i;
            if (i + 1 < n && raw[i] == '"' && raw[i + 1] == '"') {
                i += 2;
                continue;
            }
            break;
        }
        if (i >= n) break;

        std::string arg;
        bool quoted = false;
        while (i < n) {
            unsigned char c = static_cast<unsigned char>(raw[i]);
            if (plat::IsLeadByte(c)) {
                arg += raw[i++];
                if (i < n) arg += raw[i++];
                continue;
            }
            if (c == '"') {
                quoted = !quoted;
                ++i;
                continue;
            }
            if (!quoted && IsSeparator(c)) break;
            arg += raw[i++];
        }
        // A lone quote (or one around nothing) yields no text: not an argument.
        if (!arg.empty() || args.empty()) args.push_back(arg);
    }
    if (args.empty()) args.emplace_back();
    return args;
}

SwitchScan ScanSwitches(const std::vector<std::string>& args) {
    SwitchScan scan;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || (a[0] != '-' && a[0] != '/')) continue;
        ++scan.SwitchCount;
        std::string rest = a.substr(1);
        for (char& c : rest)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        if (rest == "onlydir")
            scan.OnlyDirMode = true;
        else
            ++scan.SwitchCount;  // the switch's value takes the next position
    }
    return scan;
}

std::string PanelDirFromRawLine(const std::string& raw) {
    const std::size_t n = raw.size();
    std::size_t i = 0;
    while (i < n) {
        char c = raw[i];
        if (c == '"') {
            // The byte right after the opening quote is skipped unseen, so
            // "" opens a stretch rather than closing one.
            i += 2;
            while (i < n && raw[i] != '"') ++i;
            if (i >= n) return std::string();  // never closed
            ++i;
            continue;
        }
        if (c == ' ') {
            char after = i + 1 < n ? raw[i + 1] : '\0';
            if (after == ' ' || after == '-' || after == '/') {
                ++i;
                continue;
            }
            return raw.substr(i + 1);
        }
        ++i;
    }
    return std::string();
}

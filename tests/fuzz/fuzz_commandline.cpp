// The command line the file manager builds: splitting into arguments and the
// switch scan.
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"

namespace {

bool IsSeparator(unsigned char c) { return c >= 1 && c <= 32; }

// True when `part` can be had from `whole` by leaving bytes out.
bool IsSubsequence(const std::string& part, const std::string& whole) {
    std::size_t j = 0;
    for (char c : whole)
        if (j < part.size() && part[j] == c) ++j;
    return j == part.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw = AsText(data, size);
    const std::vector<std::string> args = SplitArguments(raw);
    FUZZ_CHECK(!args.empty(), "argument 0 is always there");

    std::string kept;
    bool quotable = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i > 0) FUZZ_CHECK(!a.empty(), "no argument after the program is empty");
        FUZZ_CHECK(a.find('\0') == std::string::npos, "a NUL ends the line");
        kept += a;
        // No quote, and no lead byte at the end that would take the closing
        // quote as its second byte.
        quotable = quotable && !HasChar(a, "\"") && !EndsInLoneLead(a);
    }
    FUZZ_CHECK(IsSubsequence(kept, raw), "arguments are the line's bytes, in order");

    // Without quotes, blanks and control bytes only separate (a lead byte
    // still takes any byte after it as its second).
    if (raw.find('"') == std::string::npos)
        for (std::size_t i = 1; i < args.size(); ++i)
            for (std::size_t k : CharStarts(args[i]))
                FUZZ_CHECK(!IsSeparator(static_cast<unsigned char>(args[i][k])), "an unquoted blank separates");

    // Quoting every argument and splitting again gives the same arguments.
    if (quotable && !args[0].empty()) {
        std::string again;
        for (std::size_t i = 0; i < args.size(); ++i) again += (i ? " \"" : "\"") + args[i] + "\"";
        FUZZ_CHECK(SplitArguments(again) == args, "quoted arguments split back the same");
    }

    // The switch scan, without a second copy of it: each argument counts on
    // its own (OnlyDir one position, any other switch two, a plain argument
    // none), so the scan of the line is the sum of the scans of its
    // arguments, in any order.
    const SwitchScan scan = ScanSwitches(args);
    int sum = 0, switches = 0;
    bool anyOnlyDir = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const SwitchScan one = ScanSwitches({args[0], args[i]});
        const bool isSwitch = args[i][0] == '-' || args[i][0] == '/';
        FUZZ_CHECK(one.SwitchCount == (isSwitch ? (one.OnlyDirMode ? 1 : 2) : 0), "one argument's positions");
        FUZZ_CHECK(one.OnlyDirMode == (isSwitch && SameIgnoringCase(args[i].substr(1), "onlydir")), "OnlyDir by name");
        sum += one.SwitchCount;
        switches += isSwitch;
        anyOnlyDir = anyOnlyDir || one.OnlyDirMode;
    }
    FUZZ_CHECK(scan.SwitchCount == sum && scan.OnlyDirMode == anyOnlyDir, "the sum of the arguments");
    std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
    reversed.insert(reversed.begin(), args[0]);
    const SwitchScan back = ScanSwitches(reversed);
    FUZZ_CHECK(back.SwitchCount == scan.SwitchCount && back.OnlyDirMode == scan.OnlyDirMode, "in any order");
    FUZZ_CHECK(scan.SwitchCount >= switches && scan.SwitchCount <= 2 * switches, "one or two positions a switch");
    FUZZ_CHECK(scan.SwitchCount >= 0 && scan.SwitchCount <= 2 * static_cast<int>(args.size()),
               "switch count in range");
    return 0;
}

// MatchNamePattern against a plain matcher written from the definition:
// '%' any run of bytes, '_' one byte, ASCII letters in either case.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Utils.h"

namespace {

// Table of "pattern from i matches name from j", filled from the back.
bool Reference(const std::string& p, const std::string& n) {
    const std::size_t m = p.size(), k = n.size();
    std::vector<char> next(k + 1), cur(k + 1);
    next[k] = 1;  // empty pattern matches the empty rest only
    for (std::size_t i = m; i-- > 0;) {
        for (std::size_t j = k + 1; j-- > 0;) {
            if (p[i] == '%')
                cur[j] = next[j] || (j < k && cur[j + 1]);
            else
                cur[j] = j < k && (p[i] == '_' || AsciiLower(p[i]) == AsciiLower(n[j])) && next[j + 1];
        }
        std::swap(cur, next);
    }
    return next[0];
}

}  // namespace

// Input: the pattern as a length-prefixed piece, then the name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::string pattern = in.Piece();
    // Now and then a pattern past the matcher's stack room.
    if (!pattern.empty() && pattern[0] == '!') pattern = pattern + pattern + pattern + pattern + pattern;
    const std::string name = in.Rest();
    FUZZ_CHECK(MatchNamePattern(pattern, name) == Reference(pattern, name), "pattern match");
    return 0;
}

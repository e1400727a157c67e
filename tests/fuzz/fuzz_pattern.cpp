// MatchNamePattern against a plain matcher written from the definition:
// '%' any run of bytes, '_' one byte, ASCII letters in either case.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "PatternReference.h"
#include "Utils.h"

// Input: the pattern as a length-prefixed piece, then the name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::string pattern = in.Piece();
    // Now and then a pattern past the matcher's stack room.
    if (!pattern.empty() && pattern[0] == '!') pattern = pattern + pattern + pattern + pattern + pattern;
    const std::string name = in.Rest();
    FUZZ_CHECK(MatchNamePattern(pattern, name) == ReferenceMatch(pattern, name), "pattern match");
    return 0;
}

// TitleCase on any bytes: the length stays, only ASCII letters change and
// only in case, no second byte of a double-byte character changes, a second
// pass changes nothing, and each letter's case follows from the character
// before it alone.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "Utils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in = AsText(data, size);
    const std::string out = TitleCase(in);
    FUZZ_CHECK(out.size() == in.size(), "same length");
    FUZZ_CHECK_EQ(TitleCase(out), out, "a second pass changes nothing");

    bool prevLetter = false;  // the character before is an ASCII letter
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (plat::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < in.size()) {
            FUZZ_CHECK(out[i] == c && out[i + 1] == in[i + 1], "a double-byte character stays as it is");
            ++i;
            prevLetter = false;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            FUZZ_CHECK(out[i] == c, "a byte that is no ASCII letter stays");
            prevLetter = false;
            continue;
        }
        FUZZ_CHECK(AsciiLower(out[i]) == AsciiLower(c), "a letter changes in case only");
        FUZZ_CHECK((out[i] >= 'A' && out[i] <= 'Z') == !prevLetter,
                   "capital at the start of a run of letters, lower case in it");
        prevLetter = true;
    }
    return 0;
}

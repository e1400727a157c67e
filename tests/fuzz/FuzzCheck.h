// Shared by the fuzz targets: a property that fails stops the run the way a
// crash does, so that libFuzzer saves the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond, what)                                                \
    do {                                                                      \
        if (!(cond)) {                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", what,       \
                         __FILE__, __LINE__);                                 \
            std::abort();                                                     \
        }                                                                     \
    } while (0)

// The same for two texts, which are shown (bytes outside 32..126 in hex).
inline std::string Visible(const std::string& s) {
    std::string r;
    for (unsigned char c : s) {
        char b[8];
        if (c >= 32 && c < 127) r += static_cast<char>(c);
        else std::snprintf(b, sizeof b, "\\x%02X", c), r += b;
    }
    return r;
}
#define FUZZ_CHECK_EQ(got, want, what)                                        \
    do {                                                                      \
        if (!((got) == (want)))                                               \
            std::fprintf(stderr, "got  \"%s\"\nwant \"%s\"\n",                  \
                         Visible(got).c_str(), Visible(want).c_str());        \
        FUZZ_CHECK((got) == (want), what);                                    \
    } while (0)

// Takes the input apart into pieces: each piece is a length byte and that
// many bytes (the rest when fewer are left).
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
    bool Empty() const { return Pos >= Size; }
    std::uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }
    std::string Piece() {
        std::size_t n = Byte();
        return Take(n);
    }
    std::string Take(std::size_t n) {
        if (n > Size - Pos) n = Size - Pos;
        std::string s(reinterpret_cast<const char*>(Data + Pos), n);
        Pos += n;
        return s;
    }
    std::string Rest() { return Take(Size - Pos); }

private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos = 0;
};

inline std::string AsText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

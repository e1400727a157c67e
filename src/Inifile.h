// A private-profile (ini) file held in memory.
//
// The whole file is read once when the object is built and written once by
// UpdateFile, so a failed save never leaves a half-written file behind.
// Everything the program does not touch (other sections, keys, comments,
// unknown lines, their line ends, a UTF-8 byte-order mark in front of the
// first line) is written back byte for byte. A file saved as UTF-16 (little-
// or big-endian, with its byte-order mark) is read through the ANSI code
// page and written back in UTF-16.
//
// Reading follows the usual private-profile rules: section and key names are
// compared without regard to ASCII case; a value is trimmed of surrounding
// blanks and of one pair of matching enclosing quotes; at most
// MaxValueLength bytes of it are returned. When a section or key occurs more
// than once, the first one is read and updated.
#pragma once

#include <string>
#include <vector>

class TIniFile {
public:
    // The longest value that the Read functions return, in bytes.
    static constexpr int MaxValueLength = 2047;

    // Loads `path` when a file exists there; otherwise starts empty.
    explicit TIniFile(const std::string& path);

    const std::string& FileName() const { return Path; }
    // The file exists but could not be read, even after waiting about a
    // second for another program to let go of it.
    bool LoadFailed() const { return Unreadable; }
    // The file as UpdateFile would write it.
    std::string Content() const;

    bool HasKey(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Decimal with an optional sign, or hexadecimal after 0x or $ (up to
    // 32 bits, taken as a signed value). A missing value, or one that is not
    // entirely a number in 32 bits, gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Read as an integer; any non-zero value is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes the whole file in one step; throws Exception("Unable to write
    // to " + path) when that fails, leaving the file on disk as it was.
    void UpdateFile();

    // Parsing helpers, public for the tests.
    // The value as the Read functions see the raw text after '=' (no length cut).
    static std::string UnquoteValue(const std::string& raw);
    // Strict integer parsing as ReadInteger does it; false when not a number.
    static bool ParseInteger(const std::string& text, int& value);

private:
    struct Line {
        std::string Text;
        std::string End;  // "\r\n", "\n", "\r" or empty for a last line without one
        std::string Raw;  // a UTF-16 file's own bytes of Text, until Text changes
    };
    enum class FileEncoding { Ansi, Utf8Mark, Utf16LE, Utf16BE };

    void LoadUtf16(const std::string& bytes);
    bool BigEndian() const;
    // Text in the file's encoding.
    std::string Encode(const std::string& text) const;

    // Index of the first line of the first section named `section`'s header, or -1.
    int FindSection(const std::string& section) const;
    // Index of the first line holding `key` in the section whose header is at
    // `header`, or -1. `last` receives the last key line of the section (the
    // header when it has none).
    int FindKey(int header, const std::string& key, int* last) const;
    void InsertLine(int after, const std::string& text);

    std::string Path;
    std::vector<Line> Lines;
    bool Unreadable = false;  // the file exists but could not be read
    FileEncoding Encoding = FileEncoding::Ansi;  // a byte-order mark is kept on writing
    std::string Tail;  // the odd last byte of a UTF-16 file
};

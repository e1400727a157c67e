// Small text and path helpers shared by the main window's subsystems.
//
// All text is 8-bit text in the system's ANSI code page (GBK on the target).
// Unless a function says otherwise it works on single bytes.
#pragma once

#include <cstddef>
#include <string>

// True for "\..." (root of the current drive, network paths) and "X:\...".
// "C:" and "C:x" are relative.
bool IsAbsolutePath(const std::string& text);

// Equal bytes, or an ASCII letter against its other case. No other folding.
bool SameCharIgnoreCase(char patternByte, char nameByte);

// Whole-name match of a template name against a file name: '%' stands for
// any run of bytes (also none), '_' for exactly one byte, other bytes compare
// by SameCharIgnoreCase. No escapes. Runs in O(name length x pattern length).
bool MatchNamePattern(const std::string& pattern, const std::string& name);

// How often the byte `ch` occurs in `text`.
int CountChar(const std::string& text, char ch);

// Position of the last byte of `text` that is one of `delims`, never taking
// the second byte of a double-byte character; npos when there is none.
std::size_t LastDelimiter(const std::string& delims, const std::string& text);

// True when the last character (not merely the last byte) is a backslash.
bool EndsWithBackslash(const std::string& text);

// Directory part of a path: everything before its last backslash, but a
// drive root ("C:\") or the bare root ("\") keeps its backslash. Empty when
// the path has no backslash.
std::string ExtractFileDir(const std::string& path);

// Everything after the last backslash or colon.
std::string ExtractFileName(const std::string& path);

// From the file name's last dot on, the dot included; empty without a dot.
std::string ExtractFileExt(const std::string& path);

// Removes every byte with a value up to 32 from both ends / the end.
std::string TrimControl(const std::string& text);
std::string TrimControlLeft(const std::string& text);
std::string TrimControlRight(const std::string& text);

// True when `text` holds none of the nine characters \ / : * ? " < > | that
// file names cannot hold. Otherwise tells the user which ones are refused (a
// message box with no owner, the application's title, the error icon) and
// answers false. The search runs over bytes: a double-byte character whose
// second byte is 0x5C or 0x7C is refused as well.
bool CheckFileNameChars(const std::string& text);
// A run of '0' as long as the decimal form of `count` (0 gives "0").
std::string NumberPattern(long long count);

// Letters for a number of 1 or more, counted as spreadsheet columns are
// (A..Z, AA..AZ, BA, ...); nothing for a number below 1.
std::string LetterSequence(long long number, bool upper);

// A to Z and a to z only.
bool IsAsciiLetter(unsigned char byte);

// Every run of ASCII letters begins with a capital and goes on in lower
// case. A double-byte character is stepped over whole and counts as a
// non-letter, so no second byte is ever changed.
std::string TitleCase(const std::string& text);

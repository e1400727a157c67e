// The ini file: reading names and values, numbers and flags, writing in
// place, the byte-order marks an editor leaves (UTF-8, and UTF-16 of either
// byte order), and a save whose replace step fails half-way.
#include <gtest/gtest.h>

#include "Inifile.h"
#include "TestKit.h"

namespace {

const char* const kPath = "C:\\Korvalin\\korvalin.ini";
const char* const kTmp = "C:\\Korvalin\\korvalin.ini.~4242.tmp";

TIniFile Load(const std::string& content) {
    headless::Reset();
    headless::AddFile(kPath, content);
    return TIniFile(kPath);
}

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

// kvinidiff compares the reader with the system's on generated files; these
// rows are what it leaves out: NUL bytes, a double-byte character that the
// system cuts in half at the length limit, double-byte names.
TEST(IniFile, ReadString) {
    const struct { const char* name; std::string content, section, key, expected; } cases[] = {
        {"binary bytes", BYTES("\x01\xff\n[A]\nk=\x01\xfe\0z\n"), "A", "k", BYTES("\x01\xfe\0z")},
        {"a double-byte character left out whole", "[A]\nk=" + std::string(2046, 'a') + "\xD6\xD0z\n", "A", "k",
         std::string(2046, 'a')},
        // Only ASCII letters fold: the second bytes of 癆 (B0 41) and 癮 (B0 61) are no letters.
        {"key differs in a second byte", "[A]\r\nx\xB0\x61y=v\r\n", "a", "X\xB0\x41Y", "def"},
        {"letters around a double-byte key", "[A]\r\nx\xB0\x61y=v\r\n", "a", "X\xB0\x61Y", "v"},
    };
    for (const auto& c : cases) EXPECT_EQ(Load(c.content).ReadString(c.section, c.key, "def"), c.expected) << c.name;
}

// Numbers beside those kvinidiff compares: a quoted one, digits past 64
// bits, and how a flag reads them.
TEST(IniFile, ReadIntegerAndBool) {
    const struct { std::string value; int expected; } cases[] = {  // 7: the default, not a number
        {"0", 0}, {"0xFFFFFFFF", -1}, {"\"42\"", 42}, {"99999999999999999999999", 7},
    };
    for (const auto& c : cases) {
        TIniFile ini = Load("[A]\nk=" + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("A", "k", 7), c.expected) << c.value;
        // 7 marks "not a number": a flag then keeps its default too.
        EXPECT_EQ(ini.ReadBool("A", "k", false), c.expected == 7 ? false : c.expected != 0) << c.value;
        EXPECT_EQ(ini.ReadBool("A", "k", true), c.expected == 7 ? true : c.expected != 0) << c.value;
    }
    TIniFile ini = Load("[A]\n");
    EXPECT_EQ(std::make_pair(ini.ReadInteger("A", "missing", 7), ini.ReadBool("A", "missing", true)),
              std::make_pair(7, true));
}

TEST(IniFile, WriteString) {
    const struct { const char* name; std::string before, section, key, value, after; } cases[] = {
        {"in place, rest untouched", "; c\r\n[A]\nk=1\nj=2\r\n[B]\rx=y\r", "A", "k", "5",
         "; c\r\n[A]\nk=5\r\nj=2\r\n[B]\rx=y\r"},
        {"new key after the section's last key", "[A]\r\nk=1\r\n; about B\r\n\r\n[B]\r\n", "a", "n", "2",
         "[A]\r\nk=1\r\nn=2\r\n; about B\r\n\r\n[B]\r\n"},
        {"new key in an empty section", "[A]\r\n[B]\r\n", "A", "n", "2", "[A]\r\nn=2\r\n[B]\r\n"},
        {"new key, no final line end", "[A]\r\nk=1", "A", "j", "2", "[A]\r\nk=1\r\nj=2\r\n"},
        {"new section at the end", "[A]\r\nk=1", "B", "x", "1", "[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n"},
        {"first duplicate updated", "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", "A", "K", "9",
         "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n"},
        {"file's spelling of the key kept", "[A]\r\n KEY = 1\r\n", "A", "key", "2", "[A]\r\nKEY=2\r\n"},
        {"same value leaves the line alone", "[A]\n k = '5' ", "A", "k", "5", "[A]\n k = '5' "},
        {"blanks at the ends are quoted", "", "A", "k", " x ", "[A]\r\nk=\" x \"\r\n"},
        {"enclosing quotes are quoted", "", "A", "k", "'q'", "[A]\r\nk=\"'q'\"\r\n"},
        // The reader trims ^Z, \v and \f too (kvinidiff holds it to the system's reader).
        {"what the reader trims is quoted", "", "A", "k", "\x1a v \x0b", "[A]\r\nk=\"\x1a v \x0b\"\r\n"},
        {"line breaks cannot split the line", "", "A", "k", "a\r\nb=c", "[A]\r\nk=a  b=c\r\n"},
        {"binary bytes kept", BYTES("\0\xff\x80 junk\r\n[A]\r\nk=1\r\n"), "A", "k", "2",
         BYTES("\0\xff\x80 junk\r\n[A]\r\nk=2\r\n")},
    };
    for (const auto& c : cases) {
        TIniFile ini = Load(c.before);
        ini.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(ini.Content(), c.after) << c.name;
    }
}

// An editor's "UTF-8 with BOM": the mark is no part of the first line, and
// it stays in front when the file is written back.
TEST(IniFile, Utf8MarkInFront) {
    const struct { const char* name; std::string before, confirmMode, after; } cases[] = {
        {"mark alone", "\xEF\xBB\xBF", "def", "\xEF\xBB\xBF[FileList]\r\nConfirmMode=1\r\n"},
        {"only at the very start", " \xEF\xBB\xBF[FileList]\r\nConfirmMode=0\r\n", "def",
         " \xEF\xBB\xBF[FileList]\r\nConfirmMode=0\r\n\r\n[FileList]\r\nConfirmMode=1\r\n"},
        {"part of a mark is text", "\xEF\xBB[FileList]\r\n", "def",
         "\xEF\xBB[FileList]\r\n\r\n[FileList]\r\nConfirmMode=1\r\n"},
    };
    for (const auto& c : cases) {
        TIniFile ini = Load(c.before);
        EXPECT_EQ(ini.ReadString("FileList", "ConfirmMode", "def"), c.confirmMode) << c.name;
        ini.WriteInteger("FileList", "ConfirmMode", 1);
        EXPECT_EQ(ini.Content(), c.after) << c.name;
    }
}

TEST(IniFile, Utf16FilesAreReadAndWrittenInTheirEncoding) {
    // A comment that the ANSI code page cannot hold (an emoji) must come
    // back unchanged too: untouched lines keep their own bytes.
    const std::u16string before =
        u"; 设置 \U0001F600\r\n[FileList]\r\nConfirmMode=1\r\n[Naming]\r\nCommonUse=周报|东\r\n";
    const std::u16string after =
        u"; 设置 \U0001F600\r\n[FileList]\r\nConfirmMode=0\r\nInitBySelect=1\r\n[Naming]\r\nCommonUse=周报|东\r\n"
        u"\r\n[Window]\r\nLeft=5\r\n";
    for (bool bigEndian : {false, true}) {
        const char* name = bigEndian ? "big-endian" : "little-endian";
        TIniFile ini = Load(Utf16Bytes(before, bigEndian));
        EXPECT_EQ(std::make_tuple(ini.ReadInteger("FileList", "ConfirmMode", 7),
                                  ini.ReadString("Naming", "CommonUse", ""), ini.Content()),
                  std::make_tuple(1, std::string("周报|东"), Utf16Bytes(before, bigEndian)))
            << name << ": untouched";

        ini.WriteInteger("FileList", "ConfirmMode", 0);
        ini.WriteBool("FileList", "InitBySelect", true);
        ini.WriteInteger("Window", "Left", 5);
        ini.UpdateFile();
        EXPECT_EQ(headless::FileContent(kPath), Utf16Bytes(after, bigEndian)) << name;
    }
}

// The replace step of the save, with each error the system documents for
// it. 1176 and 1177 leave the new content only in the temporary file.
TEST(IniFile, SaveNeverDeletesTheOnlyCopy) {
    const std::string oldFile = "[A]\r\nk=old\r\n", newFile = "[A]\r\nk=new\r\n", none = "<none>";
    // What the ini path and the temporary file hold after the save.
    const struct { const char* name; unsigned long error; int moveFailures; bool saved; std::string file, tmp; }
        rows[] = {
        {"replaced", 0, 0, true, newFile, none},
        {"access denied", 5, 0, false, oldFile, none},
        {"1176 replaced file gone", 1176, 0, true, newFile, none},
        {"1177 replaced file renamed", 1177, 0, true, newFile, none},
        {"1176, then the move fails", 1176, 1, false, none, newFile},
    };
    for (const auto& row : rows) {
        TIniFile ini = Load(oldFile);
        State().replaceErrors.push_back(row.error);
        State().moveFailures = row.moveFailures;
        ini.WriteString("A", "k", "new");
        bool saved = true;
        try {
            ini.UpdateFile();
        } catch (const Exception& e) {
            saved = false;
            EXPECT_EQ(e.Message(), std::string("Unable to write to ") + kPath) << row.name;
        }
        EXPECT_EQ(std::make_tuple(saved, FileOrNone(kPath), FileOrNone(kTmp)),
                  std::make_tuple(row.saved, row.file, row.tmp)) << row.name;
    }
}

}  // namespace

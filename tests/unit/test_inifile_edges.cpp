// The ini file off the usual path: files saved as UTF-16, a file another
// program holds open, a save whose replace step fails half-way, and
// double-byte names whose second byte is an ASCII letter or '|'.
#include <gtest/gtest.h>

#include "Inifile.h"
#include "Inioptions.h"
#include "TestKit.h"

namespace {

const char* const kPath = "C:\\Korvalin\\korvalin.ini";
const char* const kTmp = "C:\\Korvalin\\korvalin.ini.~4242.tmp";

// GBK: 东 is "\xB6\xAB", 東 "\x96\x7C" (second byte '|'), 癆 "\xB0\x41" and
// 癮 "\xB0\x61" (second bytes 'A' and 'a').
const char* const kEast = "\x96\x7C";

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

void Start(const std::string& content) {
    headless::Reset();
    headless::AddDir("C:\\Korvalin");
    headless::AddFile(kPath, content);
}

TEST(IniFileEdges, Utf16FilesAreReadAndWrittenInTheirEncoding) {
    // A comment that the ANSI code page cannot hold (an emoji) must come
    // back unchanged too: untouched lines keep their own bytes.
    const std::u16string before =
        u"; 设置 \U0001F600\r\n[FileList]\r\nConfirmMode=1\r\n[Naming]\r\nCommonUse=周报|东\r\n";
    const std::u16string after =
        u"; 设置 \U0001F600\r\n[FileList]\r\nConfirmMode=0\r\nInitBySelect=1\r\n[Naming]\r\nCommonUse=周报|东\r\n"
        u"\r\n[Window]\r\nLeft=5\r\n";
    for (bool bigEndian : {false, true}) {
        const char* name = bigEndian ? "big-endian" : "little-endian";
        Start(Utf16Bytes(before, bigEndian));
        TIniFile ini(kPath);
        EXPECT_EQ(ini.ReadInteger("FileList", "ConfirmMode", 7), 1) << name;
        EXPECT_EQ(ini.ReadString("Naming", "CommonUse", ""), "周报|东") << name;
        EXPECT_EQ(ini.Content(), Utf16Bytes(before, bigEndian)) << name << ": untouched";

        ini.WriteInteger("FileList", "ConfirmMode", 0);
        ini.WriteBool("FileList", "InitBySelect", true);
        ini.WriteInteger("Window", "Left", 5);
        ini.UpdateFile();
        EXPECT_EQ(headless::FileContent(kPath), Utf16Bytes(after, bigEndian)) << name;
        TIniFile back(kPath);
        EXPECT_EQ(back.ReadInteger("Window", "Left", 0), 5) << name;
    }
}

// The replace step of the save, with each error the system documents for
// it. 1176 and 1177 leave the new content only in the temporary file.
TEST(IniFileEdges, SaveNeverDeletesTheOnlyCopy) {
    const std::string oldFile = "[A]\r\nk=old\r\n", newFile = "[A]\r\nk=new\r\n", none = "<none>";
    // What the ini path and the temporary file hold after the save.
    const struct { const char* name; unsigned long error; int moveFailures; bool saved; std::string file, tmp; }
        rows[] = {
        {"replaced", 0, 0, true, newFile, none},
        {"1175 replaced file not removed", 1175, 0, false, oldFile, none},
        {"access denied", 5, 0, false, oldFile, none},
        {"1176 replaced file gone", 1176, 0, true, newFile, none},
        {"1177 replaced file renamed", 1177, 0, true, newFile, none},
        {"1176, then the move fails", 1176, 1, false, none, newFile},
        {"1177, then the move fails", 1177, 1, false, none, newFile},
    };
    auto content = [&](const std::string& path) {
        return headless::HasFile(path) ? headless::FileContent(path) : none;
    };
    for (const auto& row : rows) {
        Start("[A]\r\nk=old\r\n");
        headless::State().replaceErrors.push_back(row.error);
        headless::State().moveFailures = row.moveFailures;
        TIniFile ini(kPath);
        ini.WriteString("A", "k", "new");
        bool saved = true;
        try {
            ini.UpdateFile();
        } catch (const Exception& e) {
            saved = false;
            EXPECT_EQ(e.Message(), std::string("Unable to write to ") + kPath) << row.name;
        }
        EXPECT_EQ(saved, row.saved) << row.name;
        EXPECT_EQ(content(kPath), row.file) << row.name;
        EXPECT_EQ(content(kTmp), row.tmp) << row.name;
    }
}

// Another program holds the file for a while: the read is retried; a file
// that stays unreadable is not overwritten with defaults the user never saw.
TEST(IniFileEdges, UnreadableFileAtStart) {
    const std::string held = "[AfterCreate]\r\nOpenMax=7\r\nSleepTime=123\r\n";
    // acceptedInDialog: the settings dialog closed with OK; openMax: as loaded;
    // rewritten: the file is written at the end.
    const struct { const char* name; int failedReads; bool acceptedInDialog; int openMax; bool rewritten; } rows[] = {
        {"released at once", 1, false, 7, true},
        {"released within the retries", 5, false, 7, true},
        {"held throughout", 1000, false, 16, false},
        {"held, then accepted with OK", 1000, true, 16, true},
    };
    for (const auto& row : rows) {
        Start(held);
        headless::State().readFailures[headless::Key(kPath)] = row.failedReads;
        TIniOptions o;
        o.LoadFromFile(kPath);
        EXPECT_EQ(o.OpenMax, row.openMax) << row.name;
        headless::State().readFailures.clear();  // the other program is done by the end
        if (row.acceptedInDialog) o.KeepFile = false;
        o.SaveToFile(kPath);
        const std::string after = headless::FileContent(kPath);
        EXPECT_EQ(after != held, row.rewritten) << row.name << ": " << after;
        EXPECT_EQ(after.find("OpenMax=7") != std::string::npos, row.openMax == 7 || !row.rewritten) << row.name;
    }
}

// Names compare without regard to the case of ASCII letters, but the
// second byte of a double-byte character is no letter.
TEST(IniFileEdges, DoubleByteNamesKeepTheirCase) {
    const struct { const char* name; std::string file, section, key, expected; } rows[] = {
        {"ASCII folded", "[Naming]\r\ncommonuse=v\r\n", "NAMING", "CommonUse", "v"},
        {"same double-byte section", "[\xB0\x41]\r\nk=v\r\n", "\xB0\x41", "K", "v"},
        {"section differs in a second byte", "[\xB0\x41]\r\nk=v\r\n", "\xB0\x61", "k", "def"},
        {"key differs in a second byte", "[A]\r\nx\xB0\x61y=v\r\n", "a", "X\xB0\x41Y", "def"},
        {"letters around a double-byte key", "[A]\r\nx\xB0\x61y=v\r\n", "a", "X\xB0\x61Y", "v"},
    };
    for (const auto& row : rows) {
        Start(row.file);
        EXPECT_EQ(TIniFile(kPath).ReadString(row.section, row.key, "def"), row.expected) << row.name;
    }
}

// A user name whose double-byte character has '|' as its second byte is
// one common phrase, also after it has been stored and read again.
TEST(IniFileEdges, UserNameIsOneEntry) {
    const std::string user = std::string("\xB6\xAB") + kEast + "x";
    Start("[FileList]\r\nConfirmMode=0\r\n");
    headless::State().userName = user;
    TIniOptions o;
    o.LoadFromFile(kPath);
    EXPECT_EQ(o.CommonUseList, List{user});
    o.SaveToFile(kPath);
    TIniOptions back;
    back.LoadFromFile(kPath);
    EXPECT_EQ(back.CommonUseList, List{user});

    List pieces;
    TIniOptions::SplitList(std::string("a|") + kEast + "|" + kEast + kEast + "|b", '|', pieces);
    EXPECT_EQ(pieces, (List{"a", kEast, std::string(kEast) + kEast, "b"}));
}

}  // namespace

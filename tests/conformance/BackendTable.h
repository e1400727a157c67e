// One table of calls of the platform seam with the results that Windows
// gives under the ANSI code page 936: the file system, the up-down control
// reading its buddy's text, and where the focus is after a message box. The
// host unit tests run it against the headless backend, a Wine test program
// against the Win32 one: the test double is held to what the real system does.
//
// The names are chosen for their bytes in GBK:
//   乗 81 5C, 昞 95 5C, 刓 84 5C  second byte is the backslash
//   乤 81 61                      second byte is a lower-case letter
//   丄 81 41                      the same with the upper-case letter
//   亅 81 7C                      second byte is the bar
// A second byte is part of its character: it never separates folders, is
// never folded, and is no refused character. Only ASCII letters standing
// on their own compare without case.
//
// The rows run in order in one empty folder (`root`) and with one window
// (`Windows`), and build on each other; each row's result is a short text,
// so that a difference reads plainly on both sides.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Backend.h"
#include "Forms.h"

namespace conformance {

enum class Op {
    MakeDir,     // ForceDirectories
    MakeFile,    // WriteNewFile with `arg` as content
    IsDir,       // DirectoryExists
    IsFile,      // FileExists
    Read,        // ReadWholeFile: the content, or "(fails)"
    List,        // ListDirectory: the names without "." and "..", sorted
    EnterDir,    // SetCurrentDir
    IsFileHere,  // FileExists with the path as given (relative to the current folder)
    UpDownRange, // UpDownSetup with the range "low high" in `arg`: the position read and the buddy's text
    UpDownSet,   // UpDownSetPos(`arg`): the same
    UpDownText,  // the buddy's text set to `arg`: the position read
    BoxFocus,    // the control `path` focused, a message box owned by the form
                 // (`arg` "owner") or by none: the control focused once it closed
    Check,       // SetChecked(`arg` "1" or "0") on the radio button `path`: the
                 // radio buttons that are checked then
};

struct Row {
    const char* what;
    Op op;
    const char* path;  // below the root ("" is the root itself); BoxFocus: a control
    const char* arg;   // MakeFile: the content; the up-down rows: a number or a text
    const char* want;  // "yes" / "no", the content, the listing, a position, a control
};

inline const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // A folder whose name ends in a 0x5C second byte.
        {"folder 乗 is created", Op::MakeDir, "乗", "", "yes"},
        {"folder 乗 exists", Op::IsDir, "乗", "", "yes"},
        {"folder 乗 is no file", Op::IsFile, "乗", "", "no"},
        {"folder 乗 with a trailing backslash exists", Op::IsDir, "乗\\", "", "yes"},
        // Left out: whether the lead byte 81 alone names another folder. Windows
        // documents no conversion for a lead byte that ends a name; Wine drops
        // it and answers for the folder above.
        {"the root lists 乗 as created", Op::List, "", "", "乗"},
        // Files and folders inside it, with 0x5C second bytes of their own.
        {"file 乗\\昞.txt is created", Op::MakeFile, "乗\\昞.txt", "5C", "yes"},
        {"file 乗\\昞.txt exists", Op::IsFile, "乗\\昞.txt", "", "yes"},
        {"file 乗\\昞.txt reads back", Op::Read, "乗\\昞.txt", "", "5C"},
        {"folder 乗\\昞\\x is created with its parents", Op::MakeDir, "乗\\昞\\x", "", "yes"},
        {"parent 乗\\昞 of the new folder exists", Op::IsDir, "乗\\昞", "", "yes"},
        {"乗 lists its folder and its file", Op::List, "乗", "", "昞, 昞.txt"},
        {"乗\\昞\\x lists nothing", Op::List, "乗\\昞\\x", "", ""},
        {"file in the new folder is created", Op::MakeFile, "乗\\昞\\x\\f", "deep", "yes"},
        {"\"..\" after 昞 leads back to 乗", Op::Read, "乗\\昞\\..\\昞.txt", "", "5C"},
        {"no file is created in a missing folder 刓", Op::MakeFile, "刓\\f", "", "no"},
        {"missing folder 刓 stays missing", Op::IsDir, "刓", "", "no"},
        // Relative paths resolve against a current folder whose name ends in 0x5C.
        {"乗 becomes the current folder", Op::EnterDir, "乗", "", "yes"},
        {"昞.txt is found relative to 乗", Op::IsFileHere, "昞.txt", "", "yes"},
        {"昞\\x is found relative to 乗 as no file", Op::IsFileHere, "昞\\x", "", "no"},
        {"the root becomes the current folder again", Op::EnterDir, "", "", "yes"},
        // A lower-case letter as second byte is not folded: 乤 and 丄 differ.
        {"file 乤 is created", Op::MakeFile, "乤", "lower", "yes"},
        {"file 乤 exists", Op::IsFile, "乤", "", "yes"},
        {"file 丄 is another name than 乤", Op::IsFile, "丄", "", "no"},
        {"file 丄 is created beside 乤", Op::MakeFile, "丄", "upper", "yes"},
        {"file 乤 keeps its content", Op::Read, "乤", "", "lower"},
        {"file 丄 holds its own content", Op::Read, "丄", "", "upper"},
        {"folder 丄x is created", Op::MakeDir, "丄x", "", "yes"},
        {"folder 乤x is another folder than 丄x", Op::IsDir, "乤x", "", "no"},
        // ASCII letters compare without case, also right after a double-byte character.
        {"file Mixed.txt is created", Op::MakeFile, "Mixed.txt", "m", "yes"},
        {"MIXED.TXT names the same file", Op::IsFile, "MIXED.TXT", "", "yes"},
        {"mIXED.txt reads the same file", Op::Read, "mIXED.txt", "", "m"},
        {"file 乤b.txt is created", Op::MakeFile, "乤b.txt", "b", "yes"},
        {"乤B.TXT names the same file", Op::Read, "乤B.TXT", "", "b"},
        {"丄x names folder 丄X too", Op::IsDir, "丄X", "", "yes"},
        // A bar as second byte is a character like any other.
        {"file 亅.txt is created", Op::MakeFile, "亅.txt", "bar", "yes"},
        {"file 亅.txt reads back", Op::Read, "亅.txt", "", "bar"},
        // Everything spelled as it was created.
        {"the root lists every name as created", Op::List, "", "",
         "Mixed.txt, 丄, 丄x, 乗, 乤, 乤b.txt, 亅.txt"},
        // The up-down reads its buddy's text when asked for its position; a
        // text it cannot take leaves the position it held.
        {"up-down 0..5000 starts at 0", Op::UpDownRange, "", "0 5000", "0 ''"},
        {"position 5 shows in the buddy", Op::UpDownSet, "", "5", "5 '5'"},
        {"position above the range sets the top", Op::UpDownSet, "", "9999", "5000 '5000'"},
        {"position below the range sets the bottom", Op::UpDownSet, "", "-3", "0 '0'"},
        {"position 1234 shows without a separator", Op::UpDownSet, "", "1234", "1234 '1234'"},
        {"typed 12 is read", Op::UpDownText, "", "12", "12"},
        {"typed 34 with a space after it", Op::UpDownText, "", "34 ", "12"},
        {"typed 56 with spaces before it", Op::UpDownText, "", "  56", "56"},
        {"typed +78", Op::UpDownText, "", "+78", "78"},
        {"typed 1 234 with a space inside", Op::UpDownText, "", "1 234", "78"},
        {"typed 4.5", Op::UpDownText, "", "4.5", "78"},
        {"typed abc", Op::UpDownText, "", "abc", "78"},
        {"typed 0x10", Op::UpDownText, "", "0x10", "78"},
        {"typed -", Op::UpDownText, "", "-", "78"},
        {"typed spaces only", Op::UpDownText, "", "  ", "78"},
        {"typed 5001 above the range", Op::UpDownText, "", "5001", "78"},
        {"typed 99999999999 beyond any int", Op::UpDownText, "", "99999999999", "78"},
        {"typed 1,234 with the thousands separator", Op::UpDownText, "", "1,234", "1234"},
        {"typed 1,,2,3 with separators anywhere", Op::UpDownText, "", "1,,2,3", "123"},
        {"typed full-width digits ４５", Op::UpDownText, "", "４５", "45"},
        {"typed nothing reads as 0", Op::UpDownText, "", "", "0"},
        {"typed 5000 at the top", Op::UpDownText, "", "5000", "5000"},
        {"typed a separator alone reads as 0", Op::UpDownText, "", ",", "0"},
        {"a range of 10..100 takes the position into it", Op::UpDownRange, "", "10 100", "10 ','"},
        {"typed 7 below the new range", Op::UpDownText, "", "7", "10"},
        {"typed 100 at the top", Op::UpDownText, "", "100", "100"},
        // The owner of a message box is deactivated while it is up; when it
        // closes, the focus is back where the user left it.
        {"the text box has the focus again after a box", Op::BoxFocus, "memo", "owner", "memo"},
        {"the edit box has the focus again after a box", Op::BoxFocus, "edit", "owner", "edit"},
        {"the button has the focus again after a box", Op::BoxFocus, "button", "owner", "button"},
        {"the text box after a box without an owner", Op::BoxFocus, "memo", "none", "memo"},
        // Setting a radio button checked leaves the others as they are, in its
        // group and out of it: a form sets each button of a pair itself.
        {"radio a1 checked alone", Op::Check, "a1", "1", "a1"},
        {"radio a2 checked beside a1 of its group", Op::Check, "a2", "1", "a1 a2"},
        {"radio b1 of another group checked", Op::Check, "b1", "1", "a1 a2 b1"},
        {"radio a1 unchecked", Op::Check, "a1", "0", "a2 b1"},
    };
    return rows;
}

inline std::string YesNo(bool b) { return b ? "yes" : "no"; }

// The window the window rows work in: a form, shown, with a text box, an
// edit box, a push button, an up-down with its buddy, and two groups of
// radio buttons (a1 a2, b1).
struct Windows {
    TForm form;
    TMemo memo;
    TEdit edit, buddy;
    TButton button;
    TUpDown upDown;
    TRadioButton a1, a2, b1;
    Windows() {
        form.CreateForm(LayoutItem{"form", plat::Kind::Form, 0, 0, 300, 200, "conformance", 0, 0}, "TKvConformForm");
        memo.Create(form.Handle, LayoutItem{"memo", plat::Kind::Memo, 8, 8, 200, 80, "", 0, 100});
        edit.Create(form.Handle, LayoutItem{"edit", plat::Kind::Edit, 8, 96, 100, 21, "", 0, 101});
        buddy.Create(form.Handle, LayoutItem{"buddy", plat::Kind::Edit, 8, 124, 60, 21, "", 0, 102});
        upDown.Create(form.Handle, LayoutItem{"upDown", plat::Kind::UpDown, 68, 124, 16, 21, "", 0, 103});
        button.Create(form.Handle, LayoutItem{"button", plat::Kind::Button, 8, 160, 75, 23, "OK", 0, 104});
        a1.Create(form.Handle, LayoutItem{"a1", plat::Kind::RadioButton, 216, 8, 60, 17, "a1", plat::StyleGroup, 105});
        a2.Create(form.Handle, LayoutItem{"a2", plat::Kind::RadioButton, 216, 28, 60, 17, "a2", 0, 106});
        b1.Create(form.Handle, LayoutItem{"b1", plat::Kind::RadioButton, 216, 56, 60, 17, "b1", plat::StyleGroup, 107});
        form.Show();
    }
    std::string Focused() {
        plat::Handle f = plat::FocusedControl(form.Handle);
        for (TControl* c : Controls())
            if (f && f == c->Handle) return c->Name;
        return f ? "other" : "none";
    }
    std::vector<TControl*> Controls() { return {&memo, &edit, &buddy, &button}; }
    // The up-down's position and its buddy's text.
    std::string UpDownShown() { return std::to_string(upDown.Position()) + " '" + buddy.Text() + "'"; }
};

// Runs one row below `root` (a folder path without a trailing backslash)
// or in `windows`, and answers its result in the form of Row::want.
inline std::string Run(const Row& row, const std::string& root, Windows& windows) {
    std::string path = *row.path ? root + "\\" + row.path : root;
    switch (row.op) {
        case Op::MakeDir: return YesNo(plat::ForceDirectories(path));
        case Op::MakeFile: return YesNo(plat::WriteNewFile(path, row.arg));
        case Op::IsDir: return YesNo(plat::DirectoryExists(path));
        case Op::IsFile: return YesNo(plat::FileExists(path));
        case Op::Read: {
            std::string content;
            return plat::ReadWholeFile(path, content) ? content : "(fails)";
        }
        case Op::List: {
            std::vector<plat::DirEntry> entries;
            if (!plat::ListDirectory(path, entries)) return "(fails)";
            std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
            std::string joined;
            for (const plat::DirEntry& e : entries)
                if (e.Name != "." && e.Name != "..") joined += (joined.empty() ? "" : ", ") + e.Name;
            return joined;
        }
        case Op::EnterDir: return YesNo(plat::SetCurrentDir(path));
        case Op::IsFileHere: return YesNo(plat::FileExists(row.path));
        case Op::UpDownRange: {
            int low = 0, high = 0;
            std::istringstream(row.arg) >> low >> high;
            windows.upDown.Setup(windows.buddy, low, high, false);
            return windows.UpDownShown();
        }
        case Op::UpDownSet:
            windows.upDown.SetPosition(std::stoi(row.arg));
            return windows.UpDownShown();
        case Op::UpDownText:
            windows.buddy.SetText(row.arg);
            return std::to_string(windows.upDown.Position());
        case Op::BoxFocus: {
            for (TControl* c : windows.Controls())
                if (c->Name == row.path) c->SetFocus();
            const bool owned = std::string(row.arg) == "owner";
            plat::MessageBox(owned ? windows.form.Handle : nullptr, row.what, "conformance", plat::MbOk);
            plat::ProcessPendingMessages();
            return windows.Focused();
        }
        case Op::Check: {
            for (TRadioButton* r : {&windows.a1, &windows.a2, &windows.b1})
                if (r->Name == row.path) r->SetChecked(*row.arg == '1');
            std::string checked;
            for (TRadioButton* r : {&windows.a1, &windows.a2, &windows.b1})
                if (r->Checked()) checked += (checked.empty() ? "" : " ") + r->Name;
            return checked;
        }
    }
    return "(unknown row)";
}

}  // namespace conformance

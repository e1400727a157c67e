// The hand-back to the file manager, driven through Korvalin's real window:
// after a confirm the new items are marked in the stand-in panel (which
// logs every list-box message and key) and the new files are opened, by
// key strokes into the panel or by the shell's "open", which the test
// prefix hands to kvopen.exe for .kvopen files.
#include "kvcases.h"

namespace kv {
namespace {

// The ini file with these [AfterCreate] keys ("CursorPos=0 OpenMax=16");
// opening and the wait are off, tab columns and 31 files unless they say.
std::string AfterCreate(std::string keys) {
    for (std::string k : {"AutoOpen=0", "SleepTime=0", "TcColSep=9", "OpenMax=31"})
        if (keys.find(k.substr(0, k.find('=') + 1)) == std::string::npos) keys += " " + k;
    return IniSection("AfterCreate", keys);
}

// Korvalin on a panel that lists exactly `panel` (a trailing '\' makes a
// folder), with these [AfterCreate] keys.
bool Open(Session& s, const std::vector<std::string>& panel, const std::string& keys,
          const std::vector<std::string>& fmArgs = {}) {
    for (const char* old : {"a.txt", "b c.txt"}) DeleteFileA((s.run.demo + old).c_str());
    RemoveDirectoryA((s.run.demo + "old folder").c_str());
    for (const auto& n : panel)
        if (n.back() == '\\') CreateDirectoryA((s.run.demo + n).c_str(), nullptr);
        else WriteAll(s.run.demo + n, "");
    return s.Open(AfterCreate(keys), fmArgs);
}

// Korvalin opened as Open does, the lines confirmed; true once it has ended cleanly.
bool ConfirmOn(Session& s, const std::vector<std::string>& panel, const std::string& keys, const std::string& lines,
               const std::vector<std::string>& fmArgs = {}) {
    if (!Open(s, panel, keys, fmArgs)) return false;
    s.SetLines(lines);
    s.Confirm();
    return CheckExit(s, "korvalin ends after the confirm", 0, 20000);
}

// The LB_SETSEL indexes in order ("1 5" -> "5"), all selecting, after one
// LB_GETCOUNT; and the panel's caret unless `caret` is empty.
void CheckMarks(const Run& run, const std::vector<std::string>& want, const std::string& caret) {
    std::vector<std::string> got;
    bool allSelect = true;
    for (const auto& m : LogWith(run, "LB_SETSEL")) {
        allSelect = allSelect && m.compare(0, 2, "1 ") == 0;
        got.push_back(m.substr(m.find(' ') + 1));
    }
    CheckEq(Join(got, ","), Join(want, ","), "LB_SETSEL indexes in order");
    Check(allSelect, "every LB_SETSEL selects (wParam 1)");
    CheckEq((long)LogWith(run, "LB_GETCOUNT").size(), 1, "one LB_GETCOUNT");
    if (!caret.empty()) CheckEq(run.LogValue("CARET"), caret, "the panel's caret afterwards");
}

// ------------------------------------------------------------ cases

// Lines confirmed on a panel; what is marked and selected there afterwards.
void CaseMarks() {
    struct Row {
        std::string name;
        std::vector<std::string> panel, fmArgs;
        std::string keys, typed;
        std::vector<std::string> marks;  // LB_SETSEL indexes, in order
        std::string caret;               // "" when not checked
        long reads;                      // LB_GETTEXT messages; -1 when not checked
        std::string selected;            // by name
        long itemBytes;                  // the first line's item text; 0 when not checked
    };
    // 0 old\  1 a.txt  2 b.txt  3 k.txt  4 m.txt  5 x.txt  6 z.txt once
    // k.txt, b.txt and x.txt are typed in that order.
    const std::vector<std::string> old = {"old\\", "a.txt", "m.txt", "z.txt"};
    const std::string kbx = "k.txt\r\nb.txt\r\nx.txt", sel = "b.txt,k.txt,x.txt";
    // 0 a.txt  1..40 n00.txt..n39.txt  41 zz.txt; OpenMax 16 marks the 16 visited first.
    const std::string forty = Join(Series(0, 39, "n%02d.txt"));
    const Row rows[] = {
        {"CursorPos 0", old, {}, "CursorPos=0", kbx, {"5", "3", "2"}, "2 b.txt", 5, sel, 0},  // nearest the top
        {"CursorPos 1", old, {}, "CursorPos=1", kbx, {"2", "3", "5"}, "5 x.txt", 6, sel, 0},  // nearest the bottom
        {"CursorPos 2", old, {}, "CursorPos=2", kbx, {"5", "2", "3"}, "3 k.txt", 6 + 3 + 4, sel, 0},  // first typed
        {"CursorPos 3", old, {}, "CursorPos=3", kbx, {"3", "2", "5"}, "5 x.txt", 4 + 3 + 6, sel, 0},  // last typed
        {"CursorPos 7", old, {}, "CursorPos=7", kbx, {"3", "2", "5"}, "5 x.txt", 4 + 3 + 6, sel, 0},
        {"40 files, OpenMax 16, CursorPos 0", {"a.txt", "zz.txt"}, {}, "CursorPos=0 OpenMax=16", forty,
         Series(40, 25, "%d"), "25 n24.txt", -1, Join(Series(24, 39, "n%02d.txt"), ","), 0},
        {"40 files, OpenMax 16, CursorPos 1", {"a.txt", "zz.txt"}, {}, "CursorPos=1 OpenMax=16", forty,
         Series(1, 16, "%d"), "16 n15.txt", -1, Join(Series(0, 15, "n%02d.txt"), ","), 0},
        // The key is the name and the separator: 0 n.txt  1 n.txt.old.
        {"TcColSep 32, blank columns", {"n.txt.old"}, {"--blank"}, "TcColSep=32 CursorPos=1", "n.txt", {"0"}, "", -1,
         "n.txt", 0},
        {"TcColSep 9, blank columns", {"n.txt.old"}, {"--blank"}, "CursorPos=1", "n.txt", {}, "", -1, "", 0},
        {"TcColSep 9, tab columns", {"n.txt.old"}, {}, "CursorPos=0", "n.txt", {"0"}, "", -1, "n.txt", 0},
        // Separator 0 is the name alone: 0 a  1 abc.txt, "a" begins both texts.
        {"TcColSep 0, panel order from the bottom", {"abc.txt"}, {}, "TcColSep=0 CursorPos=0", "a", {"1"}, "", -1,
         "abc.txt", 0},
        {"TcColSep 0, panel order from the top", {"abc.txt"}, {}, "TcColSep=0 CursorPos=1", "a", {"0"}, "", -1, "a", 0},
        // An item text of 5,000 bytes is read in part, without harm, and marked.
        {"5,000-byte item text", {"a.txt"}, {"--pad", "5000"}, "CursorPos=0", "long.txt", {"1"}, "1 long.txt", -1,
         "long.txt", 5000},
    };
    for (const Row& row : rows) {
        g_case = "handback/" + row.name;
        Session s;
        if (!ConfirmOn(s, row.panel, row.keys, row.typed, row.fmArgs)) continue;
        CheckMarks(s.run, row.marks, row.caret);
        if (row.reads >= 0) CheckEq((long)LogWith(s.run, "LB_GETTEXT").size(), row.reads, "LB_GETTEXT count");
        CheckEq(Join(LogWith(s.run, "SELECTED"), ","), row.selected, "selected afterwards");
        if (!row.itemBytes) continue;
        const std::string first = row.typed.substr(0, row.typed.find('\r')) + "|";
        std::string item;
        for (const auto& i : LogWith(s.run, "ITEM"))
            if (i.compare(0, first.size(), first) == 0) item = i;
        CheckEq((long)item.size(), row.itemBytes, "the item text's length");
    }
}

// Korvalin leaves keys pressed, as the file manager expects; let them go
// again so that later groups do not start with F4 or Escape held or Caps
// Lock on.
void ReleaseKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    for (WORD vk : keys) {
        in.push_back(KeyRecord(vk, true, false));
        if (vk == VK_CAPITAL) {
            in.push_back(KeyRecord(vk, false, false));
            in.push_back(KeyRecord(vk, true, false));
        }
    }
    if (!in.empty()) SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

// The key-stroke method: presses only, into the panel that has the focus.
void CaseKeyStrokes() {
    struct Row {
        const char* name;
        int keyType;
        const char* typed;
        std::vector<WORD> keys;  // pressed at the panel, in order
    } rows[] = {
        {"F4", 0, "sub\\\r\nk.txt", {VK_F4}},
        {"ESC+F4", 1, "k.txt", {VK_F4, VK_ESCAPE}},
        {"CapsLock+F4", 2, "k.txt", {VK_F4, VK_CAPITAL}},
        {"only folders", 1, "sub\\\r\nsub2\\", {}},
    };
    for (const Row& row : rows) {
        g_case = std::string("handback/keys ") + row.name;
        Session s;
        // With the wait users have: the keys go to the foreground window,
        // and without it the panel was now and then not yet that window.
        if (!ConfirmOn(s, {"a.txt"}, "AutoOpen=1 OpenMethod=0 SleepTime=200 CursorPos=3 KeyType=" +
                                         std::to_string(row.keyType), row.typed))
            continue;
        // fakefm handles what is queued for its panel before it logs the end.
        Poll([&] { return !s.run.LogValue("CARET").empty(); }, 5000);
        std::string want;
        for (WORD vk : row.keys) want += (want.empty() ? "" : ",") + Series(vk, vk, "0x%02X")[0];
        CheckEq(Join(LogWith(s.run, "KEYDOWN"), ","), want, "key-down events at the panel");
        CheckEq(Join(LogWith(s.run, "KEYUP"), ","), "", "no key-up event");
        if (row.keys.empty()) continue;
        CheckEq(s.run.LogValue("OPEN").substr(0, 6), "k.txt\t", "F4 finds the caret on the new file");
        ReleaseKeys(row.keys);
    }
}

// The shell method: the first OpenMax files, wherever they are, each opened
// with the panel folder as working directory; folders never.
void CaseShellOpen() {
    g_case = "handback/shell open, OpenMax 2";
    Session s;
    const std::string log = s.run.dir + "opened.log", outside = s.run.dir + "outside.kvopen";
    SetEnvironmentVariableA("KVOPEN_LOG", log.c_str());  // fakefm and Korvalin hand it on
    bool ended = ConfirmOn(s, {"a.txt"}, "AutoOpen=1 OpenMethod=1 OpenMax=2 CursorPos=3",
                           "sub.kvopen\\\r\none.kvopen\r\n" + outside + "\r\ntwo.kvopen\r\nthree.kvopen");
    SetEnvironmentVariableA("KVOPEN_LOG", nullptr);
    if (!ended) return;
    std::string text;
    Poll([&] { return ReadAll(log, text) && kv::Lines(text).size() >= 2; }, 10000);
    Sleep(1500);  // time for a third one that should not come
    ReadAll(log, text);
    // In the order the openers were started, without their start times.
    std::vector<std::string> got;
    for (auto& l : kv::Lines(text))
        if (!l.empty()) got.push_back(l);
    std::sort(got.begin(), got.end());
    for (auto& l : got) l.erase(0, l.find('|') + 1);
    const std::string dir = s.run.demo.substr(0, s.run.demo.size() - 1);
    CheckEq(Join(got, " ; "), s.run.demo + "one.kvopen|" + dir + " ; " + outside + "|" + dir,
            "the first two files are opened, in the panel folder");
    Check(IsDir(s.run.demo + "sub.kvopen"), "the folder is created (and not opened)");
}

// What a closed window hands back: nothing after a plain cancel, the lines
// before the error after a confirm stopped there.
void CaseCancelAndStop() {
    {
        g_case = "handback/cancel";
        Session s;
        if (Open(s, {"a.txt"}, "AutoOpen=1 OpenMethod=0 CursorPos=3")) {
            s.SetLines("k.txt");
            s.Press(VK_ESCAPE);
            CheckExit(s, "korvalin ends after Escape", 0, 20000);
            CheckEq((long)(LogWith(s.run, "LB_GETCOUNT").size() + LogWith(s.run, "LB_GETTEXT").size() +
                           LogWith(s.run, "LB_SETSEL").size() + LogWith(s.run, "KEYDOWN").size()),
                    0, "no list-box message and no key reach the panel");
        }
    }
    {
        g_case = "handback/confirm stopped at an error, then closed";
        Session s;
        if (Open(s, {"a.txt"}, "CursorPos=1")) {
            s.SetLines("ok1.txt\r\nbad|name.txt\r\nok2.txt");
            s.Confirm();
            if (Check(s.WaitBox() != nullptr, "the failure question comes")) s.Answer(IDNO);
            Sleep(300);
            CheckEq((long)LogWith(s.run, "LB_GETCOUNT").size(), 0, "nothing is marked while the window is open");
            PostMessageA(s.main, WM_CLOSE, 0, 0);  // the close box
            if (CheckExit(s, "korvalin ends after the close box", 0, 20000))
                CheckMarks(s.run, {"1"}, "1 ok1.txt");  // 0 a.txt  1 ok1.txt
        }
    }
}

// The file manager's window is gone by the time Korvalin ends.
void CasePanelGone() {
    g_case = "handback/panel closed first";
    Session s;
    if (!Open(s, {"a.txt"}, "AutoOpen=1 OpenMethod=0 CursorPos=3")) return;
    HWND fmMain = AnyWindow(GetProcessId(s.run.fm), "FakeFmMain");
    if (!Check(fmMain != nullptr, "the file manager's window is found")) return;
    PostMessageA(fmMain, WM_CLOSE, 0, 0);
    Check(Poll([&] { return !IsWindow(fmMain); }, 5000), "the file manager's window closes");
    s.SetLines("k.txt\r\nl.txt");
    const DWORD start = GetTickCount();
    s.Confirm();
    bool ended = false, box = false;
    Poll([&] {
        box = box || s.Box() != nullptr;
        return (ended = s.run.KorvalinEnded(0));
    }, 10000);
    const DWORD spent = GetTickCount() - start;
    Check(ended && spent < 1000, "korvalin ends within a second", std::to_string(spent) + " ms");
    Check(!box, "no message box");
    CheckExit(s, "korvalin ends");
    Check(Exists(s.run.demo + "k.txt") && Exists(s.run.demo + "l.txt"), "the files are created");
    CheckEq(s.run.LogValue("PANEL"), "GONE", "the panel was gone");
}

}  // namespace

void CaseHandBackGroup() {
    CaseMarks();
    CaseKeyStrokes();
    CaseShellOpen();
    CaseCancelAndStop();
    CasePanelGone();
}

}  // namespace kv

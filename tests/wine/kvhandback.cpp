// The hand-back to the file manager, driven through Korvalin's real window:
// after a confirm the new items are marked in the stand-in panel (which
// logs every list-box message and key) and the new files are opened, by
// key strokes into the panel or by the shell's "open", which the test
// prefix hands to kvopen.exe for .kvopen files.
#include "kvdriver.h"

namespace kv {
namespace {

// The [AfterCreate] section, e.g. "CursorPos=0 TcColSep=9".
// Opening and the wait are off unless asked for.
void WriteAfterCreate(const Run& run, std::string keys) {
    for (std::string k : {"AutoOpen=0", "SleepTime=0"})
        if (keys.find(k.substr(0, k.find('=') + 1)) == std::string::npos) keys += " " + k;
    std::string t = "[AfterCreate]\r\n";
    for (size_t i = 0; i < keys.size();) {
        size_t e = keys.find(' ', i);
        if (e == std::string::npos) e = keys.size();
        if (e > i) t += keys.substr(i, e - i) + "\r\n";
        i = e + 1;
    }
    WriteAll(run.ini, t);
}

// A panel folder holding exactly these names (a trailing '\' makes a folder).
void Demo(const Run& run, const std::vector<std::string>& names) {
    DeleteFileA((run.demo + "a.txt").c_str());
    DeleteFileA((run.demo + "b c.txt").c_str());
    RemoveDirectoryA((run.demo + "old folder").c_str());
    for (const auto& n : names)
        if (n.back() == '\\') CreateDirectoryA((run.demo + n).c_str(), nullptr);
        else WriteAll(run.demo + n, "");
}


// The indexes of the LB_SETSEL messages, each with its flag ("1 5" -> "5").
std::vector<std::string> Marks(const Run& run, bool& allSelect) {
    std::vector<std::string> r;
    allSelect = true;
    for (const auto& m : LogWith(run, "LB_SETSEL")) {
        allSelect = allSelect && m.compare(0, 2, "1 ") == 0;
        r.push_back(m.substr(m.find(' ') + 1));
    }
    return r;
}

// Types the lines, confirms, and waits for Korvalin to end with code 0.
bool ConfirmAndEnd(Run& run, HWND edit, const std::string& text) {
    SetEditText(edit, text);
    Key(edit, VK_RETURN);
    int code = -5;
    if (!Check(run.ExitCode(code, 20000), "korvalin ends after the confirm")) return false;
    return CheckEq(code, 0, "exit code");
}

void CheckMarks(const Run& run, const std::vector<std::string>& want, const std::string& caret) {
    bool allSelect = false;
    std::vector<std::string> got = Marks(run, allSelect);
    CheckEq(Join(got, ","), Join(want, ","), "LB_SETSEL indexes in order");
    Check(allSelect, "every LB_SETSEL selects (wParam 1)");
    CheckEq((long)LogWith(run, "LB_GETCOUNT").size(), 1, "one LB_GETCOUNT");
    if (!caret.empty()) CheckEq(run.LogValue("CARET"), caret, "the panel's caret afterwards");
}

// ------------------------------------------------------------ cases

// Three new files among old items; the panel lists
// 0 old\  1 a.txt  2 b.txt  3 k.txt  4 m.txt  5 x.txt  6 z.txt
// and k.txt, b.txt, x.txt are typed in that order.
void CaseCursorPos() {
    struct Row {
        int cursorPos;
        std::vector<std::string> marks;
        const char* caret;
        long reads;  // LB_GETTEXT
    } rows[] = {
        {0, {"5", "3", "2"}, "2 b.txt", 5},     // the new item nearest the top
        {1, {"2", "3", "5"}, "5 x.txt", 6},     // the new item nearest the bottom
        {2, {"5", "2", "3"}, "3 k.txt", 6 + 3 + 4},  // the first one typed
        {3, {"3", "2", "5"}, "5 x.txt", 4 + 3 + 6},  // the last one typed
        {7, {"3", "2", "5"}, "5 x.txt", 4 + 3 + 6},
    };
    for (const Row& row : rows) {
        g_case = "handback/CursorPos " + std::to_string(row.cursorPos);
        Run run;
        Demo(run, {"old\\", "a.txt", "m.txt", "z.txt"});
        WriteAfterCreate(run, "CursorPos=" + std::to_string(row.cursorPos) + " TcColSep=9 OpenMax=31");
        HWND edit = nullptr;
        if (!ShowMainWindow(run, {}, edit) || !ConfirmAndEnd(run, edit, "k.txt\r\nb.txt\r\nx.txt")) continue;
        CheckMarks(run, row.marks, row.caret);
        CheckEq((long)LogWith(run, "LB_GETTEXT").size(), row.reads, "LB_GETTEXT count");
        CheckEq(Join(LogWith(run, "SELECTED"), ","), "b.txt,k.txt,x.txt", "the new files are selected");
    }
}

// 40 new files and OpenMax 16: the 16 visited first are marked.
void CaseOpenMax() {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) names.push_back((i < 10 ? "n0" : "n") + std::to_string(i) + ".txt");
    // Panel: 0 a.txt, 1..40 n00..n39, 41 zz.txt.
    for (int pos : {0, 1}) {
        g_case = "handback/40 files, OpenMax 16, CursorPos " + std::to_string(pos);
        Run run;
        Demo(run, {"a.txt", "zz.txt"});
        WriteAfterCreate(run, "CursorPos=" + std::to_string(pos) + " TcColSep=9 OpenMax=16");
        HWND edit = nullptr;
        if (!ShowMainWindow(run, {}, edit) || !ConfirmAndEnd(run, edit, Join(names))) continue;
        std::vector<std::string> want, selected;
        for (int k = 0; k < 16; ++k) {
            int i = pos == 0 ? 39 - k : k;
            want.push_back(std::to_string(i + 1));
            selected.push_back(names[i]);
        }
        std::sort(selected.begin(), selected.end());
        CheckMarks(run, want, pos == 0 ? "25 n24.txt" : "16 n15.txt");
        CheckEq(Join(LogWith(run, "SELECTED"), ","), Join(selected, ","), "exactly those 16 are selected");
    }
}

// The key is the name and the separator; separator 0 is the name alone.
void CaseSeparator() {
    struct Row {
        const char* name;
        std::vector<std::string> fmArgs;
        const char* keys;
        std::vector<std::string> old;
        const char* typed;
        std::vector<std::string> marks;
        const char* selected;
    } rows[] = {
        // 0 n.txt  1 n.txt.old
        {"TcColSep 32, blank columns", {"--blank"}, "TcColSep=32 CursorPos=1", {"n.txt.old"}, "n.txt", {"0"}, "n.txt"},
        {"TcColSep 9, blank columns", {"--blank"}, "TcColSep=9 CursorPos=1", {"n.txt.old"}, "n.txt", {}, ""},
        {"TcColSep 9, tab columns", {}, "TcColSep=9 CursorPos=0", {"n.txt.old"}, "n.txt", {"0"}, "n.txt"},
        // 0 a  1 abc.txt: "a" alone begins both texts.
        {"TcColSep 0, panel order from the bottom", {}, "TcColSep=0 CursorPos=0", {"abc.txt"}, "a", {"1"}, "abc.txt"},
        {"TcColSep 0, panel order from the top", {}, "TcColSep=0 CursorPos=1", {"abc.txt"}, "a", {"0"}, "a"},
    };
    for (const Row& row : rows) {
        g_case = std::string("handback/") + row.name;
        Run run;
        Demo(run, row.old);
        WriteAfterCreate(run, std::string(row.keys) + " OpenMax=31");
        HWND edit = nullptr;
        if (!ShowMainWindow(run, row.fmArgs, edit) || !ConfirmAndEnd(run, edit, row.typed)) continue;
        CheckMarks(run, row.marks, "");
        CheckEq(Join(LogWith(run, "SELECTED"), ","), row.selected, "selected afterwards");
    }
}

// Korvalin leaves keys pressed, as the file manager expects; let them go
// again so that later groups do not start with F4 or Escape held or Caps
// Lock on.
void ReleaseKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    for (WORD vk : keys) {
        add(vk, KEYEVENTF_KEYUP);
        if (vk == VK_CAPITAL) {
            add(vk, 0);
            add(vk, KEYEVENTF_KEYUP);
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
        std::vector<std::string> keys;
    } rows[] = {
        {"F4", 0, "sub\\\r\nk.txt", {"0x73"}},
        {"ESC+F4", 1, "k.txt", {"0x73", "0x1B"}},
        {"CapsLock+F4", 2, "k.txt", {"0x73", "0x14"}},
        {"only folders", 1, "sub\\\r\nsub2\\", {}},
    };
    for (const Row& row : rows) {
        g_case = std::string("handback/keys ") + row.name;
        Run run;
        Demo(run, {"a.txt"});
        // With the wait users have: the keys go to the foreground window,
        // and without it the panel was now and then not yet that window.
        WriteAfterCreate(run, "AutoOpen=1 OpenMethod=0 SleepTime=200 KeyType=" + std::to_string(row.keyType) +
                                  " CursorPos=3 TcColSep=9 OpenMax=31");
        HWND edit = nullptr;
        if (!ShowMainWindow(run, {}, edit) || !ConfirmAndEnd(run, edit, row.typed)) continue;
        // fakefm handles what is queued for its panel before it logs the end.
        Poll([&] { return !run.LogValue("CARET").empty(); }, 5000);
        CheckEq(Join(LogWith(run, "KEYDOWN"), ","), Join(row.keys, ","), "key-down events at the panel");
        CheckEq(Join(LogWith(run, "KEYUP"), ","), "", "no key-up event");
        if (!row.keys.empty()) {
            CheckEq(run.LogValue("OPEN").substr(0, 6), "k.txt\t", "F4 finds the caret on the new file");
            std::vector<WORD> vks;
            for (const auto& k : row.keys) vks.push_back((WORD)strtoul(k.c_str(), nullptr, 16));
            ReleaseKeys(vks);
        }
    }
}

// The shell method: the first OpenMax files, wherever they are, each opened
// with the panel folder as working directory; folders never.
void CaseShellOpen() {
    g_case = "handback/shell open, OpenMax 2";
    Run run;
    Demo(run, {"a.txt"});
    WriteAfterCreate(run, "AutoOpen=1 OpenMethod=1 OpenMax=2 CursorPos=3 TcColSep=9");
    const std::string log = run.dir + "opened.log";
    SetEnvironmentVariableA("KVOPEN_LOG", log.c_str());
    HWND edit = nullptr;
    const std::string outside = run.dir + "outside.kvopen";
    bool ended = ShowMainWindow(run, {}, edit) &&
                 ConfirmAndEnd(run, edit, "sub.kvopen\\\r\none.kvopen\r\n" + outside + "\r\ntwo.kvopen\r\nthree.kvopen");
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
    std::string dir = run.demo.substr(0, run.demo.size() - 1);
    CheckEq(Join(got, " ; "), run.demo + "one.kvopen|" + dir + " ; " + outside + "|" + dir,
            "the first two files are opened, in the panel folder");
    Check(IsDir(run.demo + "sub.kvopen"), "the folder is created (and not opened)");
}

// What a closed window hands back: nothing after a plain cancel, the lines
// before the error after a confirm stopped there.
void CaseCancelAndStop() {
    {
        g_case = "handback/cancel";
        Run run;
        Demo(run, {"a.txt"});
        WriteAfterCreate(run, "AutoOpen=1 OpenMethod=0 CursorPos=3 TcColSep=9 OpenMax=31");
        HWND edit = nullptr;
        if (ShowMainWindow(run, {}, edit)) {
            SetEditText(edit, "k.txt");
            Key(edit, VK_ESCAPE);
            int code = -5;
            if (Check(run.ExitCode(code), "korvalin ends after Escape")) CheckEq(code, 0, "exit code");
            CheckEq((long)(LogWith(run, "LB_GETCOUNT").size() + LogWith(run, "LB_GETTEXT").size() +
                           LogWith(run, "LB_SETSEL").size() + LogWith(run, "KEYDOWN").size()),
                    0, "no list-box message and no key reach the panel");
        }
    }
    {
        g_case = "handback/confirm stopped at an error, then closed";
        Run run;
        Demo(run, {"a.txt"});
        WriteAfterCreate(run, "CursorPos=1 TcColSep=9 OpenMax=31");
        HWND edit = nullptr;
        HWND main = ShowMainWindow(run, {}, edit);
        if (main) {
            SetEditText(edit, "ok1.txt\r\nbad|name.txt\r\nok2.txt");
            Key(edit, VK_RETURN);
            HWND box = run.WaitBox(10000);
            if (Check(box != nullptr, "the failure question comes")) {
                Poll([&] { return GetDlgItem(box, IDNO) != nullptr; }, 3000);
                Press(box, IDNO);
                Poll([&] { return !IsWindow(box); }, 5000);
            }
            Sleep(300);
            CheckEq((long)LogWith(run, "LB_GETCOUNT").size(), 0, "nothing is marked while the window is open");
            PostMessageA(main, WM_CLOSE, 0, 0);  // the close box
            int code = -5;
            if (Check(run.ExitCode(code), "korvalin ends after the close box")) CheckEq(code, 0, "exit code");
            CheckMarks(run, {"1"}, "1 ok1.txt");  // 0 a.txt  1 ok1.txt
        }
    }
}

// The file manager's window is gone by the time Korvalin ends.
void CasePanelGone() {
    g_case = "handback/panel closed first";
    Run run;
    Demo(run, {"a.txt"});
    WriteAfterCreate(run, "AutoOpen=1 OpenMethod=0 SleepTime=0 CursorPos=3 TcColSep=9 OpenMax=31");
    HWND edit = nullptr;
    HWND main = ShowMainWindow(run, {}, edit);
    if (!main) return;
    HWND fmMain = AnyWindow(GetProcessId(run.fm), "FakeFmMain");
    if (!Check(fmMain != nullptr, "the file manager's window is found")) return;
    PostMessageA(fmMain, WM_CLOSE, 0, 0);
    Check(Poll([&] { return !IsWindow(fmMain); }, 5000), "the file manager's window closes");
    SetEditText(edit, "k.txt\r\nl.txt");
    const DWORD start = GetTickCount();
    Key(edit, VK_RETURN);
    bool ended = false, box = false;
    Poll([&] {
        box = box || VisibleWindow(run.kvPid, "#32770") != nullptr;
        return (ended = run.KorvalinEnded(0));
    }, 10000);
    const DWORD spent = GetTickCount() - start;
    Check(ended && spent < 1000, "korvalin ends within a second", std::to_string(spent) + " ms");
    Check(!box, "no message box");
    DWORD code = 99;
    GetExitCodeProcess(run.kv, &code);
    CheckEq((long)code, 0, "exit code");
    Check(Exists(run.demo + "k.txt") && Exists(run.demo + "l.txt"), "the files are created");
    int fmCode = 0;
    run.ExitCode(fmCode);
    CheckEq(run.LogValue("PANEL"), "GONE", "the panel was gone");
}

// An item text of 5,000 bytes is read in part, without harm, and marked.
void CaseLongItem() {
    g_case = "handback/5,000-byte item text";
    Run run;
    Demo(run, {"a.txt"});
    WriteAfterCreate(run, "CursorPos=0 TcColSep=9 OpenMax=31");
    HWND edit = nullptr;
    if (!ShowMainWindow(run, {"--pad", "5000"}, edit) || !ConfirmAndEnd(run, edit, "long.txt")) return;
    CheckMarks(run, {"1"}, "1 long.txt");
    std::string item;
    for (const auto& i : LogWith(run, "ITEM"))
        if (i.compare(0, 9, "long.txt|") == 0) item = i;
    CheckEq((long)item.size(), 5000, "the item text is 5,000 bytes");
}

}  // namespace

void CaseHandBackGroup() {
    CaseCursorPos();
    CaseOpenMax();
    CaseSeparator();
    CaseKeyStrokes();
    CaseShellOpen();
    CaseCancelAndStop();
    CasePanelGone();
    CaseLongItem();
}

}  // namespace kv

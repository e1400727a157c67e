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
bool ConfirmOn(Session& s, const std::vector<std::string>& panel, const std::string& keys, const std::string& lines) {
    if (!Open(s, panel, keys)) return false;
    s.SetLines(lines);
    s.Confirm();
    return CheckExit(s, "korvalin ends after the confirm", 0, 20000);
}

// ------------------------------------------------------------ cases

// The key-stroke method: presses only (F4, then Escape for KeyType 1), into
// the panel that has the focus, with the caret on the new file.
void CaseKeyStrokes() {
    g_case = "handback/keys ESC+F4";
    Session s;
    // With the wait users have: the keys go to the foreground window, and
    // without it the panel was now and then not yet that window.
    if (!ConfirmOn(s, {"a.txt"}, "AutoOpen=1 OpenMethod=0 SleepTime=200 CursorPos=3 KeyType=1", "sub\\\r\nk.txt"))
        return;
    // fakefm handles what is queued for its panel before it logs the end.
    Poll([&] { return !s.run.LogValue("CARET").empty(); }, 5000);
    CheckEq(Join(s.run.Logged("KEYDOWN"), ","), "0x73,0x1B", "key-down events at the panel");
    CheckEq(Join(s.run.Logged("KEYUP"), ","), "", "no key-up event");
    CheckEq(s.run.LogValue("OPEN").substr(0, 6), "k.txt\t", "F4 finds the caret on the new file");
    // Korvalin leaves the keys pressed, as the file manager expects: let
    // them go, so that later groups do not start with F4 or Escape held.
    SendRecords({KeyRecord(VK_F4, true, false), KeyRecord(VK_ESCAPE, true, false)});
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

// A confirm stopped at an error hands back nothing while the window is
// open, and the lines before the error once it is closed. The panel pads
// its item texts to 5,000 bytes: they are read in part, without harm.
void CaseStoppedThenClosed() {
    g_case = "handback/confirm stopped at an error, then closed; 5,000-byte item texts";
    Session s;
    if (!Open(s, {"a.txt"}, "CursorPos=1", {"--pad", "5000"})) return;
    s.SetLines("ok1.txt\r\nbad|name.txt\r\nok2.txt");
    s.Confirm();
    if (Check(s.WaitBox() != nullptr, "the failure question comes")) s.Answer(IDNO);
    Sleep(300);
    CheckEq((long)s.run.Logged("LB_GETCOUNT").size(), 0, "nothing is marked while the window is open");
    PostMessageA(s.main, WM_CLOSE, 0, 0);  // the close box
    if (!CheckExit(s, "korvalin ends after the close box", 0, 20000)) return;
    // 0 a.txt  1 ok1.txt, read from the top once each, after one count.
    CheckEq((long)s.run.Logged("LB_GETCOUNT").size(), 1, "one LB_GETCOUNT");
    CheckEq((long)s.run.Logged("LB_GETTEXT").size(), 2, "LB_GETTEXT count");
    CheckEq(Join(s.run.Logged("LB_SETSEL"), ","), "1 1", "one LB_SETSEL, selecting item 1");
    CheckEq(s.run.LogValue("CARET"), "1 ok1.txt", "the panel's caret afterwards");
    CheckEq(Join(s.run.Logged("SELECTED"), ","), "ok1.txt", "selected afterwards");
    std::string item;
    for (const auto& i : s.run.Logged("ITEM"))
        if (i.compare(0, 8, "ok1.txt|") == 0) item = i;
    CheckEq((long)item.size(), 5000, "the item text's length");
}

}  // namespace

void CaseHandBackGroup() {
    CaseKeyStrokes();
    CaseShellOpen();
    CaseStoppedThenClosed();
}

}  // namespace kv

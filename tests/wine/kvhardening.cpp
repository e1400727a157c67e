// Away from the first path: the window closed while minimised or
// maximised, and the settings dialog's "-" buttons clicked with the mouse.
#include "kvdriver.h"

namespace kv {
namespace {

// A real left click at the middle of `control` (or at `dx`, `dy` inside
// it), through the input queue: the button takes the focus as under a
// person's hand.
void ClickAt(HWND control, int dx = -1, int dy = -1) {
    RECT r = Bounds(control);
    int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
    int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
    INPUT in[3] = {};
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dx = (x * 65535 + ScreenW() / 2) / (ScreenW() - 1);
    in[0].mi.dy = (y * 65535 + ScreenH() / 2) / (ScreenH() - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
    Sleep(150);
}

std::string IniValue(const std::vector<IniEntry>& ini, const char* key) {
    const IniEntry* e = Find(ini, "Window", key);
    return e ? e->value : "(missing)";
}

// Minimised (as the task bar's button does) or maximised, then closed from
// the task bar: the ini gets the bounds a restore gives back.
void CaseClosedMinimisedOrMaximised() {
    const struct {
        const char* name;
        WPARAM command;
    } rows[] = {{"minimised", SC_MINIMIZE}, {"maximised", SC_MAXIMIZE}};
    for (const auto& row : rows) {
        g_case = std::string("offpath/closed ") + row.name;
        Run run;
        WriteAll(run.ini, "[Window]\r\nSavePos=1\r\nSaveSize=1\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=300\r\n");
        if (!run.Start({})) continue;
        HWND main = run.WaitMain();
        if (!Check(main != nullptr, "main window appears")) continue;
        Sleep(300);
        const RECT normal = Bounds(main);
        PostMessageA(main, WM_SYSCOMMAND, row.command, 0);
        bool changed = Poll([&] { return row.command == SC_MINIMIZE ? IsIconic(main) : IsZoomed(main); }, 5000);
        Check(changed, std::string("the window is ") + row.name, RectText(Bounds(main)));
        PostMessageA(main, WM_CLOSE, 0, 0);
        if (!Check(run.KorvalinEnded(10000), "closed")) continue;
        std::string text;
        if (!Check(ReadAll(run.ini, text), "ini file written")) continue;
        std::vector<IniEntry> ini = ParseIni(text);
        CheckEq(IniValue(ini, "Left") + "," + IniValue(ini, "Top") + " " + IniValue(ini, "Width") + "x" +
                    IniValue(ini, "Height"),
                RectText(normal), "the normal bounds are saved");
    }
}

struct Dialog {
    HWND dlg = nullptr;
    HWND C(int id) const { return Control(dlg, id); }
    HWND F(int frame, int id) const { return Control(C(frame), id); }
};

// A row of the wrapper list or of a frame's list selected with the mouse,
// then "-" clicked: the row goes and the keyboard still works in the
// dialog, from "-" on.
void CaseMinusKeepsTheFocus() {
    g_case = "offpath/minus focus";
    Run run;
    WriteAll(run.ini, "[Naming]\r\nWrapper=(*)|[*]|{*}\r\nCommonUse=one|two|three\r\n");
    HWND edit = nullptr;
    HWND main = ShowMainWindow(run, {}, edit);
    if (!main) return;
    BringToFront(main);
    Chord({VK_MENU, 'S'});
    Dialog d;
    Poll([&] { return (d.dlg = VisibleWindow(run.kvPid, "TfomConfig")) != nullptr || run.KorvalinEnded(0); }, 10000);
    if (!Check(d.dlg != nullptr, "Alt+S opens the settings dialog", KeyTarget(main))) return;
    Sleep(300);
    Chord({VK_CONTROL, VK_TAB});
    Sleep(150);
    Chord({VK_CONTROL, VK_TAB});
    if (!Check(Poll([&] { return SendMessageA(d.C(200), TCM_GETCURSEL, 0, 0) == 2; }, 3000),
               "Ctrl+Tab twice shows page 命名工具"))
        return;
    Sleep(300);

    const struct {
        const char* name;
        HWND list, minus;
        bool listView;
    } rows[] = {
        {"wrapper", d.C(264), d.C(265), true},
        {"phrases", d.F(250, 304), d.F(250, 305), false},
    };
    for (const auto& row : rows) {
        g_case = std::string("offpath/minus ") + row.name;
        auto count = [&] {
            return (long)SendMessageA(row.list, row.listView ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0);
        };
        const long before = count();
        ClickAt(row.list, 30, 6);  // the first row
        if (!Check(Poll([&] { return IsWindowEnabled(row.minus) != FALSE; }, 3000), "clicking a row enables -"))
            continue;
        ClickAt(row.minus);
        Check(Poll([&] { return count() == before - 1; }, 3000), "- deletes the row");
        Check(IsWindowEnabled(row.minus) != FALSE, "- stays enabled");
        HWND focus = FocusOf(d.dlg);
        Check(focus && IsChild(d.dlg, focus), "after the click the focus is on a control of the dialog",
              "focus " + ClassOf(focus));
        // Tab goes on from there, and the keyboard reaches the controls:
        // Alt+W and typing fill the wrapper's first half.
        SendKey(VK_TAB);
        HWND next = nullptr;
        Check(Poll([&] { return (next = FocusOf(d.dlg)) && next != focus && IsChild(d.dlg, next); }, 3000),
              "Tab moves the focus on", "focus " + ClassOf(FocusOf(d.dlg)));
        SetWindowTextA(d.C(261), "");
        Chord({VK_MENU, 'W'});
        Sleep(150);
        TypeQueued("k");
        Check(Poll([&] { return TextOf(d.C(261)) == "k"; }, 3000), "Alt+W and a typed letter reach the edit box",
              "text " + Show(TextOf(d.C(261))));
    }
    g_case = "offpath/minus focus";
    Chord({VK_ESCAPE});
    Poll([&] { return !VisibleWindow(run.kvPid, "TfomConfig"); }, 5000);
    PostMessageA(main, WM_CLOSE, 0, 0);
    Check(run.KorvalinEnded(10000), "closed");
}

}  // namespace

void CaseOffPathGroup() {
    CaseClosedMinimisedOrMaximised();
    CaseMinusKeepsTheFocus();
}

}  // namespace kv

// Away from the first path: the window closed while minimised or
// maximised, and the settings dialog's "-" buttons clicked with the mouse.
#include "kvdialog.h"

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

// Minimised (as the task bar's button does) or maximised, then closed from
// the task bar: the ini gets the bounds a restore gives back.
void CaseClosedMinimisedOrMaximised() {
    const struct {
        const char* name;
        WPARAM command;
        BOOL (WINAPI* is)(HWND);
    } rows[] = {{"minimised", SC_MINIMIZE, IsIconic}, {"maximised", SC_MAXIMIZE, IsZoomed}};
    for (const auto& row : rows) {
        g_case = std::string("offpath/closed ") + row.name;
        Session s;
        if (!s.Open("[Window]\r\nSavePos=1\r\nSaveSize=1\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=300\r\n"))
            continue;
        const RECT normal = Bounds(s.main);
        PostMessageA(s.main, WM_SYSCOMMAND, row.command, 0);
        Check(Poll([&] { return row.is(s.main) != FALSE; }, 5000), std::string("the window is ") + row.name,
              RectText(Bounds(s.main)));
        PostMessageA(s.main, WM_CLOSE, 0, 0);
        std::string text;
        if (!Check(s.run.KorvalinEnded(10000), "closed") || !Check(ReadAll(s.run.ini, text), "ini file written"))
            continue;
        const std::vector<IniEntry> ini = ParseIni(text);
        auto value = [&](const char* key) {
            const IniEntry* e = Find(ini, "Window", key);
            return e ? e->value : "(missing)";
        };
        CheckEq(value("Left") + "," + value("Top") + " " + value("Width") + "x" + value("Height"), RectText(normal),
                "the normal bounds are saved");
    }
}

// A row of the wrapper list or of a frame's list selected with the mouse,
// then "-" clicked: the row goes and the keyboard still works in the
// dialog, from "-" on.
void CaseMinusKeepsTheFocus() {
    g_case = "offpath/minus focus";
    Session s;
    if (!s.Open("[Naming]\r\nWrapper=(*)|[*]|{*}\r\nCommonUse=one|two|three\r\n")) return;
    HWND dlg = OpenSettings(s);
    if (!dlg) return;
    auto C = [&](int id) { return Control(dlg, id); };
    Sleep(300);
    Chord({VK_CONTROL, VK_TAB});
    Sleep(150);
    Chord({VK_CONTROL, VK_TAB});
    if (!Check(Poll([&] { return SendMessageA(C(200), TCM_GETCURSEL, 0, 0) == 2; }, 3000),
               "Ctrl+Tab twice shows page 命名工具"))
        return;
    Sleep(300);

    const struct {
        const char* name;
        HWND list, minus;
        bool listView;
    } rows[] = {
        {"wrapper", C(264), C(265), true},
        {"phrases", Control(C(250), 304), Control(C(250), 305), false},
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
        HWND focus = FocusOf(dlg);
        Check(focus && IsChild(dlg, focus), "after the click the focus is on a control of the dialog",
              "focus " + ClassOf(focus));
        // Tab goes on from there, and the keyboard reaches the controls:
        // Alt+W and typing fill the wrapper's first half.
        SendKey(VK_TAB);
        HWND next = nullptr;
        Check(Poll([&] { return (next = FocusOf(dlg)) && next != focus && IsChild(dlg, next); }, 3000),
              "Tab moves the focus on", "focus " + ClassOf(FocusOf(dlg)));
        SetWindowTextA(C(261), "");
        Chord({VK_MENU, 'W'});
        Sleep(150);
        TypeQueued("k");
        Check(Poll([&] { return TextOf(C(261)) == "k"; }, 3000), "Alt+W and a typed letter reach the edit box",
              "text " + Show(TextOf(C(261))));
    }
    g_case = "offpath/minus focus";
    Chord({VK_ESCAPE});
    SettingsClosed(s);
    PostMessageA(s.main, WM_CLOSE, 0, 0);
    Check(s.run.KorvalinEnded(10000), "closed");
}

}  // namespace

void CaseOffPathGroup() {
    CaseClosedMinimisedOrMaximised();
    CaseMinusKeepsTheFocus();
}

}  // namespace kv

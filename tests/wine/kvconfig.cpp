// The settings dialog under Wine, driven as a user would: Alt+S in the main
// window opens it; accelerators, Tab, Ctrl+Tab, space and Enter act on it;
// the ini file written when the main window closes shows what was stored.
#include "kvdriver.h"

namespace kv {
namespace {

struct Expect {
    int id;
    const char* cls;
    const char* caption;  // null: not checked (edit boxes, lists)
    int container;        // 0 the dialog, a page, a group box or a frame
    int left, top, width, height;
};

// Every control at its place: positions relative to its container.
const Expect kLayout[] = {
    {200, "SysTabControl32", nullptr, 0, 8, 8, 396, 304},
    {1, "Button", "确定", 0, 228, 324, 75, 21},
    {2, "Button", "取消", 0, 312, 324, 75, 21},
    {210, "Button", "输入方式(&I)", 201, 12, 8, 360, 84},
    {211, "Static", "在主窗口中，输入多个文件(夹)名，每行一个。", 210, 16, 20, 300, 12},
    {212, "Button", "&Enter 完成输入, Ctrl + Enter 换行", 210, 16, 36, 280, 17},
    {213, "Button", "&Ctrl + Enter 完成输入, Enter 换行", 210, 16, 56, 280, 17},
    {214, "Static", "Total Commander 版本(&V):", 201, 12, 108, 176, 12},
    {215, "ComboBox", nullptr, 201, 220, 104, 100, 20},
    {216, "Button", "列表初始为TC面板的选中项(&I):", 201, 12, 136, 200, 17},
    {217, "ComboBox", nullptr, 201, 220, 136, 100, 20},
    {218, "Button", "初始化时自动扩大窗口(&Z)", 201, 12, 164, 200, 17},
    {219, "Button", "OnlyDir 模式下，初始化列表时，不包含扩展名(&N)", 201, 12, 192, 320, 17},
    {220, "Button", "允许 ; 和 ' 键移动光标(&Q)", 201, 12, 220, 200, 17},
    {221, "Button", "记住窗口的位置(&P)", 201, 12, 248, 160, 17},
    {222, "Button", "记住窗口的大小(&S)", 201, 196, 248, 160, 17},
    {230, "Static", "模板目录(&T):", 202, 16, 16, 137, 12},
    {231, "Edit", nullptr, 202, 16, 32, 360, 20},
    {232, "Static", "创建完成后的光标位置(&C):", 202, 16, 72, 177, 12},
    {233, "ComboBox", nullptr, 202, 208, 68, 168, 20},
    {234, "Button", "新建后自动打开文件(&O)", 202, 24, 108, 160, 17},
    {235, "Button", "", 202, 16, 110, 360, 124},
    {236, "Static", "仅对当前目录的文件有效。", 235, 16, 24, 280, 12},
    {237, "Static", "最多打开的文件数(&M):", 235, 16, 48, 180, 12},
    {238, "Edit", nullptr, 235, 208, 44, 72, 20},
    {239, "msctls_updown32", nullptr, 235, 280, 44, 15, 20},
    {240, "Button", "发送按键到 TC(&S):", 235, 16, 72, 180, 17},
    {241, "ComboBox", nullptr, 235, 208, 72, 88, 20},
    {242, "Button", "&Windows 默认打开方式", 235, 16, 96, 280, 17},
    {250, "TKorvalinPanel", nullptr, 203, 0, 0, 188, 132},
    {251, "TKorvalinPanel", nullptr, 203, 200, 0, 188, 132},
    {252, "TKorvalinPanel", nullptr, 203, 0, 140, 188, 132},
    {253, "TKorvalinPanel", nullptr, 203, 200, 140, 188, 132},
    {260, "Static", "包装符(&W):", 253, 16, 8, 136, 12},
    {261, "Edit", nullptr, 253, 16, 24, 64, 20},
    {262, "Edit", nullptr, 253, 88, 24, 64, 20},
    {263, "Button", "+", 253, 160, 24, 21, 21},
    {264, "SysListView32", nullptr, 253, 16, 48, 136, 80},
    {265, "Button", "-", 253, 160, 48, 21, 21},
};

// The controls of one list-editor frame, relative to the frame (the
// dialog's frames: caption 12 high, edit box 20).
const Expect kFrame[] = {
    {301, "Static", nullptr, 0, 16, 8, 136, 12}, {302, "Edit", nullptr, 0, 16, 24, 136, 20},
    {303, "Button", "+", 0, 160, 24, 21, 21},    {304, "ListBox", nullptr, 0, 16, 48, 136, 80},
    {305, "Button", "-", 0, 160, 48, 21, 21},
};

const char* const kRefused = "文件名不能包含下列任何字符:\r\n\\/:*?\"<>|";

std::string R(const RECT& r) { return RectText(r); }
RECT Rc(int l, int t, int w, int h) { return RECT{l, t, l + w, t + h}; }

struct Dialog {
    HWND dlg = nullptr;
    HWND C(int id) const { return Control(dlg, id); }
    HWND F(int frame, int id) const { return Control(C(frame), id); }
    bool Checked(int id) const { return SendMessageA(C(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(C(id)) != FALSE; }
    long Sel(int id) const { return (long)SendMessageA(C(id), CB_GETCURSEL, 0, 0); }
    long Page() const { return (long)SendMessageA(C(200), TCM_GETCURSEL, 0, 0); }
    HWND Focus() const { return FocusOf(dlg); }
};

// Alt+S in the main window opens the dialog.
bool OpenDialog(Run& run, HWND main, Dialog& d) {
    BringToFront(main);
    Chord({VK_MENU, 'S'});
    Poll([&] { return (d.dlg = VisibleWindow(run.kvPid, "TfomConfig")) != nullptr || run.KorvalinEnded(0); }, 10000);
    return Check(d.dlg != nullptr, "Alt+S opens the settings dialog", d.dlg ? "" : KeyTarget(main));
}

bool DialogGone(Run& run) {
    return Poll([&] { return !VisibleWindow(run.kvPid, "TfomConfig"); }, 5000);
}

// Closes the main window with Escape and reads the ini file it writes.
bool CloseAndReadIni(Run& run, HWND main, std::vector<IniEntry>& ini) {
    HWND edit = Control(main, 100);
    if (edit) Key(edit, VK_ESCAPE);
    if (!Check(run.KorvalinEnded(10000), "Escape closes the main window")) return false;
    std::string text;
    if (!Check(ReadAll(run.ini, text), "ini file written")) return false;
    ini = ParseIni(text);
    return true;
}

std::string Value(const std::vector<IniEntry>& ini, const char* section, const char* key) {
    const IniEntry* e = Find(ini, section, key);
    return e ? e->value : "(missing)";
}

void CheckLayout(const Dialog& d) {
    // Where each container's client area lies in the dialog's.
    auto origin = [&](int container) -> POINT {
        if (container == 0) return {0, 0};
        if (container >= 201 && container <= 203) {
            RECT r = BoundsIn(d.dlg, d.C(container));
            return {r.left, r.top};
        }
        for (const Expect& e : kLayout)
            if (e.id == container) {
                RECT r = BoundsIn(d.dlg, d.C(e.container));
                return {r.left + e.left, r.top + e.top};
            }
        return {0, 0};
    };
    std::string bad;
    for (const Expect& e : kLayout) {
        HWND c = d.C(e.id);
        if (!c) {
            bad += " " + std::to_string(e.id) + " missing;";
            continue;
        }
        POINT o = origin(e.container);
        RECT want = Rc(o.x + e.left, o.y + e.top, e.width, e.height), got = BoundsIn(d.dlg, c);
        // A closed drop-down list is as high as its font makes it.
        if (!strcmp(e.cls, "ComboBox")) got.bottom = got.top + e.height;
        if (ClassOf(c) != e.cls) bad += " " + std::to_string(e.id) + " is " + ClassOf(c) + ";";
        if (R(got) != R(want)) bad += " " + std::to_string(e.id) + " at " + R(got) + " want " + R(want) + ";";
        if (e.caption && TextOf(c) != e.caption) bad += " " + std::to_string(e.id) + " reads " + Show(TextOf(c)) + ";";
    }
    for (int frame : {250, 251, 252})
        for (const Expect& e : kFrame) {
            HWND c = d.F(frame, e.id);
            RECT f = BoundsIn(d.dlg, d.C(frame));
            RECT want = Rc(f.left + e.left, f.top + e.top, e.width, e.height);
            if (!c || R(BoundsIn(d.dlg, c)) != R(want) || ClassOf(c) != e.cls)
                bad += " frame " + std::to_string(frame) + "/" + std::to_string(e.id) + " wrong;";
        }
    Check(bad.empty(), "every control has its class, caption and place", bad);
    CheckEq(TextOf(d.F(250, 301)) + TextOf(d.F(251, 301)) + TextOf(d.F(252, 301)),
            "常用语(&C):时间格式(&T):分隔符(&S):", "frame captions");
    RECT client = {};
    GetClientRect(d.dlg, &client);
    CheckEq(R(client), "0,0 412x353", "client area");
    LONG style = GetWindowLongA(d.dlg, GWL_STYLE);
    Check((style & WS_CAPTION) == WS_CAPTION && !(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)),
          "fixed dialog border", "style " + std::to_string(style));
    RECT r = Bounds(d.dlg);
    int cx = (ScreenW() - (r.right - r.left)) / 2, cy = (ScreenH() - (r.bottom - r.top)) / 2;
    Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, "centred", R(r));
    CheckEq(TextOf(d.dlg), "Korvalin 设置", "caption");
    Check((GetWindowLongA(d.C(1), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "OK is the default button");
    CheckEq(Show(ItemsOf(d.C(233), true).size() == 4 ? ItemsOf(d.C(233), true)[3] : ""), Show("用户输入时的 最后项"),
            "cursor positions listed");
    std::vector<std::string> v = ItemsOf(d.C(215), true);
    CheckEq(v.size() == 2 ? v[0] + "," + v[1] : "", "8.0以上,低于8.0", "versions listed");
    v = ItemsOf(d.C(241), true);
    CheckEq(v.size() == 3 ? v[0] + "," + v[1] + "," + v[2] : "", "F4,ESC+F4,CapsLock+F4", "keys listed");
}

std::string Shot(const char* name) {
    std::string build = UnixPath(g_bin);
    if (build.size() > 1 && build.back() == '/') build.pop_back();
    build = build.substr(0, build.find_last_of('/') + 1);
    return build + name;
}

// A start without an ini file: the construction values, the three pages,
// their places, Ctrl+Tab, and Escape storing nothing.
void CaseFresh() {
    g_case = "config/fresh";
    Run run;
    if (!run.Start({})) return;
    HWND main = run.WaitMain();
    Dialog d;
    if (!Check(main != nullptr, "main window") || !OpenDialog(run, main, d)) return;
    Check(Poll([&] { return !IsWindowEnabled(main); }, 3000), "the main window waits while the dialog is open");
    CheckLayout(d);
    CheckEq(d.Page(), 0, "page 常规 first");
    Check(d.Checked(212) && !d.Checked(213), "Enter confirms (ConfirmMode 0)");
    Check(!d.Checked(216) && !d.Enabled(217) && !d.Enabled(218) && !d.Enabled(219), "InitBySelect off disables");
    CheckEq(d.Sel(215), 1, "TcColSep 0 shows 低于8.0");
    CheckEq(d.Sel(217), 0, "InitPathType 0");
    CheckEq(TextOf(d.C(238)), "1", "OpenMax 0 shows 1");
    std::string off;
    for (int id : {235, 236, 237, 238, 239, 240, 241, 242})
        if (d.Enabled(id)) off += " " + std::to_string(id);
    Check(off.empty(), "AutoOpen off disables the group", "enabled:" + off);
    Check(Screenshot(Shot("config-page1.png")), "screenshot of page 常规");
    // What OK reads from the up-down control after typing into its box: a
    // number within 1 to 31, or else the position it held before.
    const struct {
        const char* typed;
        long pos;
    } typed[] = {{"0", 1}, {"32", 1}, {"-1", 1}, {"ab", 1}, {"  ", 1}, {"", 1}, {"7", 7}, {"0", 7}, {"31", 31}};
    std::string got, want;
    for (const auto& t : typed) {
        SendMessageA(d.C(238), WM_SETTEXT, 0, (LPARAM)t.typed);
        got += std::to_string((long)SendMessageA(d.C(239), UDM_GETPOS32, 0, 0)) + " ";
        want += std::to_string(t.pos) + " ";
    }
    CheckEq(got, want, "the file count keeps its position for 0, 32, -1, ab, blanks");

    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 1; }, 3000);
    CheckEq(d.Page(), 1, "Ctrl+Tab shows page 文件处理");
    Check(IsWindowVisible(d.C(231)) && !IsWindowVisible(d.C(212)), "only that page's controls show");
    HWND f = d.Focus();
    Check(f && IsWindowVisible(f), "the focus moves onto the page shown", f ? ClassOf(f) : "none");
    Check(Screenshot(Shot("config-page2.png")), "screenshot of page 文件处理");
    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 2; }, 3000);
    CheckEq(d.Page(), 2, "Ctrl+Tab shows page 命名工具");
    Check(Screenshot(Shot("config-page3.png")), "screenshot of page 命名工具");
    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 0; }, 3000);
    CheckEq(d.Page(), 0, "Ctrl+Tab wraps to 常规");
    Chord({VK_CONTROL, VK_SHIFT, VK_TAB});
    Poll([&] { return d.Page() == 2; }, 3000);
    CheckEq(d.Page(), 2, "Ctrl+Shift+Tab goes back");

    Chord({VK_MENU, 'C'});  // the frame's caption: its edit box, not a hidden page's "&C"
    Poll([&] { return d.Focus() == d.F(250, 302); }, 3000);
    Check(d.Focus() == d.F(250, 302), "Alt+C focuses the phrases' edit box");
    CheckEq(d.Page(), 2, "and stays on the page");
    Chord({VK_ESCAPE});
    Check(DialogGone(run), "Escape closes the dialog");
    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(run, main, ini)) return;
    // OK would have stored 1 and 32.
    CheckEq(Value(ini, "AfterCreate", "OpenMax") + " " + Value(ini, "AfterCreate", "TcColSep"), "0 0",
            "Escape stores nothing");
}

const char* const kTypicalIni =
    "[FileList]\r\nConfirmMode=0\r\nInitBySelect=1\r\nAutoSizeOnInit=1\r\nInitPathType=0\r\nCursorQuickMove=0\r\n"
    "NoExtOnlyDir=1\r\n[AfterCreate]\r\nAutoOpen=1\r\nOpenMax=16\r\nOpenMethod=0\r\nKeyType=0\r\nCursorPos=0\r\n"
    "TcColSep=9\r\n[Window]\r\nSavePos=0\r\nSaveSize=0\r\n[Naming]\r\nSeparator=| |.|-\r\nWrapper=(*)|[*]\r\n"
    "CommonUse=tester\r\nTimeFormat=yyyymmdd\r\n";

// Waits until `done` holds; one check either way.
bool Until(const std::function<bool()>& done, const std::string& what) {
    return Check(Poll(done, 3000), what);
}

// Sets the text box to `line`, walks the naming menu from Alt+N with
// `keys`, and answers the line as the chosen entry left it.
std::string Named(Run& run, HWND main, const std::string& line, const std::vector<WORD>& keys) {
    HWND edit = Control(main, 100);
    SetEditText(edit, line);
    BringToFront(main);
    Keys({'N'}, true);
    if (!Poll([&] { return VisibleWindow(run.kvPid, "#32768") != nullptr; }, 3000))
        return "(no menu; " + KeyTarget(main) + ")";
    Keys(keys);
    Poll([&] { return TextOf(edit) != line; }, 5000);
    Poll([&] { return !VisibleWindow(run.kvPid, "#32768"); }, 2000);
    return TextOf(edit);
}

// 前缀(&P), 常用语(&C), the second phrase, its fourth entry: the separator -.
const std::vector<WORD> kSecondPhraseDash = {'P', 'C', VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};

// A typical ini file: the opening state, then every option changed by keys,
// the template directory refused, a refused character, and OK by Enter.
void CaseEdit() {
    g_case = "config/edit";
    Run run;
    std::string tpl = run.dir + "tpl2";
    CreateDirectoryA(tpl.c_str(), nullptr);
    WriteAll(run.ini, kTypicalIni);
    if (!run.Start({})) return;
    HWND main = run.WaitMain();
    Dialog d;
    if (!Check(main != nullptr, "main window")) return;
    // Built once before the dialog, so that only OK can make the menu show the added phrase.
    CheckEq(Named(run, main, "x.txt", {'P', 'C', VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}), "tester-x.txt",
            "the naming menu offers the stored phrase");
    if (!OpenDialog(run, main, d)) return;
    Check(d.Checked(212) && d.Checked(216) && d.Checked(218) && d.Checked(219) && !d.Checked(220),
          "check boxes show the record");
    Check(d.Enabled(217) && d.Enabled(218) && d.Enabled(241), "InitBySelect and the send-keys method enable");
    CheckEq(d.Sel(215), 0, "TcColSep 9 shows 8.0以上");
    CheckEq(TextOf(d.C(238)), "16", "OpenMax");
    CheckEq(TextOf(d.C(231)), run.dir + "Templates\\", "template path in its effective form");
    std::vector<std::string> sep = ItemsOf(d.F(252, 304));
    CheckEq(sep.size() == 2 ? sep[0] + sep[1] : "", ".-", "separators without the fixed entries");
    CheckEq((long)SendMessageA(d.C(264), LVM_GETITEMCOUNT, 0, 0), 2, "two wrapper rows");

    // Page 常规.
    Chord({VK_MENU, 'C'});
    Until([&] { return d.Checked(213) && !d.Checked(212); }, "Alt+C chooses Ctrl+Enter");
    Chord({VK_MENU, 'Z'});
    Until([&] { return !d.Checked(218); }, "Alt+Z clears AutoSizeOnInit");
    Chord({VK_MENU, 'Q'});
    Until([&] { return d.Checked(220); }, "Alt+Q sets CursorQuickMove");
    Chord({VK_MENU, 'P'});
    Until([&] { return d.Checked(221); }, "Alt+P sets SavePos");
    Chord({VK_TAB});
    Until([&] { return d.Focus() == d.C(222); }, "Tab goes on to SaveSize");
    Chord({VK_SPACE});
    Until([&] { return d.Checked(222); }, "space checks it");
    Chord({VK_MENU, 'V'});
    Until([&] { return d.Focus() == d.C(215); }, "Alt+V focuses the version list");
    Chord({VK_DOWN});
    Until([&] { return d.Sel(215) == 1; }, "Down picks 低于8.0");
    Chord({VK_MENU, 'I'});  // the group box's "&I" first, then the check box's
    Chord({VK_MENU, 'I'});
    Until([&] { return !d.Checked(216) && !d.Enabled(219) && !d.Checked(219); }, "Alt+I clears InitBySelect");
    Chord({VK_MENU, 'I'});
    Chord({VK_MENU, 'I'});
    Until([&] { return d.Checked(216) && d.Enabled(219) && !d.Checked(219); }, "and again sets it, NoExt stays off");
    Chord({VK_MENU, 'N'});
    Until([&] { return d.Checked(219); }, "Alt+N sets NoExtOnlyDir");

    // Page 文件处理: the accelerators of the hidden pages do not act.
    Chord({VK_CONTROL, VK_TAB});
    Until([&] { return d.Page() == 1; }, "Ctrl+Tab to 文件处理");
    Chord({VK_MENU, 'M'});
    Until([&] { return d.Focus() == d.C(238); }, "Alt+M focuses the file count");
    Chord({'5'});
    Until([&] { return TextOf(d.C(238)) == "5"; }, "typed 5");
    Chord({VK_MENU, 'W'});
    Until([&] { return d.Checked(242) && !d.Enabled(241); }, "Alt+W: the shell opens, no keys to send");
    Chord({VK_MENU, 'O'});
    Until([&] { return !d.Checked(234) && !d.Enabled(242) && !d.Enabled(238) && !d.Enabled(235); },
          "Alt+O clears AutoOpen and disables the group");
    Chord({VK_MENU, 'O'});
    Until([&] { return d.Checked(234) && d.Enabled(242) && !d.Enabled(241); },
          "and again enables it, the key list only with its method");
    Chord({VK_MENU, 'S'});
    Until([&] { return d.Checked(240) && d.Enabled(241); }, "Alt+S chooses sending keys (not a hidden page's &S)");
    CheckEq(d.Page(), 1, "still on 文件处理");
    Chord({VK_MENU, 'W'});
    Until([&] { return d.Checked(242); }, "Alt+W back to the shell");
    Chord({VK_MENU, 'C'});
    Until([&] { return d.Focus() == d.C(233); }, "Alt+C focuses the cursor position list");
    Chord({VK_DOWN});
    Until([&] { return d.Sel(233) == 1; }, "Down picks the last item in the panel");

    // A missing template directory: the message, the page, the focus.
    Chord({VK_MENU, 'T'});
    Until([&] { return d.Focus() == d.C(231); }, "Alt+T focuses the template path");
    SendMessageA(d.C(231), WM_SETTEXT, 0, (LPARAM)(run.dir + "no such folder").c_str());
    Chord({VK_CONTROL, VK_TAB});
    Chord({VK_RETURN});
    HWND box = run.WaitBox(5000);
    if (Check(box != nullptr, "OK with a missing template directory shows a message")) {
        Poll([&] { return !TextOf(GetDlgItem(box, 0xFFFF)).empty(); }, 3000);
        Box b = ReadBox(box);
        CheckEq(b.text, "模板目录不存在。", "message text");
        CheckEq(b.title, "Korvalin 设置", "message title");
        Check(GetWindow(box, GW_OWNER) == d.dlg, "the dialog owns it");
        Press(box, IDOK);
        Poll([&] { return !IsWindow(box); }, 5000);
        Until([&] { return d.Page() == 1 && d.Focus() == d.C(231); }, "page 文件处理, focus on the path");
        Check(IsWindowVisible(d.dlg), "the dialog stays open");
    }
    SendMessageA(d.C(231), WM_SETTEXT, 0, (LPARAM)tpl.c_str());

    // Page 命名工具.
    Chord({VK_CONTROL, VK_TAB});
    Until([&] { return d.Page() == 2; }, "Ctrl+Tab to 命名工具");
    Chord({VK_MENU, 'C'});
    Until([&] { return d.Focus() == d.F(250, 302); }, "Alt+C focuses the phrases' edit box");
    // The page switch may have put the focus there already: the keys go
    // through the queue, behind Alt+C.
    TypeQueued("phrase");
    Until([&] { return TextOf(d.F(250, 302)) == "phrase"; }, "typed into the phrases' edit box");
    Until([&] { return IsWindowEnabled(d.F(250, 303)); }, "+ enabled by typing");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return ItemsOf(d.F(250, 304)).size() == 2; }, "+ adds the phrase");
    Chord({VK_MENU, 'T'});
    Until([&] { return d.Focus() == d.F(251, 302); }, "Alt+T focuses the date patterns' edit box");
    Type(d.F(251, 302), "a/b");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    box = run.WaitBox(5000);
    if (Check(box != nullptr, "a refused character shows a message")) {
        Poll([&] { return !TextOf(GetDlgItem(box, 0xFFFF)).empty(); }, 3000);
        Box b = ReadBox(box);
        CheckEq(b.text, kRefused, "message text");
        CheckEq(b.title, TextOf(main), "titled as the application");
        Check(GetWindow(box, GW_OWNER) == nullptr, "no owner");
        Press(box, IDOK);
        Poll([&] { return !IsWindow(box); }, 5000);
        CheckEq((long)ItemsOf(d.F(251, 304)).size(), 1, "nothing added");
    }
    Chord({VK_MENU, 'W'});
    Until([&] { return d.Focus() == d.C(261); }, "Alt+W focuses the wrapper's first half");
    Check(!IsWindowEnabled(d.C(263)), "the wrapper's + starts disabled");
    Type(d.C(261), "【");
    Until([&] { return IsWindowEnabled(d.C(263)) != FALSE; }, "typing a half enables +");
    Chord({VK_TAB});
    Type(d.C(262), "】");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return SendMessageA(d.C(264), LVM_GETITEMCOUNT, 0, 0) == 3; }, "+ adds the wrapper pair");
    Check(Screenshot(Shot("config-page3-filled.png")), "screenshot of page 命名工具 with entries");
    // Into the list, the first row selected, "-" deletes it and stays usable.
    Chord({VK_TAB});
    Chord({VK_HOME});
    Until([&] { return IsWindowEnabled(d.C(265)) != FALSE; }, "selecting a row enables -");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return SendMessageA(d.C(264), LVM_GETITEMCOUNT, 0, 0) == 2; }, "- deletes the row");
    Check(IsWindowEnabled(d.C(265)) != FALSE, "- stays enabled");
    // Enter in an edit box presses OK; it does not add the entry.
    Chord({VK_MENU, 'S'});
    Until([&] { return d.Focus() == d.F(252, 302); }, "Alt+S focuses the separators' edit box");
    Type(d.F(252, 302), "~");
    Chord({VK_RETURN});
    Check(DialogGone(run), "Enter presses OK");
    Until([&] { return IsWindowEnabled(main) != FALSE; }, "the main window is usable again");
    CheckEq(Named(run, main, "x.txt", kSecondPhraseDash), "phrase-x.txt",
            "the added phrase is in the naming menu at once");

    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(run, main, ini)) return;
    const struct {
        const char* section;
        const char* key;
        std::string want;
    } keys[] = {
        {"FileList", "ConfirmMode", "1"}, {"FileList", "InitBySelect", "1"}, {"FileList", "AutoSizeOnInit", "0"},
        {"FileList", "InitPathType", "0"}, {"FileList", "CursorQuickMove", "1"}, {"FileList", "NoExtOnlyDir", "1"},
        {"FileList", "TemplatePath", tpl}, {"AfterCreate", "AutoOpen", "1"}, {"AfterCreate", "OpenMax", "5"},
        {"AfterCreate", "OpenMethod", "1"}, {"AfterCreate", "KeyType", "0"}, {"AfterCreate", "CursorPos", "1"},
        {"AfterCreate", "TcColSep", "32"}, {"Window", "SavePos", "1"}, {"Window", "SaveSize", "1"},
        {"Naming", "Separator", "| |.|-"}, {"Naming", "Wrapper", "[*]|【*】"},
        {"Naming", "CommonUse", "tester|phrase"}, {"Naming", "TimeFormat", "yyyymmdd"},
    };
    std::string bad;
    for (const auto& k : keys)
        if (Value(ini, k.section, k.key) != k.want)
            bad += std::string(" ") + k.key + "=" + Show(Value(ini, k.section, k.key)) + " want " + Show(k.want) + ";";
    Check(bad.empty(), "OK stored every option in its key", bad);

    // The next start reads the edited lists back.
    g_case = "config/restart";
    int code = 0;
    run.ExitCode(code);
    DeleteFileA(run.log.c_str());
    Run again(run.demo, run.exe, run.log);
    if (!again.Start({})) return;
    main = again.WaitMain();
    if (!Check(main != nullptr, "main window") || !OpenDialog(again, main, d)) return;
    std::vector<std::string> phrases = ItemsOf(d.F(250, 304));
    CheckEq(phrases.size() == 2 ? phrases[1] : "", "phrase", "the added phrase is there after a restart");
    CheckEq((long)SendMessageA(d.C(264), LVM_GETITEMCOUNT, 0, 0), 2, "and the wrapper pairs");
    CheckEq(TextOf(d.C(238)), "5", "and the file count");
    PostMessageA(d.C(2), BM_CLICK, 0, 0);
    Check(DialogGone(again), "Cancel closes the dialog");
    CheckEq(Named(again, main, "x.txt", kSecondPhraseDash), "phrase-x.txt",
            "and in the naming menu");
    CloseAndReadIni(again, main, ini);
}

// Cancel and the close box store nothing; OK without a change stores what
// the dialog showed (Ctrl+Enter confirming, first focus on a radio button).
void CaseCancel() {
    const struct {
        const char* name;
        int how;  // 0 Cancel button, 1 the close box, 2 OK with nothing changed
    } rows[] = {{"Cancel button", 0}, {"close box", 1}, {"OK unchanged", 2}};
    for (const auto& r : rows) {
        g_case = std::string("config/cancel ") + r.name;
        Run run;
        std::string text = kTypicalIni;
        if (r.how == 2) text.replace(text.find("ConfirmMode=0"), 13, "ConfirmMode=1");
        WriteAll(run.ini, text);
        if (!run.Start({})) continue;
        HWND main = run.WaitMain();
        Dialog d;
        if (!Check(main != nullptr, "main window") || !OpenDialog(run, main, d)) continue;
        if (r.how == 2) {
            Chord({VK_RETURN});
            Check(DialogGone(run), "Enter presses OK");
            std::vector<IniEntry> ini;
            if (!CloseAndReadIni(run, main, ini)) continue;
            CheckEq(Value(ini, "FileList", "ConfirmMode") + Value(ini, "AfterCreate", "OpenMax") +
                        Value(ini, "Naming", "Separator") + Value(ini, "Naming", "Wrapper"),
                    "116| |.|-(*)|[*]", "the shown values stored");
            continue;
        }
        Chord({VK_MENU, 'P'});
        Until([&] { return d.Checked(221); }, "Alt+P sets SavePos");
        if (r.how == 0) {
            SetForegroundWindow(d.dlg);
            PostMessageA(d.C(2), BM_CLICK, 0, 0);
        } else {
            PostMessageA(d.dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Check(DialogGone(run), "the dialog closes");
        std::vector<IniEntry> ini;
        if (!CloseAndReadIni(run, main, ini)) continue;
        CheckEq(Value(ini, "Window", "SavePos") + Value(ini, "AfterCreate", "OpenMax"), "016", "nothing stored");
    }
}

}  // namespace

void CaseConfigGroup() {
    CaseFresh();
    CaseEdit();
    CaseCancel();
}

}  // namespace kv

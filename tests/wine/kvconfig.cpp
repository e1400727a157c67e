// The settings dialog under Wine, driven as a user would: Alt+S in the main
// window opens it; accelerators, Tab, Ctrl+Tab, space and Enter act on it;
// the ini file written when the main window closes shows what was stored.
// Each control's place, class and caption are checked against the layout
// the dialog is built from (ConfigLayout.h), as Windows reports them.
#include "kvdriver.h"
#include "kvdialog.h"

#include "ConfigLayout.h"

namespace kv {
namespace {

namespace L = layout;

// The controls of a list-editor frame, with what the dialog changes in them.
struct FrameControl {
    const LayoutItem& item;
    int height;
};
const FrameControl kFrame[] = {
    {L::frmLabel, L::kConfigFrameLabelHeight}, {L::frmEditBox, L::kConfigFrameEditHeight},
    {L::frmBtnAdd, L::frmBtnAdd.Height}, {L::frmListBox, L::frmListBox.Height}, {L::frmBtnDel, L::frmBtnDel.Height},
};

// The window class Windows reports for each kind of control.
std::string ClassFor(plat::Kind kind) {
    switch (kind) {
    case plat::Kind::Label: return "Static";
    case plat::Kind::Edit: return "Edit";
    case plat::Kind::Button:
    case plat::Kind::CheckBox:
    case plat::Kind::RadioButton:
    case plat::Kind::GroupBox: return "Button";
    case plat::Kind::ComboBox: return "ComboBox";
    case plat::Kind::ListBox: return "ListBox";
    case plat::Kind::ListView: return "SysListView32";
    case plat::Kind::UpDown: return "msctls_updown32";
    case plat::Kind::PageControl: return "SysTabControl32";
    case plat::Kind::Panel: return "TKorvalinPanel";
    default: return "(no control)";
    }
}

// Edit boxes and lists show what the record holds, not a caption.
bool HasCaption(plat::Kind kind) {
    return ClassFor(kind) == "Button" || kind == plat::Kind::Label;
}

std::string Items(const std::vector<std::string>& v) {
    std::string r;
    for (const std::string& s : v) r += (r.empty() ? "" : ",") + s;
    return r;
}
template <size_t N>
std::string Items(const char* const (&v)[N]) {
    return Items(std::vector<std::string>(v, v + N));
}

const char* const kRefused = "文件名不能包含下列任何字符:\r\n\\/:*?\"<>|";

std::string R(const RECT& r) { return RectText(r); }
RECT Rc(int l, int t, int w, int h) { return RECT{l, t, l + w, t + h}; }

struct Dialog {
    HWND dlg = nullptr;
    HWND C(const LayoutItem& c) const { return Control(dlg, c.Id); }
    HWND F(const LayoutItem& frame, const LayoutItem& c) const { return Control(C(frame), c.Id); }
    bool Checked(const LayoutItem& c) const { return SendMessageA(C(c), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(const LayoutItem& c) const { return IsWindowEnabled(C(c)) != FALSE; }
    long Sel(const LayoutItem& c) const { return (long)SendMessageA(C(c), CB_GETCURSEL, 0, 0); }
    long Page() const { return (long)SendMessageA(C(L::pgcOptions), TCM_GETCURSEL, 0, 0); }
    HWND Focus() const { return FocusOf(dlg); }
};

// Alt+S in the main window opens the dialog.
bool OpenDialog(Session& s, Dialog& d) {
    s.Press('S', {VK_MENU});
    Poll([&] { return (d.dlg = VisibleWindow(s.run.kvPid, "TfomConfig")) != nullptr || s.run.KorvalinEnded(0); },
         10000);
    return Check(d.dlg != nullptr, "Alt+S opens the settings dialog", d.dlg ? "" : KeyTarget(s.main));
}

bool DialogGone(const Session& s) {
    return Poll([&] { return !VisibleWindow(s.run.kvPid, "TfomConfig"); }, 5000);
}

// Closes the main window with Escape and reads the ini file it writes.
bool CloseAndReadIni(Session& s, std::vector<IniEntry>& ini) {
    if (!Check(s.Close(), "Escape closes the main window")) return false;
    std::string text;
    if (!Check(ReadAll(s.run.ini, text), "ini file written")) return false;
    ini = ParseIni(text);
    return true;
}

// Waits until `done` holds; one check either way.
bool Until(const std::function<bool()>& done, const std::string& what) {
    return Check(Poll(done, 3000), what);
}

// One thing a user does in the dialog: a key (with `mod` held unless 0)
// pressed `times` times into whatever has the focus, and what the dialog
// shows then.
struct Step {
    WORD mod, key;
    int times;
    std::function<bool()> shows;
    const char* what;
};

void Walk(const std::vector<Step>& steps) {
    for (const Step& st : steps) {
        for (int i = 0; i < st.times; ++i) st.mod ? Chord({st.mod, st.key}) : Chord({st.key});
        Until(st.shows, st.what);
    }
}

std::string Value(const std::vector<IniEntry>& ini, const char* section, const char* key) {
    const IniEntry* e = Find(ini, section, key);
    return e ? e->value : "(missing)";
}

void CheckDialogControls(const Dialog& d) {
    // Where a container's client area lies in the dialog's: a page's where
    // the tab control puts it, the others' at their place in theirs.
    std::function<POINT(const LayoutItem*)> origin = [&](const LayoutItem* in) -> POINT {
        if (!in) return {0, 0};
        if (in->Kind == plat::Kind::Page) {
            RECT r = BoundsIn(d.dlg, d.C(*in));
            return {r.left, r.top};
        }
        for (const Placed& p : kDialogControls)
            if (&p.item == in) {
                POINT o = origin(p.in);
                return {o.x + in->Left, o.y + in->Top};
            }
        return {0, 0};
    };
    std::string bad;
    for (const Placed& p : kDialogControls) {
        const LayoutItem& e = p.item;
        HWND c = d.C(e);
        if (!c) {
            bad += std::string(" ") + e.Name + " missing;";
            continue;
        }
        POINT o = origin(p.in);
        RECT want = Rc(o.x + e.Left, o.y + e.Top, e.Width, e.Height), got = BoundsIn(d.dlg, c);
        // A closed drop-down list is as high as its font makes it.
        if (e.Kind == plat::Kind::ComboBox) got.bottom = got.top + e.Height;
        if (ClassOf(c) != ClassFor(e.Kind)) bad += std::string(" ") + e.Name + " is " + ClassOf(c) + ";";
        if (R(got) != R(want)) bad += std::string(" ") + e.Name + " at " + R(got) + " want " + R(want) + ";";
        if (HasCaption(e.Kind) && TextOf(c) != e.Caption)
            bad += std::string(" ") + e.Name + " reads " + Show(TextOf(c)) + ";";
    }
    for (const LayoutItem* frame : {&L::frmCommonUse, &L::frmTimeFormat, &L::frmSeparator})
        for (const FrameControl& e : kFrame) {
            HWND c = d.F(*frame, e.item);
            RECT f = BoundsIn(d.dlg, d.C(*frame));
            RECT want = Rc(f.left + e.item.Left, f.top + e.item.Top, e.item.Width, e.height);
            if (!c || R(BoundsIn(d.dlg, c)) != R(want) || ClassOf(c) != ClassFor(e.item.Kind))
                bad += std::string(" ") + frame->Name + "/" + e.item.Name + " wrong;";
        }
    Check(bad.empty(), "every control has its class, caption and place", bad);
    CheckEq(TextOf(d.F(L::frmCommonUse, L::frmLabel)) + TextOf(d.F(L::frmTimeFormat, L::frmLabel)) +
                TextOf(d.F(L::frmSeparator, L::frmLabel)),
            std::string(L::kCommonUseCaption) + L::kTimeFormatCaption + L::kSeparatorCaption, "frame captions");
    RECT client = {};
    GetClientRect(d.dlg, &client);
    CheckEq(R(client), R(Rc(0, 0, L::kConfigClientWidth, L::kConfigClientHeight)), "client area");
    LONG style = GetWindowLongA(d.dlg, GWL_STYLE);
    Check((style & WS_CAPTION) == WS_CAPTION && !(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)),
          "fixed dialog border", "style " + std::to_string(style));
    RECT r = Bounds(d.dlg);
    int cx = (ScreenW() - (r.right - r.left)) / 2, cy = (ScreenH() - (r.bottom - r.top)) / 2;
    Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, "centred", R(r));
    CheckEq(TextOf(d.dlg), L::fomConfig.Caption, "caption");
    Check((GetWindowLongA(d.C(L::btnOk), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "OK is the default button");
    CheckEq(Items(ItemsOf(d.C(L::cbbCursorPos), true)), Items(L::kCursorPosItems), "cursor positions listed");
    CheckEq(Items(ItemsOf(d.C(L::cbbTcVersion), true)), Items(L::kTcVersionItems), "versions listed");
    CheckEq(Items(ItemsOf(d.C(L::cbbSendInput), true)), Items(L::kSendInputItems), "keys listed");
    CheckEq(Items(ItemsOf(d.C(L::cbbInitPathType), true)), Items(L::kInitPathTypeItems), "path forms listed");
}

// A start without an ini file: the construction values, the three pages,
// their places, Ctrl+Tab, and Escape storing nothing.
void CaseFresh() {
    g_case = "config/fresh";
    Session s;
    Dialog d;
    if (!s.Open() || !OpenDialog(s, d)) return;
    Check(Poll([&] { return !IsWindowEnabled(s.main); }, 3000), "the main window waits while the dialog is open");
    CheckDialogControls(d);
    CheckEq(d.Page(), 0, "page 常规 first");
    Check(d.Checked(L::rbCmEnter) && !d.Checked(L::rbCmCtrlEnter), "Enter confirms (ConfirmMode 0)");
    Check(!d.Checked(L::chkInitBySelect) && !d.Enabled(L::cbbInitPathType) && !d.Enabled(L::chkAutoSizeOnInit) &&
              !d.Enabled(L::chkNoExtOnlyDir),
          "InitBySelect off disables");
    CheckEq(d.Sel(L::cbbTcVersion), 1, "TcColSep 0 shows 低于8.0");
    CheckEq(d.Sel(L::cbbInitPathType), 0, "InitPathType 0");
    CheckEq(TextOf(d.C(L::edtOpenMax)), "1", "OpenMax 0 shows 1");
    std::string off;
    for (const LayoutItem* c : {&L::grpAutoOpen, &L::lblAutoOpen, &L::lblOpenMax, &L::edtOpenMax, &L::udOpenMax,
                                &L::rbOmSendInput, &L::cbbSendInput, &L::rbOmWinDef})
        if (d.Enabled(*c)) off += std::string(" ") + c->Name;
    Check(off.empty(), "AutoOpen off disables the group", "enabled:" + off);
    Check(Screenshot(BuildFile("config-page1.png")), "screenshot of page 常规");
    // What OK reads from the up-down control after typing into its box: a
    // number within 1 to 31, or else the position it held before.
    const struct {
        const char* typed;
        long pos;
    } typed[] = {{"0", 1}, {"32", 1}, {"-1", 1}, {"ab", 1}, {"  ", 1}, {"", 1}, {"7", 7}, {"0", 7}, {"31", 31}};
    std::string got, want;
    for (const auto& t : typed) {
        SendMessageA(d.C(L::edtOpenMax), WM_SETTEXT, 0, (LPARAM)t.typed);
        got += std::to_string((long)SendMessageA(d.C(L::udOpenMax), UDM_GETPOS32, 0, 0)) + " ";
        want += std::to_string(t.pos) + " ";
    }
    CheckEq(got, want, "the file count keeps its position for 0, 32, -1, ab, blanks");

    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 1; }, 3000);
    CheckEq(d.Page(), 1, "Ctrl+Tab shows page 文件处理");
    Check(IsWindowVisible(d.C(L::edtTemplatePath)) && !IsWindowVisible(d.C(L::rbCmEnter)),
          "only that page's controls show");
    HWND f = d.Focus();
    Check(f && IsWindowVisible(f), "the focus moves onto the page shown", f ? ClassOf(f) : "none");
    Check(Screenshot(BuildFile("config-page2.png")), "screenshot of page 文件处理");
    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 2; }, 3000);
    CheckEq(d.Page(), 2, "Ctrl+Tab shows page 命名工具");
    Check(Screenshot(BuildFile("config-page3.png")), "screenshot of page 命名工具");
    Chord({VK_CONTROL, VK_TAB});
    Poll([&] { return d.Page() == 0; }, 3000);
    CheckEq(d.Page(), 0, "Ctrl+Tab wraps to 常规");
    Chord({VK_CONTROL, VK_SHIFT, VK_TAB});
    Poll([&] { return d.Page() == 2; }, 3000);
    CheckEq(d.Page(), 2, "Ctrl+Shift+Tab goes back");

    Chord({VK_MENU, 'C'});  // the frame's caption: its edit box, not a hidden page's "&C"
    Poll([&] { return d.Focus() == d.F(L::frmCommonUse, L::frmEditBox); }, 3000);
    Check(d.Focus() == d.F(L::frmCommonUse, L::frmEditBox), "Alt+C focuses the phrases' edit box");
    CheckEq(d.Page(), 2, "and stays on the page");
    Chord({VK_ESCAPE});
    Check(DialogGone(s), "Escape closes the dialog");
    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(s, ini)) return;
    // OK would have stored 1 and 32.
    CheckEq(Value(ini, "AfterCreate", "OpenMax") + " " + Value(ini, "AfterCreate", "TcColSep"), "0 0",
            "Escape stores nothing");
}

const char* const kTypicalIni =
    "[FileList]\r\nConfirmMode=0\r\nInitBySelect=1\r\nAutoSizeOnInit=1\r\nInitPathType=0\r\nCursorQuickMove=0\r\n"
    "NoExtOnlyDir=1\r\n[AfterCreate]\r\nAutoOpen=1\r\nOpenMax=16\r\nOpenMethod=0\r\nKeyType=0\r\nCursorPos=0\r\n"
    "TcColSep=9\r\n[Window]\r\nSavePos=0\r\nSaveSize=0\r\n[Naming]\r\nSeparator=| |.|-\r\nWrapper=(*)|[*]\r\n"
    "CommonUse=tester\r\nTimeFormat=yyyymmdd\r\n";

// Sets the text box to `line`, walks the naming menu from Alt+N with
// `keys`, and answers the line as the chosen entry left it.
std::string Named(Session& s, const std::string& line, const std::vector<WORD>& keys) {
    s.SetLines(line);
    s.Apply(keys, "naming menu on " + line);
    return s.Text();
}

// 前缀(&P), 常用语(&C), the second phrase, its fourth entry: the separator -.
const std::vector<WORD> kSecondPhraseDash = {'P', 'C', VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};

// A typical ini file: the opening state, then every option changed by keys,
// the template directory refused, a refused character, and OK by Enter.
void CaseEdit() {
    g_case = "config/edit";
    Session s;
    std::string tpl = s.run.dir + "tpl2";
    CreateDirectoryA(tpl.c_str(), nullptr);
    Dialog d;
    if (!s.Open(kTypicalIni)) return;
    // Built once before the dialog, so that only OK can make the menu show the added phrase.
    CheckEq(Named(s, "x.txt", {'P', 'C', VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}), "tester-x.txt",
            "the naming menu offers the stored phrase");
    if (!OpenDialog(s, d)) return;
    Check(d.Checked(L::rbCmEnter) && d.Checked(L::chkInitBySelect) && d.Checked(L::chkAutoSizeOnInit) &&
              d.Checked(L::chkNoExtOnlyDir) && !d.Checked(L::chkCursorQuickMove),
          "check boxes show the record");
    Check(d.Enabled(L::cbbInitPathType) && d.Enabled(L::chkAutoSizeOnInit) && d.Enabled(L::cbbSendInput),
          "InitBySelect and the send-keys method enable");
    CheckEq(d.Sel(L::cbbTcVersion), 0, "TcColSep 9 shows 8.0以上");
    CheckEq(TextOf(d.C(L::edtOpenMax)), "16", "OpenMax");
    CheckEq(TextOf(d.C(L::edtTemplatePath)), s.run.dir + "Templates\\", "template path in its effective form");
    std::vector<std::string> sep = ItemsOf(d.F(L::frmSeparator, L::frmListBox));
    CheckEq(sep.size() == 2 ? sep[0] + sep[1] : "", ".-", "separators without the fixed entries");
    CheckEq((long)SendMessageA(d.C(L::lstWrapper), LVM_GETITEMCOUNT, 0, 0), 2, "two wrapper rows");

    // Page 常规, then 文件处理: the accelerators of the hidden pages do not act.
    Walk({
        {VK_MENU, 'C', 1, [&] { return d.Checked(L::rbCmCtrlEnter) && !d.Checked(L::rbCmEnter); },
         "Alt+C chooses Ctrl+Enter"},
        {VK_MENU, 'Z', 1, [&] { return !d.Checked(L::chkAutoSizeOnInit); }, "Alt+Z clears AutoSizeOnInit"},
        {VK_MENU, 'Q', 1, [&] { return d.Checked(L::chkCursorQuickMove); }, "Alt+Q sets CursorQuickMove"},
        {VK_MENU, 'P', 1, [&] { return d.Checked(L::chkSavePos); }, "Alt+P sets SavePos"},
        {0, VK_TAB, 1, [&] { return d.Focus() == d.C(L::chkSaveSize); }, "Tab goes on to SaveSize"},
        {0, VK_SPACE, 1, [&] { return d.Checked(L::chkSaveSize); }, "space checks it"},
        {VK_MENU, 'V', 1, [&] { return d.Focus() == d.C(L::cbbTcVersion); }, "Alt+V focuses the version list"},
        {0, VK_DOWN, 1, [&] { return d.Sel(L::cbbTcVersion) == 1; }, "Down picks 低于8.0"},
        // The group box's "&I" first, then the check box's.
        {VK_MENU, 'I', 2,
         [&] {
             return !d.Checked(L::chkInitBySelect) && !d.Enabled(L::chkNoExtOnlyDir) && !d.Checked(L::chkNoExtOnlyDir);
         },
         "Alt+I clears InitBySelect"},
        {VK_MENU, 'I', 2,
         [&] { return d.Checked(L::chkInitBySelect) && d.Enabled(L::chkNoExtOnlyDir) && !d.Checked(L::chkNoExtOnlyDir); },
         "and again sets it, NoExt stays off"},
        {VK_MENU, 'N', 1, [&] { return d.Checked(L::chkNoExtOnlyDir); }, "Alt+N sets NoExtOnlyDir"},

        {VK_CONTROL, VK_TAB, 1, [&] { return d.Page() == 1; }, "Ctrl+Tab to 文件处理"},
        {VK_MENU, 'M', 1, [&] { return d.Focus() == d.C(L::edtOpenMax); }, "Alt+M focuses the file count"},
        {0, '5', 1, [&] { return TextOf(d.C(L::edtOpenMax)) == "5"; }, "typed 5"},
        {VK_MENU, 'W', 1, [&] { return d.Checked(L::rbOmWinDef) && !d.Enabled(L::cbbSendInput); },
         "Alt+W: the shell opens, no keys to send"},
        {VK_MENU, 'O', 1,
         [&] {
             return !d.Checked(L::chkAutoOpen) && !d.Enabled(L::rbOmWinDef) && !d.Enabled(L::edtOpenMax) &&
                    !d.Enabled(L::grpAutoOpen);
         },
         "Alt+O clears AutoOpen and disables the group"},
        {VK_MENU, 'O', 1,
         [&] { return d.Checked(L::chkAutoOpen) && d.Enabled(L::rbOmWinDef) && !d.Enabled(L::cbbSendInput); },
         "and again enables it, the key list only with its method"},
        {VK_MENU, 'S', 1, [&] { return d.Checked(L::rbOmSendInput) && d.Enabled(L::cbbSendInput); },
         "Alt+S chooses sending keys (not a hidden page's &S)"},
        {0, 0, 0, [&] { return d.Page() == 1; }, "still on 文件处理"},
        {VK_MENU, 'W', 1, [&] { return d.Checked(L::rbOmWinDef); }, "Alt+W back to the shell"},
        {VK_MENU, 'C', 1, [&] { return d.Focus() == d.C(L::cbbCursorPos); }, "Alt+C focuses the cursor position list"},
        {0, VK_DOWN, 1, [&] { return d.Sel(L::cbbCursorPos) == 1; }, "Down picks the last item in the panel"},
    });

    // A missing template directory: the message, the page, the focus.
    Chord({VK_MENU, 'T'});
    Until([&] { return d.Focus() == d.C(L::edtTemplatePath); }, "Alt+T focuses the template path");
    SendMessageA(d.C(L::edtTemplatePath), WM_SETTEXT, 0, (LPARAM)(s.run.dir + "no such folder").c_str());
    Chord({VK_CONTROL, VK_TAB});
    Chord({VK_RETURN});
    HWND box = s.WaitBox(5000);
    if (Check(box != nullptr, "OK with a missing template directory shows a message")) {
        Poll([&] { return !TextOf(GetDlgItem(box, 0xFFFF)).empty(); }, 3000);
        Box b = ReadBox(box);
        CheckEq(b.text, "模板目录不存在。", "message text");
        CheckEq(b.title, "Korvalin 设置", "message title");
        Check(GetWindow(box, GW_OWNER) == d.dlg, "the dialog owns it");
        Press(box, IDOK);
        Poll([&] { return !IsWindow(box); }, 5000);
        Until([&] { return d.Page() == 1 && d.Focus() == d.C(L::edtTemplatePath); }, "page 文件处理, focus on the path");
        Check(IsWindowVisible(d.dlg), "the dialog stays open");
    }
    SendMessageA(d.C(L::edtTemplatePath), WM_SETTEXT, 0, (LPARAM)tpl.c_str());

    // Page 命名工具.
    Chord({VK_CONTROL, VK_TAB});
    Until([&] { return d.Page() == 2; }, "Ctrl+Tab to 命名工具");
    Chord({VK_MENU, 'C'});
    Until([&] { return d.Focus() == d.F(L::frmCommonUse, L::frmEditBox); }, "Alt+C focuses the phrases' edit box");
    // The page switch may have put the focus there already: the keys go
    // through the queue, behind Alt+C.
    TypeQueued("phrase");
    Until([&] { return TextOf(d.F(L::frmCommonUse, L::frmEditBox)) == "phrase"; }, "typed into the phrases' edit box");
    Until([&] { return IsWindowEnabled(d.F(L::frmCommonUse, L::frmBtnAdd)); }, "+ enabled by typing");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return ItemsOf(d.F(L::frmCommonUse, L::frmListBox)).size() == 2; }, "+ adds the phrase");
    Chord({VK_MENU, 'T'});
    Until([&] { return d.Focus() == d.F(L::frmTimeFormat, L::frmEditBox); }, "Alt+T focuses the date patterns' edit box");
    TypeQueued("a/b");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    box = s.WaitBox(5000);
    if (Check(box != nullptr, "a refused character shows a message")) {
        Poll([&] { return !TextOf(GetDlgItem(box, 0xFFFF)).empty(); }, 3000);
        Box b = ReadBox(box);
        CheckEq(b.text, kRefused, "message text");
        CheckEq(b.title, TextOf(s.main), "titled as the application");
        Check(GetWindow(box, GW_OWNER) == nullptr, "no owner");
        Press(box, IDOK);
        Poll([&] { return !IsWindow(box); }, 5000);
        CheckEq((long)ItemsOf(d.F(L::frmTimeFormat, L::frmListBox)).size(), 1, "nothing added");
    }
    Chord({VK_MENU, 'W'});
    Until([&] { return d.Focus() == d.C(L::edtWrapper1); }, "Alt+W focuses the wrapper's first half");
    Check(!IsWindowEnabled(d.C(L::btnWrapperAdd)), "the wrapper's + starts disabled");
    PutText("【");
    Until([&] { return IsWindowEnabled(d.C(L::btnWrapperAdd)) != FALSE; }, "typing a half enables +");
    Chord({VK_TAB});
    PutText("】");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return SendMessageA(d.C(L::lstWrapper), LVM_GETITEMCOUNT, 0, 0) == 3; }, "+ adds the wrapper pair");
    Check(Screenshot(BuildFile("config-page3-filled.png")), "screenshot of page 命名工具 with entries");
    // Into the list, the first row selected, "-" deletes it and stays usable.
    Chord({VK_TAB});
    Chord({VK_HOME});
    Until([&] { return IsWindowEnabled(d.C(L::btnWrapperDel)) != FALSE; }, "selecting a row enables -");
    Chord({VK_TAB});
    Chord({VK_SPACE});
    Until([&] { return SendMessageA(d.C(L::lstWrapper), LVM_GETITEMCOUNT, 0, 0) == 2; }, "- deletes the row");
    Check(IsWindowEnabled(d.C(L::btnWrapperDel)) != FALSE, "- stays enabled");
    // Enter in an edit box presses OK; it does not add the entry.
    Chord({VK_MENU, 'S'});
    Until([&] { return d.Focus() == d.F(L::frmSeparator, L::frmEditBox); }, "Alt+S focuses the separators' edit box");
    TypeQueued("~");
    Chord({VK_RETURN});
    Check(DialogGone(s), "Enter presses OK");
    Until([&] { return IsWindowEnabled(s.main) != FALSE; }, "the main window is usable again");
    CheckEq(Named(s, "x.txt", kSecondPhraseDash), "phrase-x.txt",
            "the added phrase is in the naming menu at once");

    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(s, ini)) return;
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
    s.run.ExitCode(code);
    DeleteFileA(s.run.log.c_str());
    Session again(s.run.demo, s.run.exe, s.run.log);
    if (!again.Open() || !OpenDialog(again, d)) return;
    std::vector<std::string> phrases = ItemsOf(d.F(L::frmCommonUse, L::frmListBox));
    CheckEq(phrases.size() == 2 ? phrases[1] : "", "phrase", "the added phrase is there after a restart");
    CheckEq((long)SendMessageA(d.C(L::lstWrapper), LVM_GETITEMCOUNT, 0, 0), 2, "and the wrapper pairs");
    CheckEq(TextOf(d.C(L::edtOpenMax)), "5", "and the file count");
    PostMessageA(d.C(L::btnCancel), BM_CLICK, 0, 0);
    Check(DialogGone(again), "Cancel closes the dialog");
    CheckEq(Named(again, "x.txt", kSecondPhraseDash), "phrase-x.txt", "and in the naming menu");
    CloseAndReadIni(again, ini);
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
        Session s;
        std::string text = kTypicalIni;
        if (r.how == 2) text.replace(text.find("ConfirmMode=0"), 13, "ConfirmMode=1");
        Dialog d;
        if (!s.Open(text) || !OpenDialog(s, d)) continue;
        if (r.how == 2) {
            Chord({VK_RETURN});
            Check(DialogGone(s), "Enter presses OK");
            std::vector<IniEntry> ini;
            if (!CloseAndReadIni(s, ini)) continue;
            CheckEq(Value(ini, "FileList", "ConfirmMode") + Value(ini, "AfterCreate", "OpenMax") +
                        Value(ini, "Naming", "Separator") + Value(ini, "Naming", "Wrapper"),
                    "116| |.|-(*)|[*]", "the shown values stored");
            continue;
        }
        Chord({VK_MENU, 'P'});
        Until([&] { return d.Checked(L::chkSavePos); }, "Alt+P sets SavePos");
        if (r.how == 0) {
            SetForegroundWindow(d.dlg);
            PostMessageA(d.C(L::btnCancel), BM_CLICK, 0, 0);
        } else {
            PostMessageA(d.dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Check(DialogGone(s), "the dialog closes");
        std::vector<IniEntry> ini;
        if (!CloseAndReadIni(s, ini)) continue;
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

// The settings dialog under Wine, driven as a user would: Alt+S in the main
// window opens it; accelerators, Tab, Ctrl+Tab, space and Enter act on it;
// the ini file written when the main window closes shows what was stored.
// Each control's place, class and caption are checked against the layout
// the dialog is built from (ConfigLayout.h), as Windows reports them.
#include "kvdriver.h"
#include "kvdialog.h"

#include <map>

namespace kv {
namespace {

using namespace layout;

// The controls of a list-editor frame, with what the dialog changes in them.
struct FrameControl {
    const LayoutItem& item;
    int height;
};
const FrameControl kFrame[] = {
    {frmLabel, kConfigFrameLabelHeight}, {frmEditBox, kConfigFrameEditHeight},
    {frmBtnAdd, frmBtnAdd.Height}, {frmListBox, frmListBox.Height}, {frmBtnDel, frmBtnDel.Height},
};

// The window class Windows reports for each kind of control.
std::string ClassFor(plat::Kind kind) {
    using K = plat::Kind;
    const std::pair<K, const char*> classes[] = {
        {K::Label, "Static"}, {K::Edit, "Edit"}, {K::Button, "Button"}, {K::CheckBox, "Button"},
        {K::RadioButton, "Button"}, {K::GroupBox, "Button"}, {K::ComboBox, "ComboBox"}, {K::ListBox, "ListBox"},
        {K::ListView, "SysListView32"}, {K::UpDown, "msctls_updown32"}, {K::PageControl, "SysTabControl32"},
        {K::Panel, "TKorvalinPanel"},
    };
    for (const auto& c : classes)
        if (c.first == kind) return c.second;
    return "(no control)";
}

// Edit boxes and lists show what the record holds, not a caption.
bool HasCaption(plat::Kind kind) {
    return ClassFor(kind) == "Button" || kind == plat::Kind::Label;
}

template <size_t N>
std::string Listed(const char* const (&items)[N]) {
    return Join({items, items + N}, ",");
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
    long Page() const { return (long)SendMessageA(C(pgcOptions), TCM_GETCURSEL, 0, 0); }
    long Wrappers() const { return (long)SendMessageA(C(lstWrapper), LVM_GETITEMCOUNT, 0, 0); }
    HWND Focus() const { return FocusOf(dlg); }
    bool Focused(HWND c) const { return c && Focus() == c; }
    bool Focused(const LayoutItem& c) const { return Focused(C(c)); }
    bool Focused(const LayoutItem& frame, const LayoutItem& c) const { return Focused(F(frame, c)); }
};

bool CloseAndReadIni(Session& s, std::vector<IniEntry>& ini) {
    if (!Check(s.Close(), "Escape closes the main window")) return false;
    std::string text;
    if (!Check(ReadAll(s.run.ini, text), "ini file written")) return false;
    ini = ParseIni(text);
    return true;
}

bool Until(const std::function<bool()>& done, const std::string& what) {
    return Check(Poll(done, 3000), what);
}

const int kAlt = 0x100, kCtrl = 0x200, kCtrlShift = 0x400;

// A key with its modifiers in one code (kAlt | 'S' is Alt+S), or a text
// typed (or pasted) into whatever has the focus.
struct Key {
    Key(int code) : code(code) {}
    Key(const char* text) : text(text) {}
    int code = 0;
    const char* text = nullptr;
};

// One thing a user does in the dialog, key by key, and what the dialog
// shows then, awaited (a step without `what` checks nothing).
struct Step {
    std::vector<Key> keys;
    const char* what = nullptr;
    std::function<bool()> shows = nullptr;
};

void Walk(const std::vector<Step>& steps) {
    for (const Step& st : steps) {
        for (const Key& k : st.keys) {
            const WORD vk = k.code & 0xFF;
            if (k.text) PutText(k.text);
            else if (k.code & kAlt) Chord({VK_MENU, vk});
            else if (k.code & kCtrl) Chord({VK_CONTROL, vk});
            else if (k.code & kCtrlShift) Chord({VK_CONTROL, VK_SHIFT, vk});
            else Chord({vk});
        }
        if (st.what) Until(st.shows, st.what);
    }
}

// Waits for a message box, checks its text, title and owner, and answers
// it with OK; false when none came.
bool AnswerBox(Session& s, const std::string& what, const std::string& text, const std::string& title,
               HWND owner) {
    HWND box = s.WaitBox(5000);
    if (!Check(box != nullptr, what)) return false;
    Poll([&] { return !TextOf(GetDlgItem(box, 0xFFFF)).empty(); }, 3000);
    Box b = ReadBox(box);
    CheckEq(b.text, text, "message text");
    CheckEq(b.title, title, "message title");
    Check(GetWindow(box, GW_OWNER) == owner, owner ? "the dialog owns it" : "no owner");
    Press(box, IDOK);
    Poll([&] { return !IsWindow(box); }, 5000);
    return true;
}

void CheckDialogControls(const Dialog& d) {
    std::string bad;
    // A control's class, place and (unless null) caption; a closed drop-down
    // list is as high as its font makes it.
    auto look = [&](const std::string& name, HWND c, plat::Kind kind, const RECT& want, const char* caption) {
        RECT got = BoundsIn(d.dlg, c);
        if (kind == plat::Kind::ComboBox) got.bottom = got.top + (want.bottom - want.top);
        std::string seen = (c ? ClassOf(c) : "(missing)") + " " + R(got) + (caption ? " " + Show(TextOf(c)) : "");
        std::string meant = ClassFor(kind) + " " + R(want) + (caption ? " " + Show(caption) : "");
        if (seen != meant) bad += " " + name + " is " + seen + ", want " + meant + ";";
    };
    // Where each container's client area lies in the dialog's: a page's
    // where the tab control puts it, the others' at their place in theirs
    // (the table lists a container before what it holds).
    std::map<const LayoutItem*, POINT> origin = {{nullptr, {0, 0}}};
    for (const Placed& p : kDialogControls) {
        const LayoutItem& e = p.item;
        if (p.in && p.in->Kind == plat::Kind::Page) {
            RECT r = BoundsIn(d.dlg, d.C(*p.in));
            origin[p.in] = {r.left, r.top};
        }
        const POINT o = origin[&e] = {origin[p.in].x + e.Left, origin[p.in].y + e.Top};
        look(e.Name, d.C(e), e.Kind, Rc(o.x, o.y, e.Width, e.Height), HasCaption(e.Kind) ? e.Caption : nullptr);
    }
    for (const LayoutItem* frame : {&frmCommonUse, &frmTimeFormat, &frmSeparator})
        for (const FrameControl& e : kFrame)
            look(std::string(frame->Name) + "/" + e.item.Name, d.F(*frame, e.item), e.item.Kind,
                 Rc(origin[frame].x + e.item.Left, origin[frame].y + e.item.Top, e.item.Width, e.height), nullptr);
    Check(bad.empty(), "every control has its class, caption and place", bad);
    CheckEq(TextOf(d.F(frmCommonUse, frmLabel)) + TextOf(d.F(frmTimeFormat, frmLabel)) +
                TextOf(d.F(frmSeparator, frmLabel)),
            std::string(kCommonUseCaption) + kTimeFormatCaption + kSeparatorCaption, "frame captions");
    RECT client = {};
    GetClientRect(d.dlg, &client);
    CheckEq(R(client), R(Rc(0, 0, kConfigClientWidth, kConfigClientHeight)), "client area");
    LONG style = GetWindowLongA(d.dlg, GWL_STYLE);
    Check((style & WS_CAPTION) == WS_CAPTION && !(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)),
          "fixed dialog border", "style " + std::to_string(style));
    RECT r = Bounds(d.dlg);
    int cx = (ScreenW() - (r.right - r.left)) / 2, cy = (ScreenH() - (r.bottom - r.top)) / 2;
    Check(std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1, "centred", R(r));
    CheckEq(TextOf(d.dlg), fomConfig.Caption, "caption");
    Check((GetWindowLongA(d.C(btnOk), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, "OK is the default button");
    CheckEq(Join(ItemsOf(d.C(cbbCursorPos), true), ","), Listed(kCursorPosItems), "cursor positions listed");
    CheckEq(Join(ItemsOf(d.C(cbbTcVersion), true), ","), Listed(kTcVersionItems), "versions listed");
    CheckEq(Join(ItemsOf(d.C(cbbSendInput), true), ","), Listed(kSendInputItems), "keys listed");
    CheckEq(Join(ItemsOf(d.C(cbbInitPathType), true), ","), Listed(kInitPathTypeItems), "path forms listed");
}

// A start without an ini file: the construction values, the three pages,
// their places, Ctrl+Tab, and Escape storing nothing.
void CaseFresh() {
    g_case = "config/fresh";
    Session s;
    Dialog d;
    if (!s.Open() || !(d.dlg = OpenSettings(s))) return;
    Check(Poll([&] { return !IsWindowEnabled(s.main); }, 3000), "the main window waits while the dialog is open");
    CheckDialogControls(d);
    Check(d.Checked(rbCmEnter) && !d.Checked(rbCmCtrlEnter), "Enter confirms (ConfirmMode 0)");
    Check(!d.Checked(chkInitBySelect) && !d.Enabled(cbbInitPathType) && !d.Enabled(chkAutoSizeOnInit) &&
              !d.Enabled(chkNoExtOnlyDir),
          "InitBySelect off disables");
    std::string on;
    for (const LayoutItem* c : {&grpAutoOpen, &lblAutoOpen, &lblOpenMax, &edtOpenMax, &udOpenMax, &rbOmSendInput,
                                &cbbSendInput, &rbOmWinDef})
        if (d.Enabled(*c)) on += std::string(" ") + c->Name;
    Check(on.empty(), "AutoOpen off disables the group", "enabled:" + on);
    Check(Screenshot(BuildFile("config-page1.png")), "screenshot of page 常规");

    Walk({
        {{kCtrl | VK_TAB}, "Ctrl+Tab shows page 文件处理", [&] { return d.Page() == 1; }},
        {{}, "only that page's controls show",
         [&] { return IsWindowVisible(d.C(edtTemplatePath)) && !IsWindowVisible(d.C(rbCmEnter)); }},
        {{}, "the focus moves onto the page shown", [&] { return IsWindowVisible(d.Focus()) != FALSE; }},
        {{}, "screenshot of page 文件处理", [] { return Screenshot(BuildFile("config-page2.png")); }},
        {{kCtrl | VK_TAB}, "Ctrl+Tab shows page 命名工具", [&] { return d.Page() == 2; }},
        {{}, "screenshot of page 命名工具", [] { return Screenshot(BuildFile("config-page3.png")); }},
        {{kCtrl | VK_TAB}, "Ctrl+Tab wraps to 常规", [&] { return d.Page() == 0; }},
        {{kCtrlShift | VK_TAB}, "Ctrl+Shift+Tab goes back", [&] { return d.Page() == 2; }},
        // The frame's caption: its edit box, not a hidden page's "&C".
        {{kAlt | 'C'}, "Alt+C focuses the phrases' edit box", [&] { return d.Focused(frmCommonUse, frmEditBox); }},
        {{}, "and stays on the page", [&] { return d.Page() == 2; }},
        {{VK_ESCAPE}, "Escape closes the dialog", [&] { return SettingsClosed(s); }},
    });
    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(s, ini)) return;
    // OK would have stored 1 and 32.
    CheckEq(IniValueOf(ini, "AfterCreate", "OpenMax") + " " + IniValueOf(ini, "AfterCreate", "TcColSep"), "0 0",
            "Escape stores nothing");
}

const char* const kTypicalIni =
    "[FileList]\r\nConfirmMode=0\r\nInitBySelect=1\r\nAutoSizeOnInit=1\r\nInitPathType=1\r\nCursorQuickMove=0\r\n"
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

// A typical ini file: every option changed by keys, the template directory
// refused, a refused character, and OK by Enter.
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
    if (!(d.dlg = OpenSettings(s))) return;
    CheckEq(TextOf(d.C(edtTemplatePath)), s.run.dir + "Templates\\", "template path in its effective form");

    // Page 常规, then 文件处理: the accelerators of the hidden pages do not act.
    Walk({
        {{kAlt | 'C'}, "Alt+C chooses Ctrl+Enter", [&] { return d.Checked(rbCmCtrlEnter) && !d.Checked(rbCmEnter); }},
        {{kAlt | 'Q'}, "Alt+Q sets CursorQuickMove", [&] { return d.Checked(chkCursorQuickMove); }},
        {{kAlt | 'P'}, "Alt+P sets SavePos", [&] { return d.Checked(chkSavePos); }},
        {{VK_TAB}, "Tab goes on to SaveSize", [&] { return d.Focused(chkSaveSize); }},
        {{VK_SPACE}, "space checks it", [&] { return d.Checked(chkSaveSize); }},
        {{kAlt | 'V'}, "Alt+V focuses the version list", [&] { return d.Focused(cbbTcVersion); }},
        {{VK_DOWN}, "Down picks 低于8.0", [&] { return d.Sel(cbbTcVersion) == 1; }},
        // The group box's "&I" first, then the check box's. Both flags
        // below it are set in the file, and the path form keeps its choice.
        {{kAlt | 'I', kAlt | 'I'}, "Alt+I clears InitBySelect and the two flags",
         [&] { return !d.Checked(chkInitBySelect) && !d.Enabled(chkNoExtOnlyDir) && !d.Checked(chkNoExtOnlyDir) &&
                      !d.Checked(chkAutoSizeOnInit); }},
        {{kAlt | 'I', kAlt | 'I'}, "and again sets it, the flags stay off",
         [&] { return d.Checked(chkInitBySelect) && d.Enabled(chkNoExtOnlyDir) && !d.Checked(chkNoExtOnlyDir) &&
                      !d.Checked(chkAutoSizeOnInit); }},
        {{kAlt | 'Z'}, "Alt+Z sets AutoSizeOnInit", [&] { return d.Checked(chkAutoSizeOnInit); }},
        {{kAlt | 'N'}, "Alt+N sets NoExtOnlyDir", [&] { return d.Checked(chkNoExtOnlyDir); }},
        {{kAlt | 'I', kAlt | 'I'}, "Alt+I clears all three again",
         [&] { return !d.Checked(chkInitBySelect) && !d.Checked(chkNoExtOnlyDir) && !d.Checked(chkAutoSizeOnInit); }},

        {{kCtrl | VK_TAB}, "Ctrl+Tab to 文件处理", [&] { return d.Page() == 1; }},
        {{kAlt | 'M'}, "Alt+M focuses the file count", [&] { return d.Focused(edtOpenMax); }},
        {{'5'}, "typed 5", [&] { return TextOf(d.C(edtOpenMax)) == "5"; }},
        {{kAlt | 'W'}, "Alt+W: the shell opens, no keys to send",
         [&] { return d.Checked(rbOmWinDef) && !d.Enabled(cbbSendInput); }},
        {{kAlt | 'O'}, "Alt+O clears AutoOpen and disables the group",
         [&] {
             return !d.Checked(chkAutoOpen) && !d.Enabled(rbOmWinDef) && !d.Enabled(edtOpenMax) &&
                    !d.Enabled(grpAutoOpen);
         }},
        {{kAlt | 'O'}, "and again enables it, the key list only with its method",
         [&] { return d.Checked(chkAutoOpen) && d.Enabled(rbOmWinDef) && !d.Enabled(cbbSendInput); }},
        {{kAlt | 'S'}, "Alt+S chooses sending keys (not a hidden page's &S)",
         [&] { return d.Checked(rbOmSendInput) && d.Enabled(cbbSendInput); }},
        {{}, "still on 文件处理", [&] { return d.Page() == 1; }},
        {{kAlt | 'W'}, "Alt+W back to the shell", [&] { return d.Checked(rbOmWinDef); }},
        {{kAlt | 'C'}, "Alt+C focuses the cursor position list", [&] { return d.Focused(cbbCursorPos); }},
        {{VK_DOWN}, "Down picks the last item in the panel", [&] { return d.Sel(cbbCursorPos) == 1; }},
        {{kAlt | 'O'}, "Alt+O clears AutoOpen for good", [&] { return !d.Checked(chkAutoOpen); }},
        // A missing template directory: the message, the page, the focus.
        {{kAlt | 'T'}, "Alt+T focuses the template path", [&] { return d.Focused(edtTemplatePath); }},
    });
    SendMessageA(d.C(edtTemplatePath), WM_SETTEXT, 0, (LPARAM)(s.run.dir + "no such folder").c_str());
    Walk({{{kCtrl | VK_TAB, VK_RETURN}}});
    if (AnswerBox(s, "OK with a missing template directory shows a message", "模板目录不存在。", "Korvalin 设置",
                  d.dlg)) {
        Until([&] { return d.Page() == 1 && d.Focused(edtTemplatePath); }, "page 文件处理, focus on the path");
        Check(IsWindowVisible(d.dlg), "the dialog stays open");
    }
    SendMessageA(d.C(edtTemplatePath), WM_SETTEXT, 0, (LPARAM)tpl.c_str());

    // Page 命名工具. The page switch may have put the focus into the phrases'
    // edit box already: the text goes through the queue, behind Alt+C.
    Walk({
        {{kCtrl | VK_TAB}, "Ctrl+Tab to 命名工具", [&] { return d.Page() == 2; }},
        {{kAlt | 'C'}, "Alt+C focuses the phrases' edit box", [&] { return d.Focused(frmCommonUse, frmEditBox); }},
        {{"phrase"}, "typed into the phrases' edit box",
         [&] { return TextOf(d.F(frmCommonUse, frmEditBox)) == "phrase"; }},
        {{}, "+ enabled by typing", [&] { return IsWindowEnabled(d.F(frmCommonUse, frmBtnAdd)) != FALSE; }},
        {{VK_TAB, VK_SPACE}, "+ adds the phrase", [&] { return ItemsOf(d.F(frmCommonUse, frmListBox)).size() == 2; }},
        {{kAlt | 'T'}, "Alt+T focuses the date patterns' edit box",
         [&] { return d.Focused(frmTimeFormat, frmEditBox); }},
        {{"a/b", VK_TAB, VK_SPACE}},
    });
    if (AnswerBox(s, "a refused character shows a message", kRefused, TextOf(s.main), nullptr))
        CheckEq(std::to_string(ItemsOf(d.F(frmTimeFormat, frmListBox)).size()) + " " +
                    TextOf(d.F(frmTimeFormat, frmEditBox)),
                "1 a/b", "nothing added, the text kept");
    Walk({
        {{kAlt | 'W'}, "Alt+W focuses the wrapper's first half", [&] { return d.Focused(edtWrapper1); }},
        {{}, "the wrapper's + starts disabled", [&] { return !d.Enabled(btnWrapperAdd); }},
        {{"【"}, "typing a half enables +", [&] { return d.Enabled(btnWrapperAdd); }},
        {{VK_TAB, "】", VK_TAB, VK_SPACE}, "+ adds the wrapper pair", [&] { return d.Wrappers() == 3; }},
        {{}, "screenshot of page 命名工具 with entries", [] { return Screenshot(BuildFile("config-page3-filled.png")); }},
        // Into the list, the first row selected, "-" deletes it and stays usable.
        {{VK_TAB, VK_HOME}, "selecting a row enables -", [&] { return d.Enabled(btnWrapperDel); }},
        {{VK_TAB, VK_SPACE}, "- deletes the row", [&] { return d.Wrappers() == 2; }},
        {{}, "- stays enabled", [&] { return d.Enabled(btnWrapperDel); }},
        // Enter in an edit box presses OK; it does not add the entry.
        {{kAlt | 'S'}, "Alt+S focuses the separators' edit box", [&] { return d.Focused(frmSeparator, frmEditBox); }},
        {{"~", VK_RETURN}, "Enter presses OK", [&] { return SettingsClosed(s); }},
        {{}, "the main window is usable again", [&] { return IsWindowEnabled(s.main) != FALSE; }},
    });
    CheckEq(Named(s, "x.txt", kSecondPhraseDash), "phrase-x.txt", "the added phrase is in the naming menu at once");

    std::vector<IniEntry> ini;
    if (!CloseAndReadIni(s, ini)) return;
    const IniEntry keys[] = {
        {"FileList", "ConfirmMode", "1"}, {"FileList", "InitBySelect", "0"}, {"FileList", "AutoSizeOnInit", "0"},
        {"FileList", "InitPathType", "1"}, {"FileList", "CursorQuickMove", "1"}, {"FileList", "NoExtOnlyDir", "0"},
        {"FileList", "TemplatePath", tpl}, {"AfterCreate", "AutoOpen", "0"}, {"AfterCreate", "OpenMax", "5"},
        {"AfterCreate", "OpenMethod", "1"}, {"AfterCreate", "KeyType", "0"}, {"AfterCreate", "CursorPos", "1"},
        {"AfterCreate", "TcColSep", "32"}, {"Window", "SavePos", "1"}, {"Window", "SaveSize", "1"},
        {"Naming", "Separator", "| |.|-"}, {"Naming", "Wrapper", "[*]|【*】"},
        {"Naming", "CommonUse", "tester|phrase"}, {"Naming", "TimeFormat", "yyyymmdd"},
    };
    std::string bad;
    for (const IniEntry& k : keys)
        if (const std::string v = IniValueOf(ini, k.section, k.key); v != k.value)
            bad += " " + k.key + "=" + Show(v) + " want " + Show(k.value) + ";";
    Check(bad.empty(), "OK stored every option in its key", bad);
}

}  // namespace

void CaseConfigGroup() {
    CaseFresh();
    CaseEdit();
}

}  // namespace kv

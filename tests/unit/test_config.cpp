// The list-editor frame, the file-name character check and the settings
// dialog, on the headless backend: what the user sees when it opens, the
// enabling rules, the editors, and what OK and Cancel leave in the record.
#include <gtest/gtest.h>

#include <memory>

#include "Config.h"
#include "Headless.h"
#include "Main.h"
#include "Utils.h"

using headless::State;
using headless::W;

namespace {

using List = std::vector<std::string>;
const std::string kRefusedMessage = "文件名不能包含下列任何字符:\r\n\\/:*?\"<>|";

// What a user does to a control.
void Type(TControl& c, const std::string& text) { c.SetText(text); }
void Click(TControl& c) {
    headless::Widget* w = W(c.Handle);
    if (w->kind == plat::Kind::CheckBox) w->checked = !w->checked;
    if (w->kind == plat::Kind::RadioButton) plat::SetChecked(c.Handle, true);
    c.FireClick();
}
void Pick(TListBox& list, int index) {
    list.SetItemIndex(index);
    list.FireClick();
}
void Pick(TListView& list, int index) {
    list.Select(index);
    list.FireClick();
}

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        headless::AddDir("C:\\work");
        headless::AddDir("C:\\Korvalin\\Templates");
        plat::SetCurrentDir("C:\\work");
        State().appTitle = "Korvalin - C:\\work\\";
    }
    // A record as a typical ini file leaves it.
    static TIniOptions Typical() {
        TIniOptions o;
        o.ConfirmMode = 1;
        o.InitBySelect = true;
        o.AutoSizeOnInit = true;
        o.NoExtOnlyDir = true;
        o.InitPathType = 1;
        o.TemplatePath = "C:\\Korvalin\\Templates\\";
        o.AutoOpen = true;
        o.OpenMax = 16;
        o.KeyType = 2;
        o.CursorPos = 3;
        o.TcColSep = 9;
        o.SeparatorList = {"", " ", ".", "-"};
        o.CommonUseList = {"tester"};
        o.TimeFormatList = {"yyyymmdd", "yymmdd"};
        o.WrapperList = {{"(", ")"}, {"[", "]"}};
        return o;
    }
};

// ------------------------------------------------------------ CheckFileNameChars

TEST_F(ConfigTest, CheckFileNameCharsRefusesTheNineCharactersByByte) {
    const struct {
        std::string text;
        bool ok;
    } rows[] = {
        {"", true}, {"abc", true}, {" ", true}, {"中文", true}, {"a.b-c_(1)", true},
        {"\\", false}, {"/", false}, {":", false}, {"*", false}, {"?", false},
        {"\"", false}, {"<", false}, {">", false}, {"|", false}, {"a/b", false},
        // Double-byte characters whose second byte is a backslash or a bar.
        {"\x81\x5C", false}, {"\x95\x7C", false},
    };
    for (const auto& r : rows) {
        State().boxes.clear();
        EXPECT_EQ(CheckFileNameChars(r.text), r.ok) << r.text;
        if (r.ok) {
            EXPECT_TRUE(State().boxes.empty()) << r.text;
            continue;
        }
        ASSERT_EQ(State().boxes.size(), 1u) << r.text;
        const auto& b = State().boxes[0];
        EXPECT_EQ(b.text, kRefusedMessage);
        EXPECT_EQ(b.owner, nullptr);
        EXPECT_EQ(b.caption, "Korvalin - C:\\work\\");
        EXPECT_EQ(b.flags, unsigned(plat::MbOk | plat::MbIconStop));
    }
}

// ------------------------------------------------------------ the frame

class FrameTest : public ConfigTest {
protected:
    TPanel host;
    TFrmNaming frame;
    void SetUp() override {
        ConfigTest::SetUp();
        host.Create({plat::Kind::Panel, nullptr, 0, 0, 400, 300, "", 0, 0, ""});
        frame.CreateIn(host.Handle, 10, 20, "frmTest", 250);
    }
};

TEST_F(FrameTest, LayoutAndInitialState) {
    const struct {
        TControl* c;
        plat::Rect r;
        const char* text;
        bool enabled;
    } rows[] = {
        {&frame, {10, 20, 188, 132}, "", true},
        {&frame.label, {16, 8, 136, 13}, "Title:", true},
        {&frame.btnAdd, {160, 24, 21, 21}, "+", false},
        {&frame.btnDel, {160, 48, 21, 21}, "-", false},
        {&frame.editBox, {16, 24, 136, 21}, "", true},
        {&frame.listBox, {16, 48, 136, 80}, "", true},
    };
    for (const auto& r : rows) {
        plat::Rect b = r.c->Bounds();
        EXPECT_EQ(std::vector<int>({b.Left, b.Top, b.Width, b.Height}),
                  std::vector<int>({r.r.Left, r.r.Top, r.r.Width, r.r.Height})) << r.c->Name;
        EXPECT_EQ(r.c->Text(), r.text) << r.c->Name;
        EXPECT_EQ(r.c->Enabled(), r.enabled) << r.c->Name;
    }
    EXPECT_EQ(W(frame.listBox.Handle)->itemHeight, 13);
    // Tab order: the caption right before the edit box, whose accelerator it is.
    List order;
    for (headless::Widget* w : W(frame.Handle)->children) order.push_back(w->owner->Name);
    EXPECT_EQ(order, List({"label", "editBox", "btnAdd", "listBox", "btnDel"}));
}

TEST_F(FrameTest, AddEnablesOnTrimmedTextAndKeepsTheTextUntrimmed) {
    const struct {
        const char* text;
        bool enabled;
    } rows[] = {{"", false}, {"   ", false}, {"\t \r\n", false}, {" a ", true}, {"x", true}};
    for (const auto& r : rows) {
        Type(frame.editBox, r.text);
        EXPECT_EQ(frame.btnAdd.Enabled(), r.enabled) << '"' << r.text << '"';
    }
    Type(frame.editBox, " a ");
    frame.btnAdd.FireClick();
    frame.btnAdd.FireClick();
    EXPECT_EQ(frame.listBox.Items(), List({" a ", " a "}));
    EXPECT_EQ(frame.editBox.Text(), " a ");
    EXPECT_TRUE(frame.btnAdd.Enabled());
    EXPECT_EQ(frame.listBox.ItemIndex(), -1);  // selecting is the user's
}

TEST_F(FrameTest, RefusedCharactersAddNothing) {
    frame.listBox.SetItems({"keep"});
    for (const char* text : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "\x81\x5C"}) {
        State().boxes.clear();
        Type(frame.editBox, text);
        frame.btnAdd.FireClick();
        EXPECT_EQ(frame.listBox.Items(), List({"keep"})) << text;
        ASSERT_EQ(State().boxes.size(), 1u) << text;
        EXPECT_EQ(State().boxes[0].text, kRefusedMessage);
        EXPECT_EQ(frame.editBox.Text(), text);
    }
}

TEST_F(FrameTest, DeleteTakesTheSelectedEntryAndStaysEnabled) {
    frame.listBox.SetItems({"a", "b", "c"});
    frame.btnDel.FireClick();  // nothing selected: nothing happens
    EXPECT_EQ(frame.listBox.Count(), 3);
    Pick(frame.listBox, 1);
    EXPECT_TRUE(frame.btnDel.Enabled());
    frame.btnDel.FireClick();
    EXPECT_EQ(frame.listBox.Items(), List({"a", "c"}));
    EXPECT_EQ(frame.listBox.ItemIndex(), -1);
    EXPECT_TRUE(frame.btnDel.Enabled());
    frame.btnDel.FireClick();
    EXPECT_EQ(frame.listBox.Items(), List({"a", "c"}));
    Pick(frame.listBox, -1);
    EXPECT_FALSE(frame.btnDel.Enabled());
}

// ------------------------------------------------------------ the dialog

class DialogTest : public ConfigTest {
protected:
    TIniOptions options;
    std::unique_ptr<TfomConfig> dlg;
    void Open(const TIniOptions& o) {
        options = o;
        dlg = std::make_unique<TfomConfig>(options, nullptr);
    }
};

TEST_F(DialogTest, WindowAndPages) {
    Open(Typical());
    EXPECT_EQ(dlg->Caption(), "Korvalin 设置");
    EXPECT_EQ(dlg->Bounds().Width, 412);
    EXPECT_EQ(dlg->Bounds().Height, 353);
    EXPECT_TRUE(dlg->CenterOnFirstShow);
    EXPECT_EQ(W(dlg->Handle)->fontFace, "宋体");
    EXPECT_EQ(W(dlg->Handle)->fontHeight, 12);
    EXPECT_TRUE(W(dlg->Handle)->style & plat::StyleDialogFrame);
    EXPECT_EQ(dlg->pgcOptions.PageIndex(), 0);
    EXPECT_EQ(dlg->tsCommon.Text() + dlg->tsAfterCreate.Text() + dlg->tsNaming.Text(), "常规文件处理命名工具");
    EXPECT_TRUE(dlg->tsCommon.Visible());
    EXPECT_FALSE(dlg->tsAfterCreate.Visible());
    EXPECT_TRUE(W(dlg->btnOk.Handle)->style & plat::StyleDefault);
    EXPECT_TRUE(W(dlg->btnCancel.Handle)->style & plat::StyleCancel);
    EXPECT_EQ(dlg->cbbInitPathType.Items(), List({"完整路径", "不含路径"}));
    // The dialog's frames: the caption 12 high, the edit box 20, items 12.
    EXPECT_EQ(dlg->frmTimeFormat.label.Bounds().Height, 12);
    EXPECT_EQ(dlg->frmTimeFormat.editBox.Bounds().Height, 20);
    EXPECT_EQ(W(dlg->frmTimeFormat.listBox.Handle)->itemHeight, 12);
    EXPECT_EQ(dlg->frmCommonUse.label.Text() + dlg->frmTimeFormat.label.Text() + dlg->frmSeparator.label.Text(),
              "常用语(&C):时间格式(&T):分隔符(&S):");
    EXPECT_EQ(W(dlg->lstWrapper.Handle)->columns, std::vector<int>({64, 50}));
    EXPECT_FALSE(dlg->btnWrapperAdd.Enabled() || dlg->btnWrapperDel.Enabled());
}

TEST_F(DialogTest, OpeningShowsTheRecord) {
    Open(Typical());
    EXPECT_FALSE(dlg->rbCmEnter.Checked());
    EXPECT_TRUE(dlg->rbCmCtrlEnter.Checked());
    EXPECT_TRUE(dlg->chkInitBySelect.Checked() && dlg->chkAutoSizeOnInit.Checked() && dlg->chkNoExtOnlyDir.Checked());
    EXPECT_FALSE(dlg->chkCursorQuickMove.Checked() || dlg->chkSavePos.Checked() || dlg->chkSaveSize.Checked());
    EXPECT_EQ(dlg->cbbInitPathType.ItemIndex(), 1);
    EXPECT_EQ(dlg->cbbCursorPos.ItemIndex(), 3);
    EXPECT_EQ(dlg->cbbSendInput.ItemIndex(), 2);
    EXPECT_EQ(dlg->cbbTcVersion.ItemIndex(), 0);
    EXPECT_EQ(dlg->edtTemplatePath.Text(), "C:\\Korvalin\\Templates\\");
    EXPECT_EQ(dlg->edtOpenMax.Text(), "16");
    EXPECT_TRUE(dlg->rbOmSendInput.Checked());
    EXPECT_TRUE(dlg->cbbSendInput.Enabled());
    EXPECT_EQ(dlg->frmCommonUse.listBox.Items(), List({"tester"}));
    EXPECT_EQ(dlg->frmTimeFormat.listBox.Items(), List({"yyyymmdd", "yymmdd"}));
    EXPECT_EQ(dlg->frmSeparator.listBox.Items(), List({".", "-"}));
    ASSERT_EQ(dlg->lstWrapper.Count(), 2);
    EXPECT_EQ(dlg->lstWrapper.Cell(1, 0) + dlg->lstWrapper.Cell(1, 1), "[]");
}

// Out-of-range stored values, and what OK then stores.
TEST_F(DialogTest, StoredValuesOutOfRange) {
    const struct {
        const char* name;
        void (*set)(TIniOptions&);
        int TIniOptions::*field;
        int want;
    } rows[] = {
        {"InitPathType 2", [](TIniOptions& o) { o.InitPathType = 2; }, &TIniOptions::InitPathType, -1},
        {"InitPathType -1", [](TIniOptions& o) { o.InitPathType = -1; }, &TIniOptions::InitPathType, -1},
        {"CursorPos 4", [](TIniOptions& o) { o.CursorPos = 4; }, &TIniOptions::CursorPos, -1},
        {"KeyType 7", [](TIniOptions& o) { o.KeyType = 7; }, &TIniOptions::KeyType, -1},
        {"TcColSep 44", [](TIniOptions& o) { o.TcColSep = 44; }, &TIniOptions::TcColSep, 32},
        {"TcColSep 265", [](TIniOptions& o) { o.TcColSep = 265; }, &TIniOptions::TcColSep, 32},
        {"OpenMethod 5", [](TIniOptions& o) { o.OpenMethod = 5; }, &TIniOptions::OpenMethod, 1},
        {"OpenMax 0", [](TIniOptions& o) { o.OpenMax = 0; }, &TIniOptions::OpenMax, 1},
        {"OpenMax 99", [](TIniOptions& o) { o.OpenMax = 99; }, &TIniOptions::OpenMax, 31},
        {"OpenMax -5", [](TIniOptions& o) { o.OpenMax = -5; }, &TIniOptions::OpenMax, 1},
        {"OpenMax 65537 (16 bits)", [](TIniOptions& o) { o.OpenMax = 65537; }, &TIniOptions::OpenMax, 1},
    };
    for (const auto& r : rows) {
        TIniOptions o = Typical();
        r.set(o);
        Open(o);
        if (r.field == &TIniOptions::TcColSep) {
            EXPECT_EQ(dlg->cbbTcVersion.Item(dlg->cbbTcVersion.ItemIndex()), "低于8.0");
        }
        if (r.field == &TIniOptions::OpenMethod) {
            EXPECT_TRUE(dlg->rbOmWinDef.Checked() && !dlg->rbOmSendInput.Checked());
            EXPECT_FALSE(dlg->cbbSendInput.Enabled());
        }
        if (r.field == &TIniOptions::OpenMax) {
            EXPECT_EQ(dlg->edtOpenMax.Text(), std::to_string(r.want)) << r.name;
        }
        dlg->btnOkClick(nullptr);
        EXPECT_EQ(options.*r.field, r.want) << r.name;
        EXPECT_EQ(dlg->ModalResult, mrOk) << r.name;
    }
}

TEST_F(DialogTest, OpenMaxTypedOutOfRangeKeepsThePosition) {
    const struct {
        const char* typed;
        int want;
    } rows[] = {{"7", 7}, {"31", 31}, {"1", 1}, {"0", 16}, {"32", 16}, {"-1", 16}, {"ab", 16}, {"  ", 16}, {"", 16}};
    for (const auto& r : rows) {
        Open(Typical());
        Type(dlg->edtOpenMax, r.typed);
        dlg->btnOkClick(nullptr);
        EXPECT_EQ(options.OpenMax, r.want) << '"' << r.typed << '"';
    }
}

TEST_F(DialogTest, InitBySelectRule) {
    TIniOptions o = Typical();
    o.InitBySelect = false;  // the two flags below it are set in the record
    Open(o);
    EXPECT_FALSE(dlg->chkAutoSizeOnInit.Checked() || dlg->chkNoExtOnlyDir.Checked());
    EXPECT_FALSE(dlg->chkAutoSizeOnInit.Enabled() || dlg->chkNoExtOnlyDir.Enabled() || dlg->cbbInitPathType.Enabled());
    EXPECT_EQ(dlg->cbbInitPathType.ItemIndex(), 1);  // keeps its selection
    Click(dlg->chkInitBySelect);
    EXPECT_TRUE(dlg->chkAutoSizeOnInit.Enabled() && dlg->chkNoExtOnlyDir.Enabled() && dlg->cbbInitPathType.Enabled());
    EXPECT_FALSE(dlg->chkAutoSizeOnInit.Checked());
    Click(dlg->chkInitBySelect);
    dlg->btnOkClick(nullptr);
    EXPECT_FALSE(options.InitBySelect || options.AutoSizeOnInit || options.NoExtOnlyDir);
    EXPECT_EQ(options.InitPathType, 1);
}

TEST_F(DialogTest, AutoOpenAndOpenMethodRules) {
    Open(Typical());
    std::vector<TControl*> group = {&dlg->grpAutoOpen, &dlg->lblAutoOpen, &dlg->lblOpenMax, &dlg->edtOpenMax,
                                    &dlg->udOpenMax, &dlg->rbOmSendInput, &dlg->cbbSendInput, &dlg->rbOmWinDef};
    auto enabled = [&] {
        std::string s;
        for (TControl* c : group) s += c->Enabled() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(enabled(), "11111111");
    EXPECT_EQ(W(dlg->edtOpenMax.Handle)->background, plat::Colour::Window);
    Click(dlg->chkAutoOpen);
    EXPECT_EQ(enabled(), "00000000");
    EXPECT_EQ(W(dlg->edtOpenMax.Handle)->background, plat::Colour::ButtonFace);
    EXPECT_TRUE(dlg->chkAutoOpen.Enabled());
    Click(dlg->rbOmWinDef);  // a disabled control is not clicked by users; the rule holds anyway
    Click(dlg->chkAutoOpen);
    EXPECT_EQ(enabled(), "11111101");  // the send-keys list only with its method chosen
    Click(dlg->rbOmSendInput);
    EXPECT_EQ(enabled(), "11111111");
    EXPECT_EQ(W(dlg->edtOpenMax.Handle)->background, plat::Colour::Window);
}

TEST_F(DialogTest, OkStoresEveryControl) {
    Open(TIniOptions());  // a start without an ini file
    headless::AddDir("C:\\work\\tpl");
    Click(dlg->rbCmCtrlEnter);
    Click(dlg->chkInitBySelect);
    Click(dlg->chkAutoSizeOnInit);
    Click(dlg->chkNoExtOnlyDir);
    dlg->cbbInitPathType.SetItemIndex(1);
    Click(dlg->chkCursorQuickMove);
    Click(dlg->chkSavePos);
    Click(dlg->chkSaveSize);
    dlg->cbbTcVersion.SetItemIndex(1);
    Type(dlg->edtTemplatePath, "tpl");  // relative to the panel's folder, stored as typed
    Click(dlg->chkAutoOpen);
    Type(dlg->edtOpenMax, "5");
    Click(dlg->rbOmWinDef);
    dlg->cbbSendInput.SetItemIndex(1);
    dlg->cbbCursorPos.SetItemIndex(2);
    Type(dlg->frmCommonUse.editBox, "phrase");
    dlg->frmCommonUse.btnAdd.FireClick();
    Type(dlg->frmSeparator.editBox, "~");
    dlg->frmSeparator.btnAdd.FireClick();
    Type(dlg->edtWrapper1, "【");
    Type(dlg->edtWrapper2, "】");
    dlg->btnWrapperAdd.FireClick();
    dlg->btnOkClick(nullptr);

    const TIniOptions& o = options;
    EXPECT_EQ(o.ConfirmMode, 1);
    EXPECT_TRUE(o.InitBySelect && o.AutoSizeOnInit && o.NoExtOnlyDir && o.CursorQuickMove && o.SavePos &&
                o.SaveSize && o.AutoOpen);
    EXPECT_EQ(o.InitPathType, 1);
    EXPECT_EQ(o.TemplatePath, "tpl");
    EXPECT_EQ(o.OpenMax, 5);
    EXPECT_EQ(o.OpenMethod, 1);
    EXPECT_EQ(o.KeyType, 1);
    EXPECT_EQ(o.CursorPos, 2);
    EXPECT_EQ(o.TcColSep, 32);
    EXPECT_EQ(o.CommonUseList, List({"phrase"}));
    EXPECT_EQ(o.SeparatorList, List({"", " ", "~"}));
    ASSERT_EQ(o.WrapperList.size(), 1u);
    EXPECT_EQ(o.WrapperList[0].Before + o.WrapperList[0].After, "【】");
    EXPECT_EQ(dlg->ModalResult, mrOk);
}

TEST_F(DialogTest, MissingTemplateDirectoryStoresNothing) {
    headless::AddDir("C:\\work\\tpl");
    headless::AddFile("C:\\work\\file.txt");
    const char* rows[] = {"", "nothere", "C:\\missing\\", "C:\\work\\file.txt", "  "};
    std::string tooLong = "C:\\" + std::string(297, 'd');
    std::vector<std::string> paths(std::begin(rows), std::end(rows));
    paths.push_back(tooLong);
    for (const std::string& path : paths) {
        Open(Typical());
        Click(dlg->chkSavePos);
        Type(dlg->edtTemplatePath, path);
        State().boxes.clear();
        dlg->btnOkClick(nullptr);
        ASSERT_EQ(State().boxes.size(), 1u) << path;
        EXPECT_EQ(State().boxes[0].text, "模板目录不存在。");
        EXPECT_EQ(State().boxes[0].owner, dlg->Handle);
        EXPECT_EQ(State().boxes[0].caption, "Korvalin 设置");
        EXPECT_EQ(State().boxes[0].flags, unsigned(plat::MbOk | plat::MbIconStop));
        EXPECT_EQ(dlg->pgcOptions.PageIndex(), 1);
        EXPECT_TRUE(W(dlg->edtTemplatePath.Handle)->focused);
        EXPECT_EQ(dlg->ModalResult, mrNone);
        EXPECT_FALSE(options.SavePos) << path;
        EXPECT_EQ(options.TemplatePath, "C:\\Korvalin\\Templates\\");
    }
    Open(Typical());
    Type(dlg->edtTemplatePath, "tpl");
    State().boxes.clear();
    dlg->btnOkClick(nullptr);
    EXPECT_TRUE(State().boxes.empty());
    EXPECT_EQ(options.TemplatePath, "tpl");
}

TEST_F(DialogTest, SeparatorEditorHidesTheFixedEntries) {
    TIniOptions o = Typical();
    o.SeparatorList = {"", ".", " ", "-", " "};  // a blank that the file held in its own place
    Open(o);
    EXPECT_EQ(dlg->frmSeparator.listBox.Items(), List({".", "-", " "}));
    for (int i = 0; i < 3; ++i) {
        Pick(dlg->frmSeparator.listBox, 0);
        dlg->frmSeparator.btnDel.FireClick();
    }
    dlg->btnOkClick(nullptr);
    EXPECT_EQ(options.SeparatorList, List({"", " "}));
}

TEST_F(DialogTest, WrapperEditor) {
    Open(Typical());
    const struct {
        const char* before;
        const char* after;
        bool enabled;
    } rows[] = {{"", "", false}, {" ", "", true}, {"", "x", true}, {"(", ")", true}};
    for (const auto& r : rows) {
        Type(dlg->edtWrapper1, r.before);
        Type(dlg->edtWrapper2, r.after);
        EXPECT_EQ(dlg->btnWrapperAdd.Enabled(), r.enabled) << r.before << r.after;
    }
    // At most one message: the second half is tested only when the first passes.
    for (auto halves : {std::pair<const char*, const char*>{"<", ">"}, {"(", "|"}, {"*", ""}}) {
        Type(dlg->edtWrapper1, halves.first);
        Type(dlg->edtWrapper2, halves.second);
        State().boxes.clear();
        dlg->btnWrapperAddClick(nullptr);
        EXPECT_EQ(State().boxes.size(), 1u);
        EXPECT_EQ(dlg->lstWrapper.Count(), 2);
    }
    Type(dlg->edtWrapper1, "(");
    Type(dlg->edtWrapper2, ")");
    dlg->btnWrapperAdd.FireClick();  // a duplicate
    Type(dlg->edtWrapper2, "");
    dlg->btnWrapperAdd.FireClick();  // an empty half
    EXPECT_EQ(dlg->lstWrapper.Count(), 4);
    Pick(dlg->lstWrapper, 1);
    EXPECT_TRUE(dlg->btnWrapperDel.Enabled());
    dlg->btnWrapperDel.FireClick();
    EXPECT_TRUE(dlg->btnWrapperDel.Enabled());
    EXPECT_EQ(dlg->lstWrapper.Selected(), -1);
    dlg->btnWrapperDel.FireClick();
    EXPECT_EQ(dlg->lstWrapper.Count(), 3);
    Pick(dlg->lstWrapper, -1);
    EXPECT_FALSE(dlg->btnWrapperDel.Enabled());
    dlg->btnOkClick(nullptr);
    std::string pairs;
    for (const WrapperPair& w : options.WrapperList) pairs += w.Before + "*" + w.After + "|";
    EXPECT_EQ(pairs, "(*)|(*)|(*|");
}

// What the ini file written at exit reads back: an empty wrapper half is
// lost (the stored form cannot hold it); long lists stay whole, because
// entries beyond what the file reads back are refused with a message.
TEST_F(DialogTest, ListsSurviveTheIniFile) {
    const std::string ini = "C:\\Korvalin\\korvalin.ini";
    headless::AddFile(ini, "[FileList]\r\nInitBySelect=1\r\n");
    TIniOptions loaded;
    loaded.LoadFromFile(ini);
    loaded.TemplatePath = "C:\\Korvalin\\Templates\\";
    Open(loaded);
    int refused = 0;
    for (int i = 0; i < 1000; ++i) {
        State().boxes.clear();
        Type(dlg->frmTimeFormat.editBox, "entry" + std::to_string(i));
        dlg->frmTimeFormat.btnAdd.FireClick();
        refused += !State().boxes.empty();
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(State().boxes.at(0).text, "列表太长，无法完整保存到配置文件中。");
    State().boxes.clear();
    Type(dlg->frmCommonUse.editBox, std::string(2000, 'p'));
    dlg->frmCommonUse.btnAdd.FireClick();
    EXPECT_TRUE(State().boxes.empty());
    Type(dlg->frmCommonUse.editBox, std::string(100, 'q'));
    dlg->frmCommonUse.btnAdd.FireClick();  // the 2,000 bytes already there leave no room
    EXPECT_EQ(State().boxes.size(), 1u);
    for (int i = 0; i < 700; ++i) {
        Type(dlg->frmSeparator.editBox, "~");
        dlg->frmSeparator.btnAdd.FireClick();
    }
    Type(dlg->edtWrapper1, "(");
    Type(dlg->edtWrapper2, "");
    dlg->btnWrapperAdd.FireClick();
    dlg->btnOkClick(nullptr);
    TIniOptions edited = options;
    ASSERT_EQ(edited.WrapperList.size(), 4u);
    options.SaveToFile(ini);

    TIniOptions back;
    back.LoadFromFile(ini);
    EXPECT_EQ(back.TimeFormatList, edited.TimeFormatList);
    EXPECT_GT(back.TimeFormatList.size(), 200u);
    EXPECT_EQ(back.CommonUseList, edited.CommonUseList);
    EXPECT_EQ(back.SeparatorList, edited.SeparatorList);
    EXPECT_EQ(back.WrapperList.size(), 3u);  // "(*" is dropped on reading
}

// ------------------------------------------------------------ the main window's button

TEST_F(ConfigTest, ConfigButtonRunsTheDialogAndMarksTheNamingMenu) {
    headless::AddDir("C:\\Korvalin");
    State().commandLine = "\"C:\\Korvalin\\korvalin.exe\" C:\\work\\";
    TfomMain main;
    main.Show();
    const struct {
        const char* name;
        std::function<void(TfomConfig&)> act;
        bool built;
        bool savePos;
    } rows[] = {
        {"OK", [](TfomConfig& d) { Click(d.chkSavePos); d.btnOk.FireClick(); }, false, true},
        {"Cancel", [](TfomConfig& d) { Click(d.chkSavePos); d.btnCancel.FireClick(); }, true, false},
        {"close box", [](TfomConfig& d) { Click(d.chkSavePos); d.FireClose(); }, true, false},
        {"OK refused", [](TfomConfig& d) { Type(d.edtTemplatePath, ""); d.btnOk.FireClick(); d.FireClose(); }, true,
         false},
    };
    for (const auto& r : rows) {
        main.NamingMenuBuilt = true;
        main.Options->SavePos = false;
        std::string shownCaption;
        State().onModal = [&](plat::Handle form) {
            auto* d = static_cast<TfomConfig*>(W(form)->owner);
            shownCaption = d->Caption();
            r.act(*d);
        };
        main.btnConfigClick(nullptr);
        EXPECT_EQ(shownCaption, "Korvalin 设置") << r.name;
        EXPECT_EQ(main.NamingMenuBuilt, r.built) << r.name;
        EXPECT_EQ(main.Options->SavePos, r.savePos) << r.name;
    }
    State().onModal = nullptr;
}

// The dialog opens in the middle of the monitor that holds the main window;
// on one monitor, in the middle of the screen.
TEST_F(ConfigTest, DialogIsCentredOnTheMainWindowsMonitor) {
    const struct {
        const char* what;
        std::vector<plat::Rect> monitors;
        plat::Rect desktop, main;
        int left, top;
    } rows[] = {
        {"one monitor", {}, {0, 0, 1280, 1024}, {10, 10, 384, 111}, (1280 - 412) / 2, (1024 - 353) / 2},
        {"on the right one", {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, {0, 0, 3200, 1080},
         {1500, 100, 384, 111}, 1280 + (1920 - 412) / 2, (1080 - 353) / 2},
        {"on the left one", {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, {0, 0, 3200, 1080},
         {100, 100, 384, 111}, (1280 - 412) / 2, (1024 - 353) / 2},
        {"mostly on the left one", {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, {0, 0, 3200, 1080},
         {1000, 100, 384, 111}, (1280 - 412) / 2, (1024 - 353) / 2},
        {"left monitor at negative x", {{-1920, 0, 1920, 1080}, {0, 0, 1280, 1024}}, {-1920, 0, 3200, 1080},
         {-1000, 200, 384, 111}, -1920 + (1920 - 412) / 2, (1080 - 353) / 2},
    };
    headless::AddDir("C:\\Korvalin");
    for (const auto& r : rows) {
        State().commandLine = "\"C:\\Korvalin\\korvalin.exe\" C:\\work\\";
        State().monitors = r.monitors;
        State().desktop = r.desktop;
        TfomMain main;
        main.Show();
        main.SetBounds(r.main);
        plat::Rect shown;
        State().onModal = [&](plat::Handle form) {
            shown = plat::GetBounds(form);
            static_cast<TfomConfig*>(W(form)->owner)->FireClose();
        };
        main.btnConfigClick(nullptr);
        State().onModal = nullptr;
        EXPECT_EQ(shown.Left, r.left) << r.what;
        EXPECT_EQ(shown.Top, r.top) << r.what;
    }
}

}  // namespace

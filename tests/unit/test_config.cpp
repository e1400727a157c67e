// The list-editor frame, the file-name character check and the settings
// dialog, on the headless backend: what the user sees when it opens, the
// enabling rules, the editors, and what OK and Cancel leave in the record.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Config.h"
#include "Main.h"
#include "TestKit.h"
#include "Utils.h"

using headless::W;

namespace {

const std::string kRefusedMessage = "文件名不能包含下列任何字符:\r\n\\/:*?\"<>|";
const unsigned kStop = plat::MbOk | plat::MbIconStop;

// What a user does to a control.
void Type(TControl& c, const std::string& text) { c.SetText(text); }
void Click(TControl& c) {
    headless::Widget* w = W(c.Handle);
    if (w->kind == plat::Kind::CheckBox) w->checked = !w->checked;
    c.FireClick();
}
void Pick(TListBox& list, int index) { list.SetItemIndex(index); list.FireClick(); }
void Pick(TListView& list, int index) { list.Select(index); list.FireClick(); }
// Typing an entry into a list editor and pressing its add button; the number of messages that gave.
size_t Add(TFrmNaming& frame, const std::string& text) {
    State().boxes.clear();
    Type(frame.editBox, text);
    frame.btnAdd.FireClick();
    return State().boxes.size();
}
// Several check boxes or enabled states as one string, '1' for on.
std::string Checked(std::initializer_list<const TCheckBox*> boxes) {
    std::string s;
    for (const TCheckBox* b : boxes) s += "01"[b->Checked()];
    return s;
}
std::string Enabled(std::initializer_list<const TControl*> controls) {
    std::string s;
    for (const TControl* c : controls) s += "01"[c->Enabled()];
    return s;
}

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshWorld();
        headless::AddDir("C:\\Korvalin\\Templates");
        plat::SetCurrentDir("C:\\work");
        State().appTitle = "Korvalin - C:\\work\\";
    }
    // A record as a typical ini file leaves it.
    static TIniOptions Typical() {
        TIniOptions o;
        o.ConfirmMode = o.InitPathType = 1;
        o.InitBySelect = o.AutoSizeOnInit = o.NoExtOnlyDir = o.AutoOpen = true;
        o.TemplatePath = "C:\\Korvalin\\Templates\\";
        o.OpenMax = 16, o.KeyType = 2, o.CursorPos = 3, o.TcColSep = 9;
        o.SeparatorList = {"", " ", ".", "-"};
        o.CommonUseList = {"tester"};
        o.TimeFormatList = {"yyyymmdd", "yymmdd"};
        o.WrapperList = {{"(", ")"}, {"[", "]"}};
        return o;
    }
};

TEST_F(ConfigTest, CheckFileNameCharsRefusesTheNineCharactersByByte) {
    const struct { std::string text; bool ok; } rows[] = {
        {"", true}, {"abc", true}, {" ", true}, {"中文", true}, {"a.b-c_(1)", true},
        {"\\", false}, {"/", false}, {":", false}, {"*", false}, {"?", false},
        {"\"", false}, {"<", false}, {">", false}, {"|", false}, {"a/b", false},
        // Double-byte characters whose second byte is a backslash or a bar.
        {"\x81\x5C", false}, {"\x95\x7C", false},
    };
    const Box refused(kRefusedMessage, "Korvalin - C:\\work\\", kStop, nullptr);
    for (const auto& r : rows) {
        State().boxes.clear();
        EXPECT_EQ(CheckFileNameChars(r.text), r.ok) << r.text;
        EXPECT_EQ(BoxesShown(), r.ok ? Boxes{} : Boxes{refused}) << r.text;
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

TEST_F(FrameTest, AddEnablesOnTrimmedTextAndKeepsTheTextUntrimmed) {
    // Tab order: the caption right before the edit box, whose accelerator it is.
    List order;
    for (headless::Widget* w : W(frame.Handle)->children) order.push_back(w->owner->Name);
    EXPECT_EQ(order, List({"label", "editBox", "btnAdd", "listBox", "btnDel"}));
    EXPECT_EQ(Enabled({&frame.btnAdd, &frame.btnDel}), "00");

    const struct { const char* text; bool enabled; } rows[] = {
        {"", false}, {"   ", false}, {"\t \r\n", false}, {" a ", true}, {"x", true}};
    for (const auto& r : rows) {
        Type(frame.editBox, r.text);
        EXPECT_EQ(frame.btnAdd.Enabled(), r.enabled) << '"' << r.text << '"';
    }
    Type(frame.editBox, " a ");
    frame.btnAdd.FireClick();
    frame.btnAdd.FireClick();
    // Selecting is the user's: nothing is selected after an add.
    EXPECT_EQ(std::make_tuple(frame.listBox.Items(), frame.editBox.Text(), frame.btnAdd.Enabled(),
                              frame.listBox.ItemIndex()),
              std::make_tuple(List({" a ", " a "}), std::string(" a "), true, -1));
}

TEST_F(FrameTest, DeleteTakesTheSelectedEntryAndStaysEnabled) {
    frame.listBox.SetItems({"a", "b", "c"});
    frame.btnDel.FireClick();  // nothing selected: nothing happens
    EXPECT_EQ(frame.listBox.Count(), 3);
    Pick(frame.listBox, 1);
    EXPECT_TRUE(frame.btnDel.Enabled());
    frame.btnDel.FireClick();
    EXPECT_EQ(std::make_tuple(frame.listBox.Items(), frame.listBox.ItemIndex(), frame.btnDel.Enabled()),
              std::make_tuple(List({"a", "c"}), -1, true));
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
    void Halves(const char* before, const char* after) {
        Type(dlg->edtWrapper1, before);
        Type(dlg->edtWrapper2, after);
    }
};

TEST_F(DialogTest, OpeningShowsTheRecordOnTheFirstPage) {
    Open(Typical());
    EXPECT_EQ(std::make_tuple(dlg->pgcOptions.PageIndex(), dlg->tsCommon.Visible(), dlg->tsAfterCreate.Visible()),
              std::make_tuple(0, true, false));
    const TfomConfig& d = *dlg;
    EXPECT_EQ(Checked({&d.rbCmEnter, &d.rbCmCtrlEnter, &d.chkInitBySelect, &d.chkAutoSizeOnInit, &d.chkNoExtOnlyDir,
                       &d.chkCursorQuickMove, &d.chkSavePos, &d.chkSaveSize, &d.rbOmSendInput}),
              "011110001");
    EXPECT_EQ(std::vector<int>({d.cbbInitPathType.ItemIndex(), d.cbbCursorPos.ItemIndex(), d.cbbSendInput.ItemIndex(),
                                d.cbbTcVersion.ItemIndex(), d.cbbSendInput.Enabled()}),
              std::vector<int>({1, 3, 2, 0, true}));
    EXPECT_EQ(List({d.edtTemplatePath.Text(), d.edtOpenMax.Text()}), List({"C:\\Korvalin\\Templates\\", "16"}));
    EXPECT_EQ(std::make_tuple(d.frmCommonUse.listBox.Items(), d.frmTimeFormat.listBox.Items(),
                              d.frmSeparator.listBox.Items(), d.lstWrapper.Count(), d.lstWrapper.Cell(1, 0),
                              d.lstWrapper.Cell(1, 1), Enabled({&d.btnWrapperAdd, &d.btnWrapperDel})),
              std::make_tuple(List({"tester"}), List({"yyyymmdd", "yymmdd"}), List({".", "-"}), 2, "[", "]", "00"));
}

// Out-of-range stored values, what the dialog shows, and what OK then stores.
TEST_F(DialogTest, StoredValuesOutOfRange) {
    const struct { const char* name; int TIniOptions::*field; int stored, want; } rows[] = {
        {"InitPathType", &TIniOptions::InitPathType, 2, -1}, {"InitPathType", &TIniOptions::InitPathType, -1, -1},
        {"CursorPos", &TIniOptions::CursorPos, 4, -1},       {"KeyType", &TIniOptions::KeyType, 7, -1},
        {"TcColSep", &TIniOptions::TcColSep, 265, 32},       {"OpenMethod", &TIniOptions::OpenMethod, 5, 1},
        {"OpenMax", &TIniOptions::OpenMax, 0, 1},            {"OpenMax", &TIniOptions::OpenMax, 99, 31},
        {"OpenMax", &TIniOptions::OpenMax, 65537, 1},  // an up-down holds 16 bits
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " " + std::to_string(r.stored));
        TIniOptions o = Typical();
        o.*r.field = r.stored;
        Open(o);
        if (r.field == &TIniOptions::TcColSep) {
            EXPECT_EQ(dlg->cbbTcVersion.Item(dlg->cbbTcVersion.ItemIndex()), "低于8.0");
        } else if (r.field == &TIniOptions::OpenMethod) {
            EXPECT_EQ(Checked({&dlg->rbOmWinDef, &dlg->rbOmSendInput}) + Enabled({&dlg->cbbSendInput}), "100");
        } else if (r.field == &TIniOptions::OpenMax) {
            EXPECT_EQ(dlg->edtOpenMax.Text(), std::to_string(r.want));
        }
        dlg->btnOkClick(nullptr);
        EXPECT_EQ(std::make_pair(options.*r.field, dlg->ModalResult), std::make_pair(r.want, mrOk));
    }
}

TEST_F(DialogTest, OpenMaxTypedOutOfRangeKeepsThePosition) {
    const struct { const char* typed; int want; } rows[] = {
        {"7", 7}, {"31", 31}, {"1", 1}, {"0", 16}, {"32", 16}, {"-1", 16}, {"ab", 16}, {"  ", 16}, {"", 16}};
    for (const auto& r : rows) {
        Open(Typical());
        Type(dlg->edtOpenMax, r.typed);
        dlg->btnOkClick(nullptr);
        EXPECT_EQ(options.OpenMax, r.want) << '"' << r.typed << '"';
    }
}

// A disabled edit box takes the grey of its brush, which follows AutoOpen.
TEST_F(DialogTest, OpenMaxBackgroundFollowsAutoOpen) {
    Open(Typical());
    EXPECT_EQ(W(dlg->edtOpenMax.Handle)->background, plat::Colour::Window);
    Click(dlg->chkAutoOpen);
    EXPECT_EQ(W(dlg->edtOpenMax.Handle)->background, plat::Colour::ButtonFace);
}

TEST_F(DialogTest, MissingTemplateDirectoryStoresNothing) {
    headless::AddDir("C:\\work\\tpl");
    headless::AddFile("C:\\work\\file.txt");
    for (const std::string& path : List{"", "nothere", "C:\\work\\file.txt"}) {
        Open(Typical());
        Click(dlg->chkSavePos);
        Type(dlg->edtTemplatePath, path);
        State().boxes.clear();
        dlg->btnOkClick(nullptr);
        EXPECT_EQ(BoxesShown(), Boxes{Box("模板目录不存在。", "Korvalin 设置", kStop, dlg->Handle)}) << path;
        EXPECT_EQ(std::make_tuple(dlg->pgcOptions.PageIndex(), W(dlg->edtTemplatePath.Handle)->focused,
                                  dlg->ModalResult, options.SavePos, options.TemplatePath),
                  std::make_tuple(1, true, mrNone, false, std::string("C:\\Korvalin\\Templates\\")))
            << path;
    }
    Open(Typical());
    Type(dlg->edtTemplatePath, "tpl");
    State().boxes.clear();
    dlg->btnOkClick(nullptr);
    EXPECT_EQ(std::make_pair(BoxTexts(), options.TemplatePath), std::make_pair(List{}, std::string("tpl")));
}

TEST_F(DialogTest, WrapperEditor) {
    Open(Typical());
    const struct { const char *before, *after; bool enabled; } rows[] = {
        {"", "", false}, {" ", "", true}, {"", "x", true}, {"(", ")", true}};
    for (const auto& r : rows) {
        Halves(r.before, r.after);
        EXPECT_EQ(dlg->btnWrapperAdd.Enabled(), r.enabled) << r.before << r.after;
    }
    // At most one message: the second half is tested only when the first passes.
    for (auto halves : {std::pair<const char*, const char*>{"<", ">"}, {"(", "|"}, {"*", ""}}) {
        Halves(halves.first, halves.second);
        State().boxes.clear();
        dlg->btnWrapperAddClick(nullptr);
        EXPECT_EQ(std::make_pair(State().boxes.size(), dlg->lstWrapper.Count()), std::make_pair(size_t(1), 2))
            << halves.first << halves.second;
    }
    Halves("(", ")");
    dlg->btnWrapperAdd.FireClick();  // a duplicate
    Halves("(", "");
    dlg->btnWrapperAdd.FireClick();  // an empty half
    EXPECT_EQ(dlg->lstWrapper.Count(), 4);
    Pick(dlg->lstWrapper, 1);
    dlg->btnWrapperDel.FireClick();
    dlg->btnWrapperDel.FireClick();  // the selection went with the row: nothing more goes
    EXPECT_EQ(std::make_pair(dlg->lstWrapper.Count(), dlg->lstWrapper.Selected()), std::make_pair(3, -1));
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
    size_t refused = 0;
    for (int i = 0; i < 1000; ++i) refused += Add(dlg->frmTimeFormat, "entry" + std::to_string(i));
    EXPECT_GT(refused, 0u);
    EXPECT_EQ(BoxTexts(), List{"列表太长，无法完整保存到配置文件中。"});
    EXPECT_EQ(Add(dlg->frmCommonUse, std::string(2000, 'p')), 0u);
    EXPECT_EQ(Add(dlg->frmCommonUse, std::string(100, 'q')), 1u);  // the 2,000 bytes already there leave no room
    for (int i = 0; i < 700; ++i) Add(dlg->frmSeparator, "~");
    Halves("(", "");
    dlg->btnWrapperAdd.FireClick();
    dlg->btnOkClick(nullptr);
    TIniOptions edited = options;
    ASSERT_EQ(edited.WrapperList.size(), 4u);
    options.SaveToFile(ini);

    TIniOptions back;
    back.LoadFromFile(ini);
    EXPECT_GT(back.TimeFormatList.size(), 200u);
    EXPECT_EQ(std::make_tuple(back.TimeFormatList, back.CommonUseList, back.SeparatorList),
              std::make_tuple(edited.TimeFormatList, edited.CommonUseList, edited.SeparatorList));
    EXPECT_EQ(back.WrapperList.size(), 3u);  // "(*" is dropped on reading
}

// ------------------------------------------------------------ the main window's button

TEST_F(ConfigTest, ConfigButtonCancelledLeavesTheRecordAndTheNamingMenu) {
    TfomMain main;
    main.Show();
    // Each closes the dialog after SavePos has been ticked.
    const struct { const char* name; std::function<void(TfomConfig&)> act; bool built, savePos; } rows[] = {
        {"Cancel", [](TfomConfig& d) { d.btnCancel.FireClick(); }, true, false},
        {"close box", [](TfomConfig& d) { d.FireClose(); }, true, false},
    };
    for (const auto& r : rows) {
        main.NamingMenuBuilt = true;
        main.Options->SavePos = false;
        std::string shownCaption;
        State().onModal = [&](plat::Handle form) {
            auto* d = static_cast<TfomConfig*>(W(form)->owner);
            shownCaption = d->Caption();
            Click(d->chkSavePos);
            r.act(*d);
        };
        main.btnConfigClick(nullptr);
        EXPECT_EQ(std::make_tuple(shownCaption, main.NamingMenuBuilt, main.Options->SavePos),
                  std::make_tuple(std::string("Korvalin 设置"), r.built, r.savePos)) << r.name;
    }
    State().onModal = nullptr;
}

// The dialog (412 by 353) opens in the middle of the monitor that holds the
// main window; on one monitor, in the middle of the screen.
TEST_F(ConfigTest, DialogIsCentredOnTheMainWindowsMonitor) {
    const std::vector<plat::Rect> two = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const std::vector<plat::Rect> negative = {{-1920, 0, 1920, 1080}, {0, 0, 1280, 1024}};
    const plat::Rect wide = {0, 0, 3200, 1080};
    const struct { const char* what; std::vector<plat::Rect> monitors; plat::Rect desktop; int mainLeft, left, top; }
        rows[] = {
            {"one monitor", {}, {0, 0, 1280, 1024}, 10, (1280 - 412) / 2, (1024 - 353) / 2},
            {"on the right one", two, wide, 1500, 1280 + (1920 - 412) / 2, (1080 - 353) / 2},
            {"mostly on the left one", two, wide, 1000, (1280 - 412) / 2, (1024 - 353) / 2},
            {"left one at x < 0", negative, {-1920, 0, 3200, 1080}, -1000, -1920 + (1920 - 412) / 2, (1080 - 353) / 2},
        };
    for (const auto& r : rows) {
        State().monitors = r.monitors;
        State().desktop = r.desktop;
        TfomMain main;
        main.Show();
        main.SetBounds({r.mainLeft, 100, 384, 111});
        plat::Rect shown;
        State().onModal = [&](plat::Handle form) {
            shown = plat::GetBounds(form);
            static_cast<TfomConfig*>(W(form)->owner)->FireClose();
        };
        main.btnConfigClick(nullptr);
        State().onModal = nullptr;
        EXPECT_EQ(std::make_pair(shown.Left, shown.Top), std::make_pair(r.left, r.top)) << r.what;
    }
}

}  // namespace

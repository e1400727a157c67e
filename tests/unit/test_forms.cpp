// The form logic on the headless backend: its memory of the focused control
// (a message box deactivates its owner and takes the focus away as Windows
// does), its anchored controls and its Enter and Escape.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "TestKit.h"
// Every layout in one unit: a name that two of them define fails the build
// here. Split over the program's units, the linker would take the two for
// one variable, and one window would get the other's bounds.
#include "ConfigLayout.h"
#include "MainLayout.h"
#include "NamingLayout.h"

namespace {

// The main window's shape: a text box filling what a bottom panel leaves,
// the panel's buttons anchored right, a label anchored right on the form.
struct Anchored {
    TForm form;
    TMemo memo;
    TPanel panel;
    TButton flat, ok, cancel, apply;
    TLabel label;
    TEdit edit;
    TCheckBox check;
    std::string log;
    Anchored() {
        using namespace plat;
        form.CreateForm(LayoutItem{"form", Kind::Form, 0, 0, 384, 111, "", 0, 0}, "TForm");
        form.SetVisible(true);
        memo.Create(form.Handle, LayoutItem{"memo", Kind::Memo, 0, 0, 384, 60, "", StyleFillClient, 100});
        label.Create(form.Handle, LayoutItem{"label", Kind::Label, 300, 60, 80, 15, "", StyleAnchorRight, 0});
        edit.Create(form.Handle, LayoutItem{"edit", Kind::Edit, 4, 60, 100, 15, "", 0, 104});
        panel.Create(form.Handle, LayoutItem{"panel", Kind::Panel, 0, 75, 384, 36, "", StyleAnchorBottom, 103});
        flat.Create(panel.Handle, LayoutItem{"flat", Kind::FlatButton, 4, 8, 64, 21, "", 0, 101});
        check.Create(panel.Handle, LayoutItem{"check", Kind::CheckBox, 70, 8, 64, 21, "", 0, 105});
        apply.Create(panel.Handle, LayoutItem{"apply", Kind::Button, 140, 8, 64, 21, "", 0, 106});
        ok.Create(panel.Handle, LayoutItem{"ok", Kind::Button, 220, 8, 64, 21, "", StyleDefault | StyleAnchorRight, 1});
        cancel.Create(panel.Handle, LayoutItem{"cancel", Kind::Button, 300, 8, 64, 21, "",
                                               StyleCancel | StyleAnchorRight, 2});
        ok.OnClick = [this](TObject*) { log += "ok"; };
        cancel.OnClick = [this](TObject*) { log += "cancel"; };
        apply.OnClick = [this](TObject*) { log += "apply"; };
        memo.OnKeyDown = [this](TObject*, unsigned short& k, TShiftState) { log += "memo " + std::to_string(k); };
        edit.OnKeyDown = [this](TObject*, unsigned short& k, TShiftState) { log += "edit " + std::to_string(k); };
    }
    std::string Focused() const {
        plat::Handle f = plat::FocusedControl(form.Handle);
        return f == memo.Handle ? "memo" : f && f == ok.Handle ? "ok" : f ? "other" : "none";
    }
};

TEST(FormFocus, ComesBackAfterAMessageBox) {
    enum Change { None, ButtonHidden, PanelDisabled, ButtonDestroyed };  // made while the box is up
    const struct { const char* name; std::string before; Change change; const char* want; } cases[] = {
        {"text box", "memo", None, "memo"},
        {"nothing focused", "none", None, "none"},
        {"hidden meanwhile", "ok", ButtonHidden, "none"},
        {"its panel disabled meanwhile", "ok", PanelDisabled, "none"},
        {"destroyed meanwhile", "ok", ButtonDestroyed, "none"},
    };
    for (const auto& c : cases) {
        headless::Reset();
        Anchored w;
        if (c.before == "memo") w.memo.SetFocus();
        if (c.before == "ok") w.ok.SetFocus();
        plat::MessageBox(w.form.Handle, "first", "t", plat::MbOk);
        EXPECT_EQ(w.Focused(), c.before) << c.name << ": after one box";
        // A second box while the focus is back: still the same control.
        if (c.change == ButtonHidden) w.ok.SetVisible(false);
        if (c.change == PanelDisabled) w.panel.SetEnabled(false);
        if (c.change == ButtonDestroyed) w.ok.Destroy();
        plat::MessageBox(w.form.Handle, "second", "t", plat::MbOk);
        EXPECT_EQ(w.Focused(), c.want) << c.name;
    }
}

TEST(FormAnchors, ControlsFollowAResize) {
    enum Which { Memo, Panel, Ok, Cancel, Flat, Label, Edit };
    // before, after: client sizes, one after the other; minimised and restored after them.
    const struct { const char* name; Which control; plat::Size before, after; const char* want; bool minimise = false; }
        cases[] = {
        {"text box fills what the panel leaves", Memo, {384, 111}, {500, 200}, "0,0 500x164"},
        {"text box shrinks to nothing, not below", Memo, {384, 111}, {384, 20}, "0,0 384x0"},
        {"bottom panel spans the width at the bottom", Panel, {384, 111}, {500, 200}, "0,164 500x36"},
        {"bottom panel above the top when too short", Panel, {384, 111}, {384, 20}, "0,-16 384x36"},
        {"OK in the panel keeps its distance to the right", Ok, {384, 111}, {500, 200}, "336,8 64x21"},
        {"Cancel in the panel on a narrower form", Cancel, {384, 111}, {300, 111}, "216,8 64x21"},
        {"flat button in the panel stays at the left", Flat, {384, 111}, {500, 200}, "4,8 64x21"},
        {"label anchored right on the form keeps its top", Label, {384, 111}, {500, 200}, "416,60 80x15"},
        {"edit box without anchors stays", Edit, {384, 111}, {500, 200}, "4,60 100x15"},
        {"back to the design size gives the design bounds", Ok, {600, 300}, {384, 111}, "220,8 64x21"},
        {"text box back to the design size", Memo, {600, 300}, {384, 111}, "0,0 384x75"},
        {"OK minimised and restored", Ok, {384, 111}, {500, 200}, "336,8 64x21", true},
        {"text box minimised and restored", Memo, {384, 111}, {500, 200}, "0,0 500x164", true},
    };
    for (const auto& c : cases) {
        headless::Reset();
        Anchored w;
        TControl* controls[] = {&w.memo, &w.panel, &w.ok, &w.cancel, &w.flat, &w.label, &w.edit};
        w.form.SetBounds({10, 10, c.before.Width, c.before.Height});
        w.form.SetBounds({10, 10, c.after.Width, c.after.Height});
        if (c.minimise) {
            headless::SetSizeState(w.form.Handle, 1);
            headless::SetSizeState(w.form.Handle, 0);
        }
        EXPECT_EQ(BoundsText(controls[c.control]->Bounds()), c.want) << c.name;
    }
}

TEST(FormKeys, EnterAndEscapeReachTheRightPlace) {
    enum Focus { OnMemo, OnEdit, OnCheck, OnOk, OnCancel, OnApply };
    enum Change { None, OkDisabled, CancelDisabled, OkGone };
    // want: what ran, "closed" when the form closed.
    const struct { const char* name; Focus focus; unsigned short key; Change change; const char* want; } cases[] = {
        {"Enter in the text box is its own", OnMemo, vkReturn, None, "memo 13"},
        {"Escape in the text box is its own", OnMemo, vkEscape, None, "memo 27"},
        {"a letter in the text box", OnMemo, 'A', None, "memo 65"},
        {"Enter in an edit box presses OK", OnEdit, vkReturn, None, "ok"},
        {"Escape in an edit box presses Cancel", OnEdit, vkEscape, None, "cancel"},
        {"a letter in an edit box is its own", OnEdit, 'A', None, "edit 65"},
        {"Enter on a check box presses OK", OnCheck, vkReturn, None, "ok"},
        {"Enter on Cancel presses Cancel", OnCancel, vkReturn, None, "cancel"},
        {"Enter with OK disabled does nothing", OnEdit, vkReturn, OkDisabled, ""},
        {"Enter on a disabled-default form still presses the focused button", OnApply, vkReturn, OkDisabled, "apply"},
        {"Escape with Cancel disabled closes the form", OnEdit, vkEscape, CancelDisabled, "closed"},
        {"Enter with the OK button destroyed does nothing", OnEdit, vkReturn, OkGone, ""},
    };
    for (const auto& c : cases) {
        headless::Reset();
        Anchored w;
        TControl* focus[] = {&w.memo, &w.edit, &w.check, &w.ok, &w.cancel, &w.apply};
        focus[c.focus]->SetFocus();
        if (c.change == OkDisabled) w.ok.SetEnabled(false);
        if (c.change == CancelDisabled) w.cancel.SetEnabled(false);
        if (c.change == OkGone) w.ok.Destroy();
        headless::PressKey(c.key);
        if (!w.form.Visible()) w.log += "closed";
        EXPECT_EQ(w.log, c.want) << c.name;
    }
}

TEST(FormFocus, MainFormIsClearedWhenItsFormGoes) {
    headless::Reset();
    auto form = std::make_unique<TForm>();
    Application.MainForm = form.get();
    form.reset();
    EXPECT_EQ(Application.MainForm, nullptr);
    Application.ShowException("after the form");  // must not touch the freed form
    ASSERT_EQ(State().boxes.size(), 1u);
    EXPECT_EQ(State().boxes[0].owner, nullptr);
}

}  // namespace

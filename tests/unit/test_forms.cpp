// The form's memory of the focused control, on the headless backend, where
// a message box deactivates its owner and takes the focus away as Windows does.
#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "Headless.h"

namespace {

struct Window {
    TForm form;
    TPanel panel;
    TMemo memo;
    TButton ok;
    Window() {
        plat::CreateParams p;
        p.kind = plat::Kind::Form;
        form.Create(p);
        form.SetVisible(true);
        memo.Create(form.Handle, LayoutItem{"memo", plat::Kind::Memo, 0, 0, 10, 10, "", 0, 100});
        panel.Create(form.Handle, LayoutItem{"panel", plat::Kind::Panel, 0, 10, 10, 10, "", 0, 103});
        ok.Create(panel.Handle, LayoutItem{"ok", plat::Kind::Button, 0, 0, 10, 10, "OK", 0, 1});
    }
    plat::Handle Focused() { return plat::FocusedControl(form.Handle); }
};

TEST(FormFocus, ComesBackAfterAMessageBox) {
    enum Before { OnMemo, OnButton, Nowhere };
    enum Change { None, ButtonHidden, PanelDisabled, ButtonDestroyed };
    struct Case {
        const char* name;
        Before before;
        Change change;  // made while the box is up
        const char* want;
    } cases[] = {
        {"text box", OnMemo, None, "memo"},
        {"button on a panel", OnButton, None, "ok"},
        {"nothing focused", Nowhere, None, "none"},
        {"hidden meanwhile", OnButton, ButtonHidden, "none"},
        {"its panel disabled meanwhile", OnButton, PanelDisabled, "none"},
        {"destroyed meanwhile", OnButton, ButtonDestroyed, "none"},
    };
    for (const Case& c : cases) {
        headless::Reset();
        Window w;
        if (c.before == OnMemo) w.memo.SetFocus();
        if (c.before == OnButton) w.ok.SetFocus();
        plat::MessageBox(w.form.Handle, "first", "t", plat::MbOk);
        EXPECT_EQ(w.Focused(), c.before == OnMemo ? w.memo.Handle : c.before == OnButton ? w.ok.Handle : nullptr)
            << c.name << ": after one box";
        // A second box while the focus is back: still the same control.
        if (c.change == ButtonHidden) w.ok.SetVisible(false);
        if (c.change == PanelDisabled) w.panel.SetEnabled(false);
        if (c.change == ButtonDestroyed) w.ok.Destroy();
        plat::MessageBox(w.form.Handle, "second", "t", plat::MbOk);
        plat::Handle f = w.Focused();
        std::string got = f == w.memo.Handle ? "memo" : f && f == w.ok.Handle ? "ok" : f ? "other" : "none";
        EXPECT_EQ(got, c.want) << c.name;
    }
}

TEST(FormFocus, MainFormIsClearedWhenItsFormGoes) {
    headless::Reset();
    auto form = std::make_unique<TForm>();
    Application.MainForm = form.get();
    form.reset();
    EXPECT_EQ(Application.MainForm, nullptr);
    Application.ShowException("after the form");  // must not touch the freed form
    ASSERT_EQ(headless::State().boxes.size(), 1u);
    EXPECT_EQ(headless::State().boxes[0].owner, nullptr);
}

}  // namespace

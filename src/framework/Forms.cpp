#include "Forms.h"

TApplication Application;

void TForm::CreateForm(const LayoutItem& layout, const std::string& className, plat::Handle owner) {
    plat::CreateParams form;
    form.kind = plat::Kind::Form;
    form.parent = owner;
    form.width = layout.Width;
    form.height = layout.Height;
    form.caption = layout.Caption;
    form.style = layout.Style;
    form.className = className;
    Name = layout.Name;
    owner_ = owner;
    Create(form);
}

void TForm::Show() {
    if (!shown_) {
        shown_ = true;
        if (OnShow) Guarded([&] { OnShow(this); });
        if (CenterOnFirstShow) {
            // A dialog centred on the whole desktop of two monitors would
            // open across their seam.
            plat::Rect d = owner_ ? plat::MonitorRect(owner_) : plat::DesktopRect();
            plat::Rect r = Bounds();
            r.Left = d.Left + (d.Width - r.Width) / 2;
            r.Top = d.Top + (d.Height - r.Height) / 2;
            SetBounds(r);
        }
    }
    SetVisible(true);
}

void TForm::Close() {
    if (modal_) {
        if (ModalResult == mrNone) ModalResult = mrCancel;
        plat::EndModal(Handle);
        return;
    }
    SetVisible(false);
    if (Application.MainForm == this) plat::QuitLoop();
}

void TForm::CloseModal(TModalResult result) {
    ModalResult = result;
    Close();
}

void TForm::FireClose() { Close(); }

bool TForm::FireActivate(bool active) {
    if (!active) {
        // Nothing focused inside (the focus already went with a disabled
        // owner): the control remembered before still holds.
        if (plat::Handle focused = plat::FocusedControl(Handle)) ActiveControl = focused;
        return false;
    }
    if (!ActiveControl || !plat::CanTakeFocus(Handle, ActiveControl)) {
        ActiveControl = nullptr;
        return false;
    }
    plat::SetFocus(ActiveControl);
    return true;
}

// The error box of a later failure (the destroy step, start-up) must not
// take a freed form for its owner.
TForm::~TForm() {
    if (Application.MainForm == this) Application.MainForm = nullptr;
}

TModalResult TForm::ShowModal(TForm* owner) {
    ModalResult = mrNone;
    modal_ = true;
    Show();
    plat::RunModal(Handle, owner ? owner->Handle : nullptr);
    modal_ = false;
    SetVisible(false);
    return ModalResult;
}

void TApplication::Run(TForm& main) {
    MainForm = &main;
    main.Show();
    plat::RunLoop();
}

void TApplication::ShowException(const std::string& message) {
    plat::Handle owner = MainForm && MainForm->Handle && MainForm->Visible() ? MainForm->Handle : nullptr;
    plat::MessageBox(owner, message, Title(), plat::MbOk | plat::MbIconStop);
}

#include "Forms.h"

#include <algorithm>
#include <vector>

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
    if (!Handle) return;
    // Made at the design size first: which monitor, and so which dpi, the
    // window gets is known only once it exists.
    dpi_ = plat::WindowDpi(Handle);
    if (dpi_ == kDesignDpi) return;
    plat::Rect outer = Bounds();
    plat::Size client = plat::ClientSize(Handle);
    plat::Size want = ScaleBy(plat::Size{layout.Width, layout.Height}, dpi_);
    SetBounds({outer.Left, outer.Top, outer.Width - client.Width + want.Width,
               outer.Height - client.Height + want.Height});
}

void TForm::SetFont(const std::string& face, int height, int charset) {
    fontFace_ = face;
    fontHeight_ = height;
    fontCharset_ = charset;
    ApplyFont();
}

void TForm::SetMinTrackSize(int width, int height) {
    minTrack_ = {width, height};
    ApplyMinTrackSize();
}

void TForm::ApplyFont() {
    if (!fontFace_.empty()) plat::SetFont(Handle, fontFace_, ScaleBy(fontHeight_, dpi_), fontCharset_);
}

void TForm::ApplyMinTrackSize() {
    if (minTrack_.Width || minTrack_.Height)
        plat::SetMinTrackSize(Handle, ScaleBy(minTrack_.Width, dpi_), ScaleBy(minTrack_.Height, dpi_));
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

namespace {
// Lays out the children of `parent` for its client size `client`, from the
// bounds they were made with, at `dpi`; a moved container lays out its own.
// Only anchored controls move with the client size; `all` places every
// control again (a new dpi). Pages are placed by their page control.
void Realign(plat::Handle parent, plat::Size client, int dpi, bool all) {
    std::vector<TControl*> children = TControl::ChildrenOf(parent);
    int bottomUsed = 0;
    for (TControl* c : children)
        if (c->Style & plat::StyleAnchorBottom) bottomUsed += ScaleBy(c->Design.Height, dpi);
    for (TControl* c : children) {
        if (all && c->DesignItemHeight) plat::ListBoxSetItemHeight(c->Handle, ScaleBy(c->DesignItemHeight, dpi));
        for (int i = 0; all && i < static_cast<int>(c->DesignColumns.size()); ++i)
            plat::ListViewSetColumnWidth(c->Handle, i, ScaleBy(c->DesignColumns[i], dpi));
        plat::Rect r = ScaleBy(c->Design, dpi);
        if (c->Style & plat::StyleFillClient) {
            r = {0, 0, client.Width, std::max(0, client.Height - bottomUsed)};
        } else if (c->Style & plat::StyleAnchorBottom) {
            r = {0, client.Height - r.Height, client.Width, r.Height};
        } else if (c->Style & plat::StyleAnchorRight) {
            r.Left = client.Width - ScaleBy(c->DesignParent.Width - c->Design.Left, dpi);
        } else if (all && c->Kind == plat::Kind::Page) {
            Realign(c->Handle, plat::ClientSize(c->Handle), dpi, all);
            continue;
        } else if (!all) {
            continue;
        }
        c->SetBounds(r);
        Realign(c->Handle, {r.Width, r.Height}, dpi, all);
    }
}

// True when `c` lies inside `form`, at any depth.
bool IsInside(const TControl* c, plat::Handle form) {
    for (; c && c->ParentHandle; c = TControl::FromHandle(c->ParentHandle))
        if (c->ParentHandle == form) return true;
    return false;
}

// The form's first control whose style holds `flag`, at any depth.
TControl* ButtonWith(plat::Handle form, unsigned flag) {
    for (TControl* c : TControl::ChildrenOf(form)) {
        if (c->Style & flag) return c;
        if (TControl* inner = ButtonWith(c->Handle, flag)) return inner;
    }
    return nullptr;
}
}  // namespace

void TForm::FireResize() { Realign(Handle, plat::ClientSize(Handle), dpi_, false); }

void TForm::FireDpiChanged(int dpi, const plat::Rect& suggested) {
    if (dpi <= 0) return;
    dpi_ = dpi;
    // The font first: a page control's tabs and a list box's items take
    // their size from it.
    ApplyFont();
    ApplyMinTrackSize();
    SetBounds(suggested);
    Realign(Handle, plat::ClientSize(Handle), dpi_, true);
}

bool TForm::ControlTakesKey(plat::Kind focused, unsigned short key) {
    return focused == plat::Kind::Memo && (key == vkReturn || key == vkEscape);
}

void TForm::FireDialogKey(unsigned short key, plat::Handle focused) {
    TControl* button = ButtonWith(Handle, key == vkReturn ? plat::StyleDefault : plat::StyleCancel);
    TControl* f = TControl::FromHandle(focused);
    if (key == vkReturn && f && f->Kind == plat::Kind::Button && IsInside(f, Handle)) button = f;
    if (button && button->Enabled()) button->FireClick();
    else if (key == vkEscape) FireClose();
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

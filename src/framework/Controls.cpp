#include "Controls.h"

#include "Forms.h"

#include <algorithm>

namespace {
// Every control made by Create and not yet destroyed.
std::vector<TControl*>& Live() {
    static std::vector<TControl*> live;
    return live;
}
}  // namespace

TControl::~TControl() { Destroy(); }

void TControl::Create(const plat::CreateParams& params) {
    Handle = plat::CreateControl(params, this);
    if (!Handle) return;
    // A form's parent is its owner window, which holds none of its controls.
    ParentHandle = params.kind == plat::Kind::Form ? nullptr : params.parent;
    Kind = params.kind;
    Style = params.style;
    Design = {params.left, params.top, params.width, params.height};
    if (ParentHandle) DesignParent = plat::ClientSize(params.parent);
    Live().push_back(this);
}

std::vector<TControl*> TControl::ChildrenOf(plat::Handle parent) {
    std::vector<TControl*> children;
    for (TControl* c : Live())
        if (c->ParentHandle == parent) children.push_back(c);
    return children;
}

TControl* TControl::FromHandle(plat::Handle h) {
    for (TControl* c : Live())
        if (c->Handle == h) return c;
    return nullptr;
}

namespace {
// value * numerator / denominator, rounded to the nearest with halves away
// from zero, as the system's MulDiv rounds.
int MulDivRound(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>((product < 0 ? product - half : product + half) / denominator);
}
}  // namespace

int ScaleBy(int value, int dpi) { return dpi == kDesignDpi ? value : MulDivRound(value, dpi, kDesignDpi); }

int UnscaleBy(int value, int dpi) {
    return dpi == kDesignDpi || dpi <= 0 ? value : MulDivRound(value, kDesignDpi, dpi);
}

plat::Rect ScaleBy(const plat::Rect& r, int dpi) {
    return {ScaleBy(r.Left, dpi), ScaleBy(r.Top, dpi), ScaleBy(r.Width, dpi), ScaleBy(r.Height, dpi)};
}

plat::Size ScaleBy(const plat::Size& s, int dpi) { return {ScaleBy(s.Width, dpi), ScaleBy(s.Height, dpi)}; }

LayoutItem ScaleBy(const LayoutItem& item, int dpi) {
    LayoutItem r = item;
    plat::Rect b = ScaleBy(plat::Rect{item.Left, item.Top, item.Width, item.Height}, dpi);
    r.Left = b.Left;
    r.Top = b.Top;
    r.Width = b.Width;
    r.Height = b.Height;
    return r;
}

void TControl::Create(plat::Handle parent, const LayoutItem& item) {
    Name = item.Name;
    int dpi = plat::WindowDpi(parent);
    LayoutItem scaled = ScaleBy(item, dpi);
    plat::CreateParams p;
    p.kind = item.Kind;
    p.parent = parent;
    p.left = scaled.Left;
    p.top = scaled.Top;
    p.width = scaled.Width;
    p.height = scaled.Height;
    p.caption = item.Caption ? item.Caption : "";
    p.style = item.Style;
    p.id = item.Id;
    Create(p);
    if (!Handle || dpi == kDesignDpi) return;
    Design = {item.Left, item.Top, item.Width, item.Height};
    DesignParent = {UnscaleBy(DesignParent.Width, dpi), UnscaleBy(DesignParent.Height, dpi)};
}

void TControl::SetDesignBounds(const plat::Rect& r) {
    Design = r;
    SetBounds(ScaleBy(r, Dpi()));
}

void TControl::Destroy() {
    auto& live = Live();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (Handle) plat::DestroyControl(Handle);
    Handle = nullptr;
}

void ShowErrorBox(const std::string& message) { Application.ShowException(message); }

void Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox(std::string());
    }
}

void TControl::FireClick() {
    if (OnClick) Guarded([&] { OnClick(this); });
}

void TControl::FireChange() {
    if (OnChange) Guarded([&] { OnChange(this); });
}

void TControl::FireKeyDown(unsigned short& key, TShiftState shift) {
    if (OnKeyDown) Guarded([&] { OnKeyDown(this, key, shift); });
}

void TControl::FireKeyPress(char& key) {
    if (OnKeyPress) Guarded([&] { OnKeyPress(this, key); });
}

// One copy of the whole text, split where the box breaks its lines (carriage
// return and line feed; lines are never wrapped): asking the box line by line
// costs a walk from its first line for every line.
std::vector<std::string> TMemo::Lines(int maxBytes) const {
    std::string text = Text();
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = text.find("\r\n", start);
        std::string::size_type stop = end == std::string::npos ? text.size() : end;
        std::string::size_type len = stop - start;
        if (maxBytes >= 0 && len > static_cast<std::string::size_type>(maxBytes)) len = maxBytes;
        lines.push_back(text.substr(start, len));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    // A final empty line is not a line.
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<std::string> TListControl::Items() const {
    std::vector<std::string> items;
    for (int i = 0, n = Count(); i < n; ++i) items.push_back(Item(i));
    return items;
}

void TListControl::SetItems(const std::vector<std::string>& items) {
    Clear();
    for (const std::string& s : items) Add(s);
}

void TMenuItem::CreateIn(TPopupMenu& menu, const std::string& caption, bool submenu) {
    Menu = &menu;
    Caption = caption;
    IsSubmenu = submenu;
    Handle = plat::MenuAppend(menu.Handle, caption, submenu, this);
    menu.Children.push_back(this);
}

void TMenuItem::CreateIn(TMenuItem& parent, const std::string& caption, bool submenu) {
    Parent = &parent;
    Caption = caption;
    IsSubmenu = submenu;
    Handle = plat::MenuAppend(parent.Handle, caption, submenu, this);
    parent.Children.push_back(this);
}

void TMenuItem::CreateLineIn(TMenuItem& parent) {
    Parent = &parent;
    Caption = "-";
    IsLine = true;
    Handle = plat::MenuAppendLine(parent.Handle, this);
    parent.Children.push_back(this);
}

void TMenuItem::Remove() {
    if (!Handle) return;
    auto leave = [this](std::vector<TMenuItem*>& c) {
        for (size_t i = 0; i < c.size(); ++i)
            if (c[i] == this) {
                c.erase(c.begin() + i);
                break;
            }
    };
    if (Parent) {
        leave(Parent->Children);
        plat::MenuRemove(Parent->Handle, Handle);
    } else if (Menu) {
        leave(Menu->Children);
        plat::MenuRemove(Menu->Handle, Handle);
    }
    // Entries still inside it no longer have a parent to leave.
    for (TMenuItem* c : Children) c->Parent = nullptr;
    Children.clear();
    plat::MenuDestroy(Handle);
    Handle = nullptr;
    Parent = nullptr;
    Menu = nullptr;
}

// Korvalin's own small window framework: one plain class per control.
//
// A control holds its backend handle and forwards to src/framework/Backend.h;
// it owns nothing else. Events are plain callbacks, usually bound to a member
// function of the window that owns the control.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Backend.h"

// Root of everything that can be the sender of an event.
class TObject {
public:
    virtual ~TObject() = default;
};

// An error with a message, as the standard error box shows it.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

struct TShiftState {
    bool Shift = false, Ctrl = false, Alt = false;
};

using TNotifyEvent = std::function<void(TObject* sender)>;
using TKeyEvent = std::function<void(TObject* sender, unsigned short& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Virtual-key codes the portable code needs.
enum : unsigned short {
    vkBack = 0x08, vkTab = 0x09, vkReturn = 0x0D, vkShift = 0x10, vkControl = 0x11,
    vkCapital = 0x14, vkEscape = 0x1B, vkLeft = 0x25, vkUp = 0x26, vkRight = 0x27,
    vkDown = 0x28, vkF4 = 0x73, vkOem1 = 186 /* ; : */, vkOem7 = 222 /* ' " */,
};

// One entry of a window layout (resources/*Layout.h): design pixels at 96 dpi.
struct LayoutItem {
    const char* Name;
    plat::Kind Kind;
    int Left, Top, Width, Height;
    const char* Caption;
    unsigned Style;
    int Id;  // control id; the default and cancel buttons use 1 and 2
};

// Layouts are drawn at 96 dots per inch; a window shows them at the dpi of
// the monitor it lies on, every length multiplied by dpi / 96.
inline constexpr int kDesignDpi = 96;
// `value` at `dpi`, rounded as the system's MulDiv rounds (to the nearest,
// halves away from zero), so that a length and its negative stay opposite.
int ScaleBy(int value, int dpi);
plat::Rect ScaleBy(const plat::Rect& r, int dpi);
plat::Size ScaleBy(const plat::Size& s, int dpi);
// The inverse for lengths measured on the screen, back to design pixels.
int UnscaleBy(int value, int dpi);
// A layout entry with its bounds at `dpi`.
LayoutItem ScaleBy(const LayoutItem& item, int dpi);

class TControl : public TObject {
public:
    TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    ~TControl() override;

    plat::Handle Handle = nullptr;
    std::string Name;
    int Tag = 0;
    // What the control was made with, for the form's anchoring and its
    // Enter and Escape: the parent, the kind, the style bits, the bounds in
    // the parent's client area and the parent's client size at that time.
    // Bounds and size are design pixels (96 dpi): the form lays its controls
    // out from them again at another dpi.
    plat::Handle ParentHandle = nullptr;
    plat::Kind Kind = plat::Kind::Panel;
    unsigned Style = 0;
    plat::Rect Design;
    plat::Size DesignParent;
    // A list box's item height in design pixels; 0 for other controls. Kept
    // because a new font resets what the list box was given.
    int DesignItemHeight = 0;
    // A report list's column widths in design pixels, for the same reason.
    std::vector<int> DesignColumns;

    TNotifyEvent OnClick;
    TNotifyEvent OnChange;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

    // Makes the control with `params` as they are, in pixels.
    void Create(const plat::CreateParams& params);
    // Makes the control from its layout entry, scaled to the dpi of the
    // window that holds `parent`.
    void Create(plat::Handle parent, const LayoutItem& item);
    void Destroy();
    // The live controls made with `parent` as their parent, in the order
    // they were made; the control that holds `h`, or null.
    static std::vector<TControl*> ChildrenOf(plat::Handle parent);
    static TControl* FromHandle(plat::Handle h);

    std::string Text() const { return plat::GetText(Handle); }
    void SetText(const std::string& text) { plat::SetText(Handle, text); }
    plat::Rect Bounds() const { return plat::GetBounds(Handle); }
    void SetBounds(const plat::Rect& r) { plat::SetBounds(Handle, r); }
    // New design bounds (96 dpi): shown at the control's dpi, and kept for
    // the form's next layout.
    void SetDesignBounds(const plat::Rect& r);
    // The dpi of the monitor the control's window is shown on.
    int Dpi() const { return plat::WindowDpi(Handle); }
    bool Visible() const { return plat::IsVisible(Handle); }
    void SetVisible(bool v) { plat::SetVisible(Handle, v); }
    bool Enabled() const { return plat::IsEnabled(Handle); }
    void SetEnabled(bool e) { plat::SetEnabled(Handle, e); }
    void SetFocus() { plat::SetFocus(Handle); }
    std::string Hint() const { return plat::GetHint(Handle); }
    void SetHint(const std::string& hint) { plat::SetHint(Handle, hint); }

    // Called by the backends. A key handler may change the key (0 swallows
    // it); the control then goes on with the changed key. An error that escapes a handler goes to the
    // application's standard error box and the program goes on.
    void FireClick();
    void FireChange();
    void FireKeyDown(unsigned short& key, TShiftState shift);
    void FireKeyPress(char& key);
};

// Shows the standard error box for an error that escaped a handler.
void ShowErrorBox(const std::string& message);
// Runs `action`, reporting any error in the standard error box.
void Guarded(const std::function<void()>& action);

class TMemo : public TControl {
public:
    int LineCount() const { return plat::EditLineCount(Handle); }
    // Every line, each cut to `maxBytes`; a final empty line is not counted.
    std::vector<std::string> Lines(int maxBytes = 4096) const;
    void SelectAll() { plat::EditSetSel(Handle, 0, -1); }
    void SetSel(int start, int end) { plat::EditSetSel(Handle, start, end); }
    void GetSel(int& start, int& end) const { plat::EditGetSel(Handle, start, end); }
    void ReplaceSel(const std::string& text) { plat::EditReplaceSel(Handle, text); }
    int LineStart(int index) const { return plat::EditLineStart(Handle, index); }
    void SetMaxLength(int chars) { plat::EditSetMaxLength(Handle, chars); }  // 0: no limit
};

class TEdit : public TControl {
public:
    void SetMaxLength(int chars) { plat::EditSetMaxLength(Handle, chars); }
    void SetBackground(plat::Colour c) { plat::SetBackground(Handle, c); }
};

class TButton : public TControl {};
class TLabel : public TControl {};
class TGroupBox : public TControl {};
class TPanel : public TControl {};

class TCheckBox : public TControl {
public:
    bool Checked() const { return plat::GetChecked(Handle); }
    void SetChecked(bool c) { plat::SetChecked(Handle, c); }
};

class TRadioButton : public TCheckBox {};

// Drop-down lists and list boxes: an indexed list of texts.
class TListControl : public TControl {
public:
    void Add(const std::string& text) { plat::ItemsAdd(Handle, text); }
    void Delete(int index) { plat::ItemsDelete(Handle, index); }
    void Clear() { plat::ItemsClear(Handle); }
    int Count() const { return plat::ItemsCount(Handle); }
    std::string Item(int index) const { return plat::ItemsGet(Handle, index); }
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return plat::ItemsIndex(Handle); }
    void SetItemIndex(int index) { plat::ItemsSetIndex(Handle, index); }
};

class TComboBox : public TListControl {};

class TListBox : public TListControl {
public:
    // In design pixels.
    void SetItemHeight(int h) {
        DesignItemHeight = h;
        plat::ListBoxSetItemHeight(Handle, ScaleBy(h, Dpi()));
    }
};

class TListView : public TControl {
public:
    // In design pixels.
    void AddColumn(int width) {
        DesignColumns.push_back(width);
        plat::ListViewAddColumn(Handle, ScaleBy(width, Dpi()));
    }
    int AddRow(const std::vector<std::string>& cells) { return plat::ListViewAddRow(Handle, cells); }
    void DeleteRow(int index) { plat::ListViewDeleteRow(Handle, index); }
    void Clear() { plat::ListViewClear(Handle); }
    int Count() const { return plat::ListViewCount(Handle); }
    std::string Cell(int row, int column) const { return plat::ListViewCell(Handle, row, column); }
    int Selected() const { return plat::ListViewSelected(Handle); }
    void Select(int index) { plat::ListViewSelect(Handle, index); }
};

class TPageControl : public TControl {
public:
    int PageIndex() const { return plat::PageControlIndex(Handle); }
    void SetPageIndex(int index) { plat::PageControlSetIndex(Handle, index); }
};

class TTabSheet : public TControl {};

class TUpDown : public TControl {
public:
    void Setup(const TControl& buddy, int low, int high, bool wrap) { plat::UpDownSetup(Handle, buddy.Handle, low, high, wrap); }
    int Position() const { return plat::UpDownPos(Handle); }
    void SetPosition(int pos) { plat::UpDownSetPos(Handle, pos); }
};

// A menu entry. Entries of a popup menu and of submenus; the entry owns its
// backend item, and `Data` is free for the owner's record.
class TPopupMenu;
class TMenuItem : public TControl {
public:
    ~TMenuItem() override { Remove(); }
    TMenuItem* Parent = nullptr;
    TPopupMenu* Menu = nullptr;  // the popup menu, for an entry at its top level
    std::string Caption;         // as created; what it shows may differ (SetShown)
    void* Data = nullptr;
    bool IsSubmenu = false;
    // A separator line. Only the code that lays the menu out makes one: a
    // generated caption "-" is a user's text and stays an entry.
    bool IsLine = false;
    std::vector<TMenuItem*> Children;  // not owned

    void CreateIn(TPopupMenu& menu, const std::string& caption, bool submenu);
    void CreateIn(TMenuItem& parent, const std::string& caption, bool submenu);
    void CreateLineIn(TMenuItem& parent);
    void Remove();  // leaves its parent and destroys its backend item
    void SetShownCaption(const std::string& caption) { plat::MenuSetCaption(Handle, caption); }
    void SetShown(bool visible) { plat::MenuSetVisible(Handle, visible); }
};

class TPopupMenu : public TControl {
public:
    ~TPopupMenu() override {
        if (Handle) plat::MenuDestroy(Handle);
        Handle = nullptr;
    }
    std::vector<TMenuItem*> Children;  // not owned
    void CreateMenu() { Handle = plat::CreatePopupMenu(this); }
    void Popup(int x, int y, plat::Handle ownerForm) { plat::MenuPopup(Handle, x, y, ownerForm); }
};

// The one seam between Korvalin and the operating system.
//
// Everything above this header is portable C++. The functions declared here
// have two implementations chosen at link time: src/win32 (the product, the
// only place that calls the Windows API) and src/headless (an in-memory
// stand-in used by the unit tests on any host).
//
// All text is 8-bit text in the system's ANSI code page (GBK on the target).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TControl;

namespace plat {

using Handle = void*;  // a window (HWND) in the product, a headless widget in tests

struct Rect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Size {
    int Width = 0, Height = 0;
};

// ---------------------------------------------------------------- windows

enum class Kind {
    Form,        // top-level window
    Panel,       // borderless container (also frames and pages' client areas)
    Memo,        // multi-line text box with scroll bars
    Edit,        // single-line edit box
    Button,      // push button
    FlatButton,  // flat push button that takes no focus
    CheckBox,
    RadioButton,
    ComboBox,    // drop-down list (no typing)
    Label,
    GroupBox,
    PageControl,
    Page,
    UpDown,
    ListBox,
    ListView,    // report view, no headers, whole-row selection
};

enum Style : unsigned {
    StyleNone = 0,
    StyleDefault = 1u << 0,      // default push button (Enter)
    StyleCancel = 1u << 1,       // cancel push button (Escape)
    StyleAnchorRight = 1u << 2,  // keeps its distance to the parent's right edge
    StyleAnchorBottom = 1u << 3, // sticks to the parent's bottom edge
    StyleFillClient = 1u << 4,   // fills what the bottom-aligned siblings leave
    StyleDisabled = 1u << 5,
    StyleReadOnly = 1u << 6,
    StyleGroup = 1u << 7,        // first control of a radio group / tab stop
    StyleDialogFrame = 1u << 8,  // forms: fixed dialog border, no minimise or maximise box
};

struct CreateParams {
    Kind kind = Kind::Panel;
    Handle parent = nullptr;
    int left = 0, top = 0, width = 0, height = 0;  // client pixels for a form
    std::string caption;
    unsigned style = StyleNone;
    int id = 0;
    std::string className;  // forms only: the window class, e.g. "TfomMain"
};

// `owner` receives the control's events (TControl::Fire*); it must outlive the handle.
Handle CreateControl(const CreateParams& params, TControl* owner);
void DestroyControl(Handle h);

void SetText(Handle h, const std::string& text);
std::string GetText(Handle h);
void SetBounds(Handle h, const Rect& r);  // outer bounds; for a form, screen pixels
Rect GetBounds(Handle h);
// A form's normal (restored) bounds in screen pixels, also while it is
// minimised or maximised: what a restore would give back.
Rect NormalBounds(Handle form);
Size ClientSize(Handle h);
void SetMinTrackSize(Handle form, int width, int height);
void SetVisible(Handle h, bool visible);
bool IsVisible(Handle h);
void SetEnabled(Handle h, bool enabled);
bool IsEnabled(Handle h);
void SetFocus(Handle h);
// The control inside `form` that has the keyboard focus; null when the focus
// is elsewhere (another window, the form itself, nowhere).
Handle FocusedControl(Handle form);
// True when `control` still lives inside `form` and can take the focus: it
// and every container above it are shown and enabled.
bool CanTakeFocus(Handle form, Handle control);
void SetHint(Handle h, const std::string& hint);
std::string GetHint(Handle h);
void SetFont(Handle h, const std::string& face, int height, int charset);
// The dots per inch of the monitor that `h` (its top-level window) lies on;
// for null, of the monitor where a new window opens. 96 is 100 %.
int WindowDpi(Handle h);
// Pixel extent of `text` in the control's font.
Size TextExtent(Handle h, const std::string& text);
// Top-left corner of the control's client area in screen coordinates.
Rect ClientToScreen(Handle h);

// Background of an edit box.
enum class Colour { Window, ButtonFace };
void SetBackground(Handle h, Colour colour);

// Multi-line and single-line edit boxes.
void EditSetSel(Handle h, int start, int end);  // byte offsets; -1 end = to the end
void EditGetSel(Handle h, int& start, int& end);
void EditReplaceSel(Handle h, const std::string& text);
int EditLineCount(Handle h);                  // a final empty line is not counted
int EditLineStart(Handle h, int index);       // byte offset of the line's first character
void EditSetMaxLength(Handle h, int maxChars);  // 0: no limit
void EditScrollCaret(Handle h);

// Check boxes and radio buttons.
void SetChecked(Handle h, bool checked);
bool GetChecked(Handle h);

// Drop-down lists and list boxes share the item interface.
void ItemsAdd(Handle h, const std::string& text);
void ItemsDelete(Handle h, int index);
void ItemsClear(Handle h);
int ItemsCount(Handle h);
std::string ItemsGet(Handle h, int index);
void ItemsSetIndex(Handle h, int index);  // -1 selects nothing
int ItemsIndex(Handle h);
void ListBoxSetItemHeight(Handle h, int height);

// Report-view list: rows of columns.
void ListViewAddColumn(Handle h, int width);
void ListViewSetColumnWidth(Handle h, int column, int width);
int ListViewAddRow(Handle h, const std::vector<std::string>& cells);
void ListViewDeleteRow(Handle h, int index);
void ListViewClear(Handle h);
int ListViewCount(Handle h);
std::string ListViewCell(Handle h, int row, int column);
int ListViewSelected(Handle h);  // -1 when nothing is selected
void ListViewSelect(Handle h, int index);

// Page control: its pages are Kind::Page children.
void PageControlSetIndex(Handle h, int index);
int PageControlIndex(Handle h);

// Up-down control bound to an edit box. The position is held within the
// range (a new range takes it in); reading it takes the edit box's text when
// that is a number within the range, and otherwise keeps the position held
// before. The system reads the text leniently: thousands separators anywhere
// are dropped, blanks before the number and full-width digits are taken, and
// an empty text is 0.
void UpDownSetup(Handle h, Handle buddy, int low, int high, bool wrap);
void UpDownSetPos(Handle h, int pos);
int UpDownPos(Handle h);

// ---------------------------------------------------------------- menus

Handle CreatePopupMenu(TControl* owner);
// Appends an entry showing `caption` as it is (also a caption "-", which
// may be a user's phrase). `submenu` entries open a menu.
Handle MenuAppend(Handle menu, const std::string& caption, bool submenu, TControl* owner);
// Appends a separator line.
Handle MenuAppendLine(Handle menu, TControl* owner);
void MenuRemove(Handle menu, Handle entry);
void MenuDestroy(Handle menuOrEntry);
void MenuPopup(Handle menu, int screenX, int screenY, Handle ownerForm);
// What an entry shows, and whether it stands in its menu at all (a hidden
// entry keeps its place among its siblings for when it is shown again).
void MenuSetCaption(Handle entry, const std::string& caption);
void MenuSetVisible(Handle entry, bool visible);

// ---------------------------------------------------------------- application

enum MsgFlags : unsigned {
    MbOk = 0x0,
    MbYesNo = 0x4,
    MbIconStop = 0x10,
    MbIconExclamation = 0x30,
    MbDefButton2 = 0x100,
};
enum MsgResult { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

int MessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned flags);
void SetAppTitle(const std::string& title);
std::string AppTitle();
// Runs the event loop until QuitLoop; returns at once in the headless build.
void RunLoop();
void QuitLoop();
// Runs a nested loop while `form` is shown modally; ends when EndModal is called.
void RunModal(Handle form, Handle owner);
void EndModal(Handle form);
void ProcessPendingMessages();

// ---------------------------------------------------------------- screen

Size ScreenSize();   // primary screen, full size
Rect WorkArea();     // without task bars
Rect DesktopRect();  // spanning all monitors
// Full bounds of the monitor that holds most of `window` (the nearest one
// when it lies on none).
Rect MonitorRect(Handle window);

// ---------------------------------------------------------------- process

std::string CommandLine();   // raw, as the system hands it over
std::string ExePath();       // full path of the running program
bool IsLeadByte(unsigned char byte);  // first byte of a double-byte character
// Case conversion of ANSI text by the system's locale; double-byte
// characters stay whole.
std::string AnsiLowerCase(const std::string& text);
std::string AnsiUpperCase(const std::string& text);

// The local date and time, and the locale's texts for rendering dates.
struct DateTime {
    int Year = 0, Month = 1, Day = 1;  // Month 1 to 12
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 0;  // 0 is Sunday
};
struct LocaleTexts {
    std::string ShortMonthNames[12], LongMonthNames[12];
    std::string ShortDayNames[7], LongDayNames[7];  // Sunday first
    // As the system gives them, in its own letters (tt the designator,
    // h 12-hour, H 24-hour), not in those of our patterns.
    std::string ShortDateFormat, LongDateFormat, ShortTimeFormat, LongTimeFormat;
    std::string DateSeparator, TimeSeparator, TimeAM, TimePM;
    std::string Era;  // of today's date, for the system's g
};
DateTime LocalNow();
LocaleTexts LocaleInfo();
bool UserName(std::string& name);     // logged-on user; false when it cannot be read
Handle ForegroundWindow();
// The focused control in the foreground window's thread (attach, read, detach).
Handle CaptureFocus(Handle foreground);
void SleepMs(int ms);

// Talking to the file manager's panel (another process's list box).
int PanelCount(Handle panel);
std::string PanelText(Handle panel, int index);  // at most 1023 bytes
void PanelSelect(Handle panel, int index);
void ActivateWindow(Handle h);
void SendKeys(const std::vector<unsigned short>& keys);  // key presses only
void ShellOpen(const std::string& path, const std::string& dir);

// ---------------------------------------------------------------- files

struct DirEntry {
    std::string Name;
    bool IsDirectory = false;
};

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);  // a file, not a folder
bool ForceDirectories(const std::string& path);
bool CreateEmptyFile(const std::string& path);  // replaces an existing file
bool CopyFileReplace(const std::string& from, const std::string& to);
// The current system time as a file time (100 ns units since 1601, UTC).
std::uint64_t SystemTimeAsFileTime();
// Sets creation, last-access and last-write time; false when it cannot be opened.
bool SetFileTimes(const std::string& path, std::uint64_t fileTime);
// Every entry of `dir` ("*.*", all attributes); false when it cannot be read.
bool ListDirectory(const std::string& dir, std::vector<DirEntry>& entries);
bool SetCurrentDir(const std::string& path);
// False also while another program holds the file open without sharing it
// for reading.
bool ReadWholeFile(const std::string& path, std::string& content);

// The steps of a save through a temporary file (WriteFileReplace in
// Inifile.cpp puts them together).
unsigned ProcessId();
// Creates or empties `path`, writes `content` and flushes it.
bool WriteNewFile(const std::string& path, const std::string& content);
// Rewrites an existing file where it lies (no new file is made).
bool RewriteFile(const std::string& path, const std::string& content);
// Puts `replacement` in the place of the existing file `path` in one step,
// keeping what the replaced file carried (attributes). 0 on success, else
// the system's error code; for 1176 and 1177 the replaced file is already
// gone or renamed and `replacement` is still there under its own name.
unsigned long ReplaceFileWith(const std::string& path, const std::string& replacement);
// Renames `from` to `to`, replacing a file there.
bool MoveFileReplace(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

// Text between UTF-16 (code units in host order) and the ANSI code page;
// a character the code page lacks becomes '?'.
std::string AnsiFromUtf16(const std::u16string& text);
std::u16string Utf16FromAnsi(const std::string& text);

}  // namespace plat

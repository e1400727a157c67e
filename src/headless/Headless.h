// The headless backend: an in-memory stand-in for windows, the screen and the
// file system, so that the windows' behaviour runs in unit tests on any host.
// Tests set up and inspect the world through State().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Backend.h"
#include "Controls.h"

namespace headless {

struct Widget {
    plat::Kind kind = plat::Kind::Panel;
    Widget* parent = nullptr;
    TControl* owner = nullptr;
    std::vector<Widget*> children;
    std::string text, hint, fontFace;
    int fontHeight = 0;
    plat::Rect bounds;
    plat::Size minTrack;
    unsigned style = 0;
    int id = 0;
    bool visible = false, enabled = true, checked = false, focused = false;
    std::vector<std::string> items;            // lists
    std::vector<std::vector<std::string>> rows; // report view
    std::vector<int> columns;
    int index = -1;                            // selected item / page / row
    int selStart = 0, selEnd = 0;              // edit selection in bytes
    int maxLength = 0, itemHeight = 0;
    int low = 0, high = 100, pos = 0;          // up-down
    Widget* buddy = nullptr;
    plat::Colour background = plat::Colour::Window;
    bool isMenu = false, submenu = false, menuLine = false;
    // Forms: 0 normal, 1 minimised, 2 maximised (SetSizeState); `restored`
    // holds the normal bounds while the window is not normal.
    int sizeState = 0;
    plat::Rect restored;
    bool modalEnded = false;
    int dpi = 96;  // forms: of the monitor the window lies on
};

struct MessageBoxCall {
    plat::Handle owner;
    std::string text, caption;
    unsigned flags;
};

struct PanelItem {
    std::string text;
    bool selected = false;
};

plat::LocaleTexts ChineseLocale();

struct World {
    // Message boxes: every call is recorded; answers are taken from the front
    // of `answers` (the box's default button when it is empty).
    std::vector<MessageBoxCall> boxes;
    std::deque<int> answers;

    // Files and folders, keyed by their path with ASCII letters folded to
    // upper case, as Windows compares them.
    std::map<std::string, std::string> files;       // key -> content
    std::map<std::string, std::uint64_t> fileTimes;  // key -> last SetFileTimes
    std::set<std::string> dirs;                      // keys of existing folders
    std::map<std::string, std::string> spelling;     // key -> path as first created
    std::set<std::string> unwritable;                // keys whose writes fail
    std::set<std::string> unreadableDirs;            // keys that cannot be listed
    // Reads of a file that fail (another program holds it open without
    // sharing it for reading): key -> how many of the next reads fail.
    std::map<std::string, int> readFailures;
    // The results of the next ReplaceFileWith calls, each with its effect:
    // 1175 leaves both files, 1176 deletes the replaced one, 1177 renames it
    // to "~RF0001.TMP" beside it; 0 or an empty queue replaces as asked.
    std::deque<unsigned long> replaceErrors;
    int moveFailures = 0;  // how many of the next MoveFileReplace calls fail
    std::string currentDir;
    std::uint64_t now = 0x01DB000000000000ull;

    std::string commandLine;
    std::string exePath = "C:\\Korvalin\\korvalin.exe";
    std::string userName = "tester";
    bool userNameOk = true;
    plat::Size screen{1280, 1024};
    plat::Rect workArea{0, 0, 1280, 984};
    plat::Rect desktop{0, 0, 1280, 1024};
    // Monitors with their full bounds; none: one monitor covering `desktop`.
    std::vector<plat::Rect> monitors;
    // Text extent in a 12-pixel font: bytes * charWidth by lineHeight; in
    // another font both grow with its height, as the system's do.
    int charWidth = 6, lineHeight = 12;
    int dpi = 96;  // of the monitor where new windows open

    plat::Handle foreground = reinterpret_cast<plat::Handle>(0x1000);
    plat::Handle focus = reinterpret_cast<plat::Handle>(0x2000);

    // The file manager's panel (the handle in `focus`).
    std::vector<PanelItem> panel;
    // "activate", "pending" (own messages dispatched), "sleep 200", "count",
    // "text 3", "sel 3", "keys 2" (one injection of two presses), "open <path>"
    std::vector<std::string> panelLog;
    std::vector<unsigned short> sentKeys;
    std::vector<std::pair<std::string, std::string>> shellOpened;  // path, dir
    // A panel or shell call whose log line begins with this throws
    // std::runtime_error once logged, as a failed allocation would there.
    std::string failOn;

    // The clock and the locale's date texts (those of a Chinese system).
    plat::DateTime localNow{2026, 3, 7, 14, 5, 9, 42, 6};
    plat::LocaleTexts locale = ChineseLocale();

    std::string appTitle;
    bool loopQuit = false;
    // Called when a form is run modally, with the form: the test acts as
    // the user there and ends the run (the form's CloseModal).
    std::function<void(plat::Handle form)> onModal;
    std::vector<Widget*> widgets;  // all live widgets, for lookup
};

World& State();
// Forgets every widget and file; call at the start of each test.
void Reset();

// Path helpers for tests.
std::string Key(const std::string& path);
void AddFile(const std::string& path, const std::string& content = "");
void AddDir(const std::string& path);  // with all its parents
bool HasFile(const std::string& path);
bool HasDir(const std::string& path);
std::string FileContent(const std::string& path);

// The folder above a key ("C:\\" for a root's child, empty for a root).
std::string ParentKey(const std::string& key);
std::string StripSlash(std::string key);
void Remember(const std::string& key, const std::string& path);

Widget* W(plat::Handle h);
// Minimises (1), maximises (2) or restores (0) a form as the system does:
// its bounds become the icon's or the maximised frame's, and the normal
// bounds are kept for a restore.
void SetSizeState(plat::Handle form, int state);
// Tells the widget's form, if it is one, that its size changed.
void Resized(Widget* w);
// Moves a form to a monitor of `dpi` as the system does for a per-monitor
// aware program: the window's dpi changes, and it is told so with the
// bounds the system suggests (its size scaled, its top-left corner kept).
void MoveToDpi(plat::Handle form, int dpi);
// Presses a key where the focus is, as a form's dialog navigation routes
// it: Enter and Escape go to the form unless the focused control takes them,
// every other key goes to the focused control's key handler.
void PressKey(unsigned short key, TShiftState shift = {});
// The live widget with this caption (first match), or null.
Widget* FindByText(const std::string& text);

}  // namespace headless

// Korvalin at other display scales: the display's dots per inch set in the
// prefix's registry (HKCU\Control Panel\Desktop, LogPixels) before Korvalin
// starts, and put back after each case. At 96, 120, 144 and 192 dpi the main
// window, its enlargement to the selected names and the settings dialog
// must show the layout's 96-dpi bounds scaled (within a pixel, the system's
// MulDiv is the reference), in a client area scaled alike.
#include "kvcases.h"
#include "kvdialog.h"

#include "ConfigLayout.h"
#include "MainLayout.h"

namespace kv {
namespace {

namespace L = layout;
namespace M = layout::main;

// Measures in the pixels Korvalin's windows have: a thread that is not dpi
// aware is handed another dpi's windows scaled to its own. The awareness of
// kvtest's thread comes back at the end.
struct AwareThread {
    using Set = HANDLE(WINAPI*)(HANDLE);
    const Set set = (Set)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    const HANDLE old = set ? set((HANDLE)(INT_PTR)-4) : nullptr;
    ~AwareThread() {
        if (set && old) set(old);
    }
};

int Sc(int v, int dpi) { return MulDiv(v, dpi, 96); }
RECT Rc(int l, int t, int w, int h) { return RECT{l, t, l + w, t + h}; }
RECT Scaled(int l, int t, int w, int h, int dpi) { return Rc(Sc(l, dpi), Sc(t, dpi), Sc(w, dpi), Sc(h, dpi)); }
// Every edge and both lengths within a pixel.
bool Near(const RECT& got, const RECT& want) {
    auto within = [](long a, long b) { return std::labs(a - b) <= 1; };
    return within(got.left, want.left) && within(got.top, want.top) &&
           within(got.right - got.left, want.right - want.left) && within(got.bottom - got.top, want.bottom - want.top);
}
// " name at ... want ...;" when control `c` is missing or not Near `want`
// in `top`; "" when in place.
std::string Misplaced(const std::string& name, HWND top, HWND c, const RECT& want, bool dropDown = false) {
    if (!c) return " " + name + " missing;";
    RECT got = BoundsIn(top, c);
    // A closed drop-down list is as high as its font makes it.
    if (dropDown) got.bottom = got.top + (want.bottom - want.top);
    return Near(got, want) ? "" : " " + name + " at " + RectText(got) + " want " + RectText(want) + ";";
}

void CheckMain(const Session& s, int dpi) {
    RECT client = {};
    GetClientRect(s.main, &client);
    Check(Near(client, Scaled(0, 0, M::kMainClientWidth, M::kMainClientHeight, dpi)), "client area",
          RectText(client));
    struct Row {
        const LayoutItem& item;
        int top;  // of its container in the client area
    } rows[] = {{M::mmoFileNames, 0}, {M::btnConfig, M::pnlBottom.Top}, {M::btnNaming, M::pnlBottom.Top},
                {M::btnOk, M::pnlBottom.Top}, {M::btnCancel, M::pnlBottom.Top}};
    std::string bad;
    for (const Row& r : rows) {
        const RECT want = Scaled(r.item.Left, r.top + r.item.Top, r.item.Width, r.item.Height, dpi);
        bad += Misplaced(r.item.Name, s.main, Control(s.main, r.item.Id), want);
    }
    Check(bad.empty(), "text box and buttons at the layout scaled", bad);
}

void CheckDialog(HWND dlg, int dpi) {
    auto C = [&](const LayoutItem& i) { return Control(dlg, i.Id); };
    std::string bad;
    for (const Placed& p : kDialogControls) {
        const LayoutItem& e = p.item;
        // Measured from where the container lies: a page where the tab
        // control puts it, a group box or panel where its own scaled bounds
        // put it.
        const RECT in = p.in ? BoundsIn(dlg, C(*p.in)) : RECT{};
        RECT want = Scaled(e.Left, e.Top, e.Width, e.Height, dpi);
        OffsetRect(&want, in.left, in.top);
        bad += Misplaced(e.Name, dlg, C(e), want, e.Kind == plat::Kind::ComboBox);
    }
    // The frames' own controls are measured at 96 dpi by the config group,
    // and at scale exactly on the headless backend.
    Check(bad.empty(), "every control of the dialog at the layout scaled", bad);
    RECT client = {};
    GetClientRect(dlg, &client);
    Check(Near(client, Scaled(0, 0, L::kConfigClientWidth, L::kConfigClientHeight, dpi)), "dialog client area",
          RectText(client));
    // The frames' list boxes: the item height is scaled too.
    long item = (long)SendMessageA(Control(C(L::frmSeparator), L::frmListBox.Id), LB_GETITEMHEIGHT, 0, 0);
    Check(std::labs(item - Sc(L::kConfigFrameItemHeight, dpi)) <= 1, "list items as high as the layout scaled",
          std::to_string(item));
}

void CaseScale(int dpi) {
    g_case = "dpi/" + std::to_string(dpi);
    UserRegistry pixels("Control Panel\\Desktop", {UserRegistry::Dword("LogPixels", dpi)});
    if (!Check(pixels.ok, "LogPixels set to " + std::to_string(dpi))) return;
    AwareThread aware;
    {
        Session s;
        if (!s.Open()) return;
        CheckMain(s, dpi);
        if (dpi == 144) Check(Screenshot(BuildFile("dpi144-main.png")), "screenshot of the main window");

        if (HWND dlg = OpenSettings(s)) {
            CheckDialog(dlg, dpi);
            HWND tabs = Control(dlg, L::pgcOptions.Id);
            for (int page = 0; dpi == 144 && page < 3; ++page) {
                if (page) {
                    Chord({VK_CONTROL, VK_TAB});
                    Poll([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; }, 3000);
                    Sleep(200);  // the page painted
                }
                Check(Screenshot(BuildFile("dpi144-page" + std::to_string(page + 1) + ".png")),
                      "screenshot of page " + std::to_string(page + 1));
            }
            Chord({VK_ESCAPE});
            Check(SettingsClosed(s), "Escape closes the dialog");
        }
        Check(s.Close(), "Escape closes the main window");
    }

    g_case = "dpi/" + std::to_string(dpi) + " enlargement";
    Session s;
    const std::vector<std::string> names = {"the first selected name of three.txt",
                                            "a somewhat longer second selected name, the longest.md", "third.txt"};
    std::vector<std::string> args;
    for (const std::string& n : names) {
        WriteAll(s.run.demo + n, "");
        args.insert(args.end(), {"--select", n});
    }
    if (!s.Open("[FileList]\r\nInitBySelect=1\r\nAutoSizeOnInit=1\r\nInitPathType=1\r\n", args)) return;
    long lines = 0;
    Poll([&] { return (lines = (long)SendMessageA(s.edit, EM_GETLINECOUNT, 0, 0)) == 3; }, 3000);
    CheckEq(lines, 3, "three selected names listed");
    Sleep(200);
    CheckLinesInSight(s.edit, "the enlarged window shows every selected name whole");
    Check(s.Close(), "Escape closes the main window");
}

}  // namespace

void CaseDpiGroup() {
    for (int dpi : {96, 120, 144, 192}) CaseScale(dpi);
}

}  // namespace kv

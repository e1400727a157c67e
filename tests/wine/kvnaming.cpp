// The naming menu of Korvalin's real window: Alt+N opens it, letters and
// arrows walk to an entry, Enter applies it, and the text box's lines are
// read back as the user sees them.
#include "kvcases.h"

namespace kv {
namespace {

struct Row {
    const char* what;
    std::vector<std::string> fmArgs;
    std::string lines;
    std::vector<WORD> keys;  // after Alt+N
    std::string want;
};

// Today in `format`, given the year, month, day and the system's short day
// name (of the default pattern yyyy_mm_dd_ddd).
std::string Today(const char* format) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char day[64] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + (t.wDayOfWeek + 6) % 7, day, sizeof day);
    char b[128];
    snprintf(b, sizeof b, format, t.wYear, t.wMonth, t.wDay, day);
    return b;
}

}  // namespace

void CaseNamingGroup() {
    const std::string naming = "[FileList]\r\nInitBySelect=0\r\n[Naming]\r\nCommonUse=abc|报告\r\n";

    // Twelve lines for the numbered prefix, a path and a folder among them.
    std::vector<std::string> in = Series(1, 12, "f%d.txt"), want = Series(1, 12, "%02d-");
    for (size_t i = 0; i < in.size(); ++i) want[i] += in[i];
    in[2] = "docs\\plan.doc";
    want[2] = "docs\\03-plan.doc";
    in[11] = "photos\\";
    want[11] = "12-photos\\";
    const Row rows[] = {
        // 前缀(&P), 数字序号(&N), 从&1开始; then the fourth entry, "01-". The final break is kept.
        {"numbered prefix", {}, Join(in) + "\r\n", {'P', 'N', '1', VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
         Join(want) + "\r\n"},
        // 常用语(&C), abc; the seventh entry is the wrapper ( ).
        {"wrapper", {}, "x.txt\r\n\r\ny", {'P', 'C', VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN,
                                           VK_RETURN},
         "(abc)x.txt\r\n\r\n(abc)y"},
        // 大小写(&C), 首字母大写(&A) runs at once: its accelerator is its own.
        {"title case", {}, "新建abc文件.TXT\r\nmy 报告 FILE.doc\r\nsub dir\\o'neil", {'C', 'A'},
         "新建Abc文件.TXT\r\nMy 报告 File.doc\r\nsub dir\\O'Neil"},
        // 乤 is 0x81 0x61: its second byte is no letter a. The caret goes
        // before the final break however many bytes a character has.
        {"upper case, final break", {}, "新建abc文件.txt\r\n乤x\r\nsub\\read me\r\n", {'C', 'U'},
         "新建ABC文件.txt\r\n乤X\r\nsub\\READ ME\r\n"},
        // 空格(&A); Down passes the separator lines: the third entry is
        // spaces to "." and the fourth spaces to "-".
        {"spaces to -", {}, "my file name.txt\r\na  b", {'A', VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
         "my-file-name.txt\r\na--b"},
        {"- to spaces", {}, "my-file-name.txt\r\nx-y\\", {'A', VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN,
                                                        VK_DOWN, VK_RETURN},
         "my file name.txt\r\nx y\\"},
        {"OnlyDir suffix", {"--onlydir"}, "abc\r\nd.e", {'S', 'N', '1', VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
         "abc-1\\\r\nd.e-2\\"},
        {"day name suffix", {}, "x.txt", {'S', 'D', VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN},
         Today("x%04d_%02d_%02d_%s.txt")},
    };
    for (const Row& r : rows) {
        g_case = std::string("naming/") + r.what;
        Session s;
        if (!s.Open(naming, r.fmArgs)) continue;
        s.SetLines(r.lines);
        if (Check(s.Apply(r.keys, r.what), "the lines change")) CheckEq(TextOf(s.edit), r.want, "the lines");
        DWORD_PTR sel = 0, undo = 1;
        SendMessageTimeoutA(s.edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &sel);
        SendMessageTimeoutA(s.edit, EM_CANUNDO, 0, 0, SMTO_ABORTIFHUNG, 3000, &undo);
        // In characters, as the text box counts; the last line ends before a final line break.
        const bool finalBreak = r.want.size() >= 2 && r.want.compare(r.want.size() - 2, 2, "\r\n") == 0;
        const long end = (long)Wide(r.want).size() - (finalBreak ? 2 : 0);
        CheckEq((long)LOWORD(sel), end, "caret at the end of the last line");
        CheckEq((long)HIWORD(sel), end, "nothing selected");
        CheckEq((long)undo, 0, "nothing to undo");
    }

    // Opened twice, the menu adds nothing: the space submenu keeps its size.
    {
        g_case = "naming/opened twice";
        Session s;
        if (s.Open(naming)) {
            s.SetLines("a b");
            RECT first = {}, second = {};
            for (RECT* r : {&first, &second}) {
                if (!Check(s.OpenMenu(), "Alt+N opens the menu")) break;
                HWND top = s.Popup(), sub = nullptr;
                if (r == &first) {
                    RECT b = Bounds(Control(s.main, 102)), m = Bounds(top);
                    Check(m.left == b.left && m.top == b.bottom, "the menu opens at the button's bottom-left corner",
                          RectText(m) + " against the button " + RectText(b));
                }
                Keys({'A'});
                Poll([&] {
                    for (HWND h : TopWindows(s.run.kvPid))
                        if (IsWindowVisible(h) && ClassOf(h) == "#32768" && h != top) sub = h;
                    return sub != nullptr;
                }, 3000);
                if (sub) GetWindowRect(sub, r);
                Keys({VK_ESCAPE, VK_ESCAPE});
                Poll([&] { return s.Popup() == nullptr; }, 2000);
            }
            // Two blank entries, two lines and eight entries of spaces and separators.
            Check(first.bottom - first.top > 150, "the space submenu shows", RectText(first));
            CheckEq(RectText(second), RectText(first), "the same size the second time");
            CheckEq(TextOf(s.edit), "a b", "the lines untouched");
        }
    }

    // 乗 ends in the byte 0x5C and is still a file; 乗\ is a folder.
    {
        g_case = "naming/乗 confirmed";
        Session s;
        if (s.Open(naming)) {
            s.SetLines("乗\r\n乗乗\\");
            s.Confirm();
            CheckExit(s, "Korvalin ends", 0, 15000);
            Check(Exists(s.run.demo + "乗") && !IsDir(s.run.demo + "乗"), "乗 is a file");
            Check(IsDir(s.run.demo + "乗乗"), "乗乗\\ is a folder named 乗乗");
        }
    }
}

}  // namespace kv

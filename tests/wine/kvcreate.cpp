// The creating side of Korvalin, driven through its real window: the initial
// list from the panel's selection, typed lines turned into files and
// folders, templates, the replace and failure questions, and input that is
// too long, too much or made of odd bytes. Files are checked on disk.
#include "kvdriver.h"

#include <cstdint>

namespace kv {
namespace {

// ------------------------------------------------------------ helpers

// "{case}" and "{demo}" stand for the case folder and the panel folder
// (both with their trailing backslash).
std::string Subst(std::string s, const Run& run) {
    const std::pair<std::string, std::string> marks[] = {{"{case}", run.dir}, {"{demo}", run.demo}};
    for (const auto& m : marks)
        for (size_t p; (p = s.find(m.first)) != std::string::npos;) s.replace(p, m.first.size(), m.second);
    return s;
}

std::vector<std::string> Subst(std::vector<std::string> v, const Run& run) {
    for (auto& s : v) s = Subst(s, run);
    return v;
}

bool SetText(HWND edit, const std::string& text) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 10000, &r) && r;
}

// Enter as the keyboard gives it. Korvalin's message loop translates the
// key into its character itself; posting a WM_CHAR as well would make two,
// which no keyboard does.
void Confirm(HWND edit) { Key(edit, VK_RETURN); }

std::string Caption(HWND main) { return TextOf(main); }

// The main window, once its show step has put the panel folder into the
// caption; nullptr when it does not come.
HWND OpenMain(Run& run, const std::vector<std::string>& fmArgs, HWND& edit) {
    edit = nullptr;
    if (!run.Start(fmArgs)) return nullptr;
    HWND main = run.WaitMain();
    if (main) edit = Control(main, 100);
    if (!Check(edit != nullptr, "main window with its text box appears",
               VisibleWindow(run.kvPid, "#32770")
                   ? "a message box came instead: " + Show(ReadBox(VisibleWindow(run.kvPid, "#32770")).text)
                   : ""))
        return nullptr;
    Poll([&] { return Caption(main).find(" - ") != std::string::npos; }, 3000);
    Sleep(150);  // the rest of the show step: list, sizing, hint
    return main;
}

void WriteIni(const Run& run, const std::string& fileListKeys) {
    std::string t = "[FileList]\r\n";
    for (size_t i = 0; i < fileListKeys.size();) {
        size_t e = fileListKeys.find(' ', i);
        if (e == std::string::npos) e = fileListKeys.size();
        if (e > i) t += Subst(fileListKeys.substr(i, e - i), run) + "\r\n";
        i = e + 1;
    }
    WriteAll(run.ini, t);
}

// Names of a folder's entries, without "." and "..".
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> r;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return r;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") r.push_back(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(r.begin(), r.end());
    return r;
}

// A line as a name: bytes from 0 to 32 at either end do not count.
std::string TrimForName(const std::string& l) {
    size_t a = 0, b = l.size();
    while (a < b && (unsigned char)l[a] <= 32) ++a;
    while (b > a && (unsigned char)l[b - 1] <= 32) --b;
    return l.substr(a, b - a);
}

bool IsFile(const std::string& p) { return Exists(p) && !IsDir(p); }

uint64_t U64(const FILETIME& f) { return ((uint64_t)f.dwHighDateTime << 32) | f.dwLowDateTime; }

uint64_t Now() {
    FILETIME f;
    GetSystemTimeAsFileTime(&f);
    return U64(f);
}

std::string TimeText(uint64_t t) {
    FILETIME f = {(DWORD)t, (DWORD)(t >> 32)};
    SYSTEMTIME s = {};
    FileTimeToSystemTime(&f, &s);
    char b[64];
    snprintf(b, sizeof b, "%04u-%02u-%02u %02u:%02u:%02u.%03u", s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute,
             s.wSecond, s.wMilliseconds);
    return b;
}

// Creation, last-access and last-write time, read without opening the file.
bool FileTimes(const std::string& p, uint64_t t[3]) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &d)) return false;
    t[0] = U64(d.ftCreationTime);
    t[1] = U64(d.ftLastAccessTime);
    t[2] = U64(d.ftLastWriteTime);
    return true;
}

// 2001-01-01: far enough back that a copied time cannot pass for "now".
bool MakeOld(const std::string& p) {
    SYSTEMTIME s = {2001, 1, 1, 1, 12, 0, 0, 0};
    FILETIME f;
    SystemTimeToFileTime(&s, &f);
    HANDLE h = CreateFileA(p.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = SetFileTime(h, &f, &f, &f);
    CloseHandle(h);
    uint64_t t[3];
    return ok && FileTimes(p, t) && t[2] == U64(f);
}

// All three times of a new file lie between the confirm and the end of the
// run; a second of slack for file systems that keep coarser times.
void CheckFreshTimes(const std::string& p, uint64_t from, uint64_t to, const std::string& what) {
    const uint64_t slack = 10000000ull;
    uint64_t t[3];
    if (!Check(FileTimes(p, t), what + ": times readable")) return;
    const char* names[3] = {"creation", "last-access", "last-write"};
    std::string bad;
    for (int i = 0; i < 3; ++i)
        if (t[i] + slack < from || t[i] > to + slack)
            bad += std::string(bad.empty() ? "" : "; ") + names[i] + " " + TimeText(t[i]);
    Check(bad.empty(), what + ": creation, last-access and last-write time are the moment of creation",
          bad + " (run " + TimeText(from) + " to " + TimeText(to) + ")");
}

// The current directory of another (32-bit) process, from its process
// parameters: PEB+0x10 points to them, their CurrentDirectory.DosPath (a
// counted UTF-16 string) sits at +0x24.
std::string CurrentDirOf(DWORD pid) {
    typedef LONG(WINAPI * QueryFn)(HANDLE, int, PVOID, ULONG, PULONG);
    auto query = (QueryFn)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!query || !h) {
        if (h) CloseHandle(h);
        return "(cannot open the process)";
    }
    struct {
        LONG exitStatus;
        BYTE* peb;
        ULONG_PTR affinity;
        LONG priority;
        ULONG_PTR pid, parent;
    } info = {};
    ULONG len = 0;
    // Where the process parameters and their current folder lie in the
    // 32-bit and the 64-bit layouts of the process block.
    const size_t kPebParams = sizeof(void*) == 8 ? 0x20 : 0x10;
    const size_t kParamsCurDir = sizeof(void*) == 8 ? 0x38 : 0x24;
    BYTE* params = nullptr;
    struct {
        USHORT length, room;
        WCHAR* buffer;
    } dos = {};
    std::wstring w;
    if (query(h, 0, &info, sizeof info, &len) == 0 &&
        ReadProcessMemory(h, info.peb + kPebParams, &params, sizeof params, nullptr) &&
        ReadProcessMemory(h, params + kParamsCurDir, &dos, sizeof dos, nullptr)) {
        w.assign(dos.length / 2, L'\0');
        if (!w.empty() && !ReadProcessMemory(h, dos.buffer, &w[0], dos.length, nullptr)) w.clear();
    }
    CloseHandle(h);
    if (w.empty()) return "(unreadable)";
    std::string a(w.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), (int)w.size(), &a[0], (int)a.size(), nullptr, nullptr);
    a.resize(n > 0 ? n : 0);
    return a;
}

// Which standard icon a message box shows: its icon control's pixels on the
// screen against the standard icons drawn here on the same background.
std::string IconOf(HWND dlg) {
    HWND icon = nullptr;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Static" && IsWindowVisible(c) &&
            (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = c;
    if (!icon) return "none";
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    POINT at = {0, 0};
    ClientToScreen(icon, &at);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    auto pixels = [&] {
        std::vector<DWORD> px(w * h);
        GetDIBits(mem, bmp, 0, h, px.data(), &bi, DIB_RGB_COLORS);
        return px;
    };
    BitBlt(mem, 0, 0, w, h, screen, at.x, at.y, SRCCOPY);
    std::vector<DWORD> shown = pixels();
    const COLORREF bg = GetPixel(mem, 0, 0);
    struct Std {
        const char* name;
        LPCSTR id;
    };
    const Std stds[] = {{"stop", IDI_HAND}, {"exclamation", IDI_EXCLAMATION},
                        {"question", IDI_QUESTION}, {"information", IDI_ASTERISK}};
    std::string best = "unclear";
    double bestDiff = 1e18;
    for (const Std& s : stds) {
        RECT r = {0, 0, w, h};
        HBRUSH b = CreateSolidBrush(bg);
        FillRect(mem, &r, b);
        DeleteObject(b);
        DrawIconEx(mem, 0, 0, LoadIconA(nullptr, s.id), w, h, 0, nullptr, DI_NORMAL);
        std::vector<DWORD> ref = pixels();
        double d = 0;
        for (size_t i = 0; i < ref.size(); ++i)
            for (int sh = 0; sh < 24; sh += 8) d += std::abs((int)((ref[i] >> sh) & 255) - (int)((shown[i] >> sh) & 255));
        if (d < bestDiff) {
            bestDiff = d;
            best = s.name;
        }
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    // Far from every standard icon: not painted yet, or something else.
    return bestDiff / (w * h * 3) < 8 ? best : "unclear";
}

struct SeenBox {
    Box box;
    HWND owner = nullptr;
    std::string icon;
};

// The next message box of Korvalin's, read once its text is there; false
// when Korvalin ended or no box came within `ms`.
bool NextBox(Run& run, SeenBox& out, DWORD ms, bool withIcon) {
    HWND dlg = nullptr;
    Poll([&] {
        dlg = VisibleWindow(run.kvPid, "#32770");
        return (dlg && GetDlgItem(dlg, 0xFFFF) && !TextOf(GetDlgItem(dlg, 0xFFFF)).empty()) || run.KorvalinEnded(0);
    }, ms);
    if (!dlg || !IsWindow(dlg)) return false;
    out.box = ReadBox(dlg);
    out.owner = GetWindow(dlg, GW_OWNER);
    out.icon.clear();
    if (withIcon) Poll([&] { return (out.icon = IconOf(dlg)) != "unclear"; }, 3000);
    return true;
}

void Answer(const SeenBox& b, int id) {
    Press(b.box.hwnd, id);
    Poll([&] { return !IsWindow(b.box.hwnd) || !IsWindowVisible(b.box.hwnd); }, 5000);
}

// Answers Yes to every box until Korvalin ends; the boxes in order.
std::vector<SeenBox> YesToAll(Run& run, DWORD ms) {
    std::vector<SeenBox> seen;
    const DWORD start = GetTickCount();
    SeenBox b;
    while (GetTickCount() - start < ms && NextBox(run, b, ms - (GetTickCount() - start), false)) {
        seen.push_back(b);
        Answer(b, GetDlgItem(b.box.hwnd, IDYES) ? IDYES : IDOK);
    }
    return seen;
}

std::string BoxTexts(const std::vector<SeenBox>& boxes) {
    std::string r;
    for (const auto& b : boxes) r += (r.empty() ? "" : ", ") + Show(b.box.text);
    return r;
}

// The end of a run that should close by itself: no box on the way, exit 0.
void CheckEnds(Run& run, DWORD ms = 15000) {
    std::vector<SeenBox> boxes = YesToAll(run, ms);
    Check(boxes.empty(), "no message box", BoxTexts(boxes));
    Check(run.KorvalinEnded(0), "the window closes after the last line");
    int code = 0;
    if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
}

std::string ButtonsText(const Box& b) {
    std::string r;
    for (int id : b.buttons) r += (r.empty() ? "" : ",") + std::to_string(id);
    return r + " default " + std::to_string(b.defButton);
}

// A Yes/No question of the main window, as the user sees it.
void CheckQuestion(const SeenBox& b, HWND main, const std::string& caption, const std::string& text,
                   int defButton, const char* icon) {
    CheckEq(b.box.text, text, "question text");
    CheckEq(b.box.title, caption, "question title is the window's caption");
    CheckEq(ButtonsText(b.box), "6,7 default " + std::to_string(defButton),
            std::string("Yes and No, ") + (defButton == IDYES ? "Yes" : "No") + " the default");
    CheckEq(b.icon, icon, std::string(icon) + " icon");
    Check(b.owner == main, "the main window owns the question");
}

// ------------------------------------------------------------ initial list

// A selection fills the text box, the window fits it, and the panel folder
// becomes Korvalin's current directory.
void CaseInitList() {
    enum Size { kAny, kDesigned, kGrown };
    struct Row {
        const char* name;
        const char* ini;  // [FileList] keys; a missing key has its default, on for most flags
        std::vector<std::string> fmArgs;
        std::vector<std::string> lines;  // the text box, line by line
        bool onlyDir;
        const char* panel;
        Size size;
    };
    const std::vector<std::string> four = {"--select", "old folder", "--select", "a.b.txt", "--select", "a.txt",
                                           "--select", "b c.txt"};
    const std::string kLongName = "a name long enough that the designed width cannot show it.txt";
    const std::vector<std::string> grows = {"--select", "old folder", "--select", "a.b.txt", "--select", "a.txt",
                                            "--select", kLongName};
    const std::vector<std::string> dotted = {"--onlydir", "--select", "old.files", "--select", ".cfg", "--select",
                                             "a.b.txt"};
    const Row rows[] = {
        // The long name makes the width grow however short the case folder's path is.
        {"full paths, window grows", "InitBySelect=1 AutoSizeOnInit=1 NoExtOnlyDir=1", grows,
         {"{demo}old folder\\", "{demo}" + kLongName, "{demo}a.b.txt", "{demo}a.txt"}, false, "{demo}", kGrown},
        {"names only", "InitBySelect=1 AutoSizeOnInit=0 InitPathType=1", four, {"old folder\\", "a.b.txt", "a.txt", "b c.txt"},
         false, "{demo}", kDesigned},
        {"OnlyDir drops the last extension of files", "InitBySelect=1 AutoSizeOnInit=0 NoExtOnlyDir=1", dotted,
         {"{demo}old.files\\", "{demo}", "{demo}a.b"}, true, "{demo}", kDesigned},
        {"OnlyDir names only", "InitBySelect=1 NoExtOnlyDir=1 InitPathType=1", dotted, {"old.files\\", "", "a.b"},
         true, "{demo}", kAny},
        {"OnlyDir keeps extensions without NoExtOnlyDir", "InitBySelect=1 NoExtOnlyDir=0", dotted,
         {"{demo}old.files\\", "{demo}.cfg", "{demo}a.b.txt"}, true, "{demo}", kAny},
        {"InitBySelect off", "InitBySelect=0 AutoSizeOnInit=1", four, {}, false, "{demo}", kDesigned},
        {"nothing selected", "InitBySelect=1 AutoSizeOnInit=1", {}, {}, false, "{demo}", kDesigned},
        {"unquoted panel path with blanks", "InitBySelect=1 AutoSizeOnInit=1", {"--raw", "{case}my work\\"}, {},
         false, "{case}my work\\", kDesigned},
        {"selection outside the start folder", "InitBySelect=1", {"--raw", "\"{case}my work\\x y.txt\""},
         {"{case}my work\\x y.txt"}, false, "{case}my work\\", kAny},
    };
    for (const auto& row : rows) {
        g_case = std::string("initlist/") + row.name;
        Run run;
        CreateDirectoryA((run.demo + "old.files").c_str(), nullptr);
        WriteAll(run.demo + "a.b.txt", "");
        WriteAll(run.demo + ".cfg", "");
        WriteAll(run.demo + kLongName, "");
        CreateDirectoryA((run.dir + "my work").c_str(), nullptr);
        WriteAll(run.dir + "my work\\x y.txt", "");
        WriteIni(run, row.ini);
        HWND edit = nullptr;
        HWND main = OpenMain(run, Subst(row.fmArgs, run), edit);
        if (!main) continue;
        const std::string panel = Subst(row.panel, run);
        CheckEq(Caption(main), std::string("Korvalin - ") + (row.onlyDir ? "OnlyDir - " : "") + panel, "caption");
        const std::string want = Join(Subst(row.lines, run));
        const std::string text = TextOf(edit);
        CheckEq(text, want, "text box lines");
        if (!want.empty()) {
            DWORD_PTR sel = 0;
            SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &sel);
            CheckEq(std::to_string(LOWORD(sel)) + "-" + std::to_string(HIWORD(sel)),
                    "0-" + std::to_string(text.size()), "the whole text is selected");
        }
        RECT client = {};
        GetClientRect(main, &client);
        const std::string size = std::to_string(client.right) + "x" + std::to_string(client.bottom);
        if (row.size == kDesigned) CheckEq(size, "384x111", "window keeps its designed size");
        if (row.size == kGrown) {
            RECT work = {}, r = Bounds(main);
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            Check(client.right > 384 && client.bottom > 111, "window grows", "client " + size);
            Check(r.right - r.left <= work.right - work.left && r.bottom - r.top <= work.bottom - work.top,
                  "window stays within the work area", RectText(r));
            // Every line visible: neither scrolled sideways nor below the box.
            RECT box = {};
            GetClientRect(edit, &box);
            std::string bad;
            size_t start = 0;
            for (const auto& l : Subst(row.lines, run)) {
                DWORD_PTR first = 0, last = 0;
                SendMessageTimeoutA(edit, EM_POSFROMCHAR, start, 0, SMTO_ABORTIFHUNG, 3000, &first);
                SendMessageTimeoutA(edit, EM_POSFROMCHAR, start + l.size() - 1, 0, SMTO_ABORTIFHUNG, 3000, &last);
                const int x0 = (short)LOWORD(first), x1 = (short)LOWORD(last), y1 = (short)HIWORD(last);
                if (x0 < 0 || x1 >= box.right || y1 < 0 || y1 >= box.bottom)
                    bad += (bad.empty() ? "" : "; ") + l + " at x " + std::to_string(x0) + ".." +
                           std::to_string(x1) + " y " + std::to_string(y1);
                start += l.size() + 2;
            }
            Check(bad.empty(), "every line fits in the text box",
                  bad + " (box " + std::to_string(box.right) + "x" + std::to_string(box.bottom) + ")");
        }
        CheckEq(CurrentDirOf(run.kvPid), panel, "the panel folder is the current directory");
        Key(edit, VK_ESCAPE);
        int code = 0;
        if (Check(run.ExitCode(code), "Escape ends korvalin")) CheckEq(code, 0, "exit code");
    }
}

// ------------------------------------------------------------ typed lines

// Typed lines become files and folders, relative to the panel or absolute.
void CaseLines() {
    struct Row {
        const char* name;
        std::vector<std::string> fmArgs;
        std::vector<std::string> lines;
        std::vector<std::string> files, folders, absent;
    };
    const Row rows[] = {
        {"relative and absolute",
         {},
         {"  new.txt \t", "folder1\\", "folder2/", "sub\\a.txt", "\t{case}abs.txt", "{case}absdir\\",
          "{case}deep/er/", "", " \t "},
         {"{demo}new.txt", "{demo}sub\\a.txt", "{case}abs.txt"},
         {"{demo}folder1", "{demo}folder2", "{demo}sub", "{case}absdir", "{case}deep\\er"},
         {"{demo}  new.txt"}},
        {"OnlyDir",
         {"--onlydir"},
         {"plain", "with.dot", "sub/a.txt", "{case}abs.only", "slash\\"},
         {},
         {"{demo}plain", "{demo}with.dot", "{demo}sub\\a.txt", "{case}abs.only", "{demo}slash"},
         {}},
        {"empty text box", {}, {}, {}, {}, {}},
        {"blank lines only", {}, {"", "  ", "\t", ""}, {}, {}, {}},
    };
    for (const auto& row : rows) {
        g_case = std::string("lines/") + row.name;
        Run run;
        const std::vector<std::string> before = Entries(run.demo);
        HWND edit = nullptr;
        if (!OpenMain(run, row.fmArgs, edit)) continue;
        const std::string text = Join(Subst(row.lines, run));
        if (!Check(SetText(edit, text) && TextOf(edit) == text, "text set")) continue;
        Confirm(edit);
        CheckEnds(run);
        for (const auto& f : Subst(row.files, run)) {
            std::string data = "?";
            Check(IsFile(f) && ReadAll(f, data) && data.empty(), "empty file " + f);
        }
        for (const auto& d : Subst(row.folders, run)) Check(IsDir(d), "folder " + d);
        for (const auto& a : Subst(row.absent, run)) Check(!Exists(a), "nothing named " + Show(a));
        if (row.files.empty() && row.folders.empty())
            Check(Entries(run.demo) == before, "nothing is created in the panel folder");
    }
}

// ------------------------------------------------------------ templates

struct TemplateFileData {
    const char* name;
    std::string data;
};

// Contents that a text-mode or truncating copy would change.
const std::string kDataA("md any\r\n\0\x1A\xFF\n", 12);
const std::string kDataB("readme \x80\x81\r\r\n\0tail", 17);
const std::string kDataC("txt fallback\n\0\0\x7F", 16);
const std::string kDataD("elsewhere\r\n", 11);
const std::string kDataE("elsewhere md\0", 13);

// New files copy the template that fits, byte for byte, with times of their own.
void CaseTemplates() {
    struct Made {
        const char* line;
        std::string data;
    };
    struct Row {
        const char* name;
        const char* ini;                           // [FileList] keys, or nothing: no ini
        std::vector<TemplateFileData> beside;      // in Templates\ beside the program
        std::vector<TemplateFileData> elsewhere;   // in {case}tpl\ .
        bool tplIsFile;                            // {case}tplfile is a file
        std::vector<Made> made;
    };
    const Row rows[] = {
        {"by pattern and by fallback", nullptr,
         {{"%.md", kDataA}, {"readme%.md", kDataB}, {"template.txt", kDataC}}, {}, false,
         {{"notes.md", kDataA}, {"README.MD", kDataB}, {"sub\\new.txt", kDataC}, {"plain.py", ""}, {"LICENSE", ""}}},
        {"default folder is created", nullptr, {}, {}, false, {{"new.txt", ""}}},
        {"TemplatePath folder", "TemplatePath={case}tpl", {{"template.txt", kDataC}},
         {{"template.txt", kDataD}, {"%.md", kDataE}}, false, {{"new.txt", kDataD}, {"x.md", kDataE}}},
        {"TemplatePath is a file", "TemplatePath={case}tplfile", {{"template.txt", kDataC}}, {}, true,
         {{"new.txt", ""}, {"x.md", ""}}},
        {"TemplatePath cannot be made", "TemplatePath={case}bad|dir\\", {{"template.txt", kDataC}}, {}, false,
         {{"new.txt", ""}}},
    };
    for (const auto& row : rows) {
        g_case = std::string("templates/") + row.name;
        Run run;
        if (row.ini) WriteIni(run, row.ini);
        const std::string beside = run.dir + "Templates\\", elsewhere = run.dir + "tpl\\";
        bool ready = true;
        for (const auto& set : {std::make_pair(&row.beside, beside), std::make_pair(&row.elsewhere, elsewhere)}) {
            if (set.first->empty()) continue;
            CreateDirectoryA(set.second.c_str(), nullptr);
            for (const auto& t : *set.first)
                ready = WriteAll(set.second + t.name, t.data) && MakeOld(set.second + t.name) && ready;
        }
        if (row.tplIsFile) ready = WriteAll(run.dir + "tplfile", "not a folder") && ready;
        if (!Check(ready, "templates in place")) continue;

        HWND edit = nullptr;
        if (!OpenMain(run, {}, edit)) continue;
        std::vector<std::string> lines;
        for (const auto& m : row.made) lines.push_back(m.line);
        SetText(edit, Join(lines));
        const uint64_t from = Now();
        Confirm(edit);
        CheckEnds(run);
        const uint64_t to = Now();
        for (const auto& m : row.made) {
            const std::string p = run.demo + m.line;
            std::string data = "(missing)";
            if (!Check(IsFile(p) && ReadAll(p, data), std::string("file ") + m.line)) continue;
            Check(data == m.data, std::string("file ") + m.line + (m.data.empty() ? " is empty" : " is the template's copy"),
                  "got " + Show(data) + ", want " + Show(m.data));
            if (!m.data.empty()) CheckFreshTimes(p, from, to, m.line);
        }
        if (!row.ini) Check(IsDir(beside), "Templates\\ beside the program exists");
        if (row.tplIsFile) {
            std::string data;
            Check(IsFile(run.dir + "tplfile") && ReadAll(run.dir + "tplfile", data) && data == "not a folder",
                  "the file named as template folder is left alone");
        }
    }
}

// ------------------------------------------------------------ questions

// A file that exists: the user is asked, and No leaves it exactly as it was.
void CaseReplace() {
    struct Row {
        const char* name;
        bool tpl;
        int answer;
        std::string want;
    };
    const std::string old = "alpha\r\n";  // a.txt as every case folder has it
    const Row rows[] = {
        {"No keeps the file", true, IDNO, old},
        {"Yes copies the template", true, IDYES, kDataC},
        {"Yes without a template empties it", false, IDYES, ""},
    };
    for (const auto& row : rows) {
        g_case = std::string("replace/") + row.name;
        Run run;
        if (row.tpl) {
            CreateDirectoryA((run.dir + "Templates").c_str(), nullptr);
            WriteAll(run.dir + "Templates\\template.txt", kDataC);
        }
        const std::string target = run.demo + "a.txt";
        MakeOld(target);
        uint64_t oldTimes[3] = {};
        FileTimes(target, oldTimes);
        HWND edit = nullptr;
        HWND main = OpenMain(run, {}, edit);
        if (!main) continue;
        const std::string caption = Caption(main);
        SetText(edit, "a.txt\r\nnext.txt");
        Confirm(edit);
        SeenBox b;
        if (Check(NextBox(run, b, 10000, true), "a question comes")) {
            CheckQuestion(b, main, caption, target + " 已存在。\r\n要替换它吗?", IDNO, "exclamation");
            Answer(b, row.answer);
        }
        CheckEnds(run);
        std::string data = "(missing)";
        ReadAll(target, data);
        Check(data == row.want, row.answer == IDNO ? "the file is unchanged byte for byte" : "the file is replaced",
              "got " + Show(data) + ", want " + Show(row.want));
        uint64_t t[3] = {};
        FileTimes(target, t);
        if (row.answer == IDNO) Check(t[2] == oldTimes[2], "its last-write time is unchanged", TimeText(t[2]));
        Check(IsFile(run.demo + "next.txt"), "the next line is created");
    }
}

// A line that cannot be created: asked whether to go on; No keeps the window.
void CaseFailures() {
    {
        g_case = "failures/bad file name: No, then Yes";
        Run run;
        HWND edit = nullptr;
        HWND main = OpenMain(run, {}, edit);
        if (main) {
            const std::string caption = Caption(main);
            const std::string text = "ok1.txt\r\nbad|name.txt\r\nok2.txt";
            SetText(edit, text);
            Confirm(edit);
            SeenBox b;
            if (Check(NextBox(run, b, 10000, true), "a question comes")) {
                CheckQuestion(b, main, caption, "Cannot create file " + run.demo + "bad|name.txt\r\n是否继续？", IDYES,
                              "stop");
                Answer(b, IDNO);
            }
            Sleep(500);
            Check(!run.KorvalinEnded(0) && IsWindowVisible(main), "No keeps the window open");
            CheckEq(TextOf(edit), text, "the text box keeps its lines, with no line break from Enter");
            Check(IsFile(run.demo + "ok1.txt"), "the line before is created");
            Check(!Exists(run.demo + "ok2.txt"), "the line after is not");
            // Again from the first line: ok1.txt exists now.
            Confirm(edit);
            if (Check(NextBox(run, b, 10000, false), "confirming again asks about ok1.txt first")) {
                CheckEq(b.box.text, run.demo + "ok1.txt 已存在。\r\n要替换它吗?", "replace question");
                Answer(b, IDNO);
            }
            if (Check(NextBox(run, b, 10000, false), "then about the bad name")) {
                CheckEq(b.box.text, "Cannot create file " + run.demo + "bad|name.txt\r\n是否继续？", "failure question");
                Answer(b, IDYES);
            }
            CheckEnds(run);
            Check(IsFile(run.demo + "ok2.txt"), "Yes goes on with the next line");
        }
    }
    {
        g_case = "failures/folder where a file is";
        Run run;
        HWND edit = nullptr;
        HWND main = OpenMain(run, {}, edit);
        if (main) {
            const std::string caption = Caption(main);
            SetText(edit, "a.txt\\\r\nafter\\");
            Confirm(edit);
            SeenBox b;
            if (Check(NextBox(run, b, 10000, true), "a question comes")) {
                CheckQuestion(b, main, caption, "Cannot create directory " + run.demo + "a.txt\r\n是否继续？", IDYES,
                              "stop");
                Answer(b, IDYES);
            }
            CheckEnds(run);
            std::string data;
            Check(IsFile(run.demo + "a.txt") && ReadAll(run.demo + "a.txt", data) && data == "alpha\r\n",
                  "the file stays");
            Check(IsDir(run.demo + "after"), "Yes goes on with the next line");
        }
    }
}

// ------------------------------------------------------------ bad input

void CaseLongLines() {
    g_case = "bad-input/100,000-byte lines";
    Run run;
    HWND edit = nullptr;
    if (!OpenMain(run, {}, edit)) return;
    // Only the first 4096 bytes of a line count: the second line is cut
    // inside its blanks and becomes cut.txt.
    const std::string x(100000, 'x');
    const std::string cut = "cut.txt" + std::string(4096 - 7, ' ') + std::string(100000 - 4096, 'z');
    const std::string text = x + "\r\n" + cut + "\r\nafter.txt";
    SetText(edit, text);
    DWORD_PTR len = 0;
    SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len);
    CheckEq((long)len, (long)text.size(), "the text box holds the whole text");
    Confirm(edit);
    std::vector<SeenBox> boxes = YesToAll(run, 30000);
    const std::string want = "Cannot create file " + run.demo + std::string(4096, 'x') + "\r\n是否继续？";
    Check(boxes.size() == 1 && boxes[0].box.text == want,
          "one question, for the first 4096 bytes of the long line",
          std::to_string(boxes.size()) + " boxes" +
              (boxes.empty() ? "" : ", the first " + Show(boxes[0].box.text.substr(0, 80)) + "... of " +
                                        std::to_string(boxes[0].box.text.size()) + " bytes"));
    int code = 0;
    if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
    std::string data = "?";
    Check(IsFile(run.demo + "cut.txt") && ReadAll(run.demo + "cut.txt", data) && data.empty(),
          "the cut line is the file cut.txt");
    Check(IsFile(run.demo + "after.txt"), "the line after the long ones is created");
    const std::vector<std::string> want2 = {".", "a.txt", "after.txt", "b c.txt", "cut.txt", "old folder"};
    std::vector<std::string> got = Entries(run.demo);
    got.insert(got.begin(), ".");
    std::string list;
    for (const auto& e : got) list += (list.empty() ? "" : " ") + e.substr(0, 40);
    Check(got == want2, "nothing else is created", list);
}

void CaseManyLines(int count) {
    g_case = "bad-input/" + std::to_string(count) + " lines";
    Run run;
    run.fmTimeout = 150000;
    HWND edit = nullptr;
    if (!OpenMain(run, {}, edit)) return;
    std::string text;
    for (int i = 0; i < count; ++i) {
        char n[32];
        snprintf(n, sizeof n, "m%05d.txt\r\n", i);
        text += n;
    }
    SetText(edit, text);
    const DWORD start = GetTickCount();
    Confirm(edit);
    std::vector<SeenBox> boxes = YesToAll(run, 140000);
    const DWORD ms = GetTickCount() - start;
    Check(boxes.empty(), "no message box", BoxTexts(boxes).substr(0, 200));
    Check(run.KorvalinEnded(0), "the window closes", "still open after " + std::to_string(ms) + " ms");
    int code = 0;
    if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
    int made = 0;
    for (const auto& e : Entries(run.demo))
        if (e.size() == 10 && e[0] == 'm' && e.compare(6, 4, ".txt") == 0) ++made;
    CheckEq(made, count, "every line is a file");
    char line[128];
    snprintf(line, sizeof line, "TIME %s: %d files created in %lu ms", g_case.c_str(), count, (unsigned long)ms);
    Print(line);
}

// Every byte value from 1 to 255 in a name: no crash, and each line is
// created or reported. Under Wine without a window manager every answered
// question costs about 2 s (Wine waits for the box to be withdrawn), so the
// control bytes, which no file name may hold, share one line inside a name;
// each of them also stands alone at both ends of a name, where it is trimmed.
void CaseEveryByte() {
    g_case = "bad-input/every byte in a name";
    Run run;
    run.fmTimeout = 120000;
    HWND edit = nullptr;
    if (!OpenMain(run, {}, edit)) return;
    std::string text, inner;
    for (int b = 1; b <= 32; ++b) {
        if (b == '\r' || b == '\n') continue;
        char name[16];
        snprintf(name, sizeof name, "c%02d.txt", b);
        text += std::string(1, (char)b) + name + std::string(1, (char)b) + "\r\n";
        if (b < 32) inner += (char)b;
    }
    text += "ctl" + inner + "x.txt\r\n";
    // The byte's code in front keeps the names apart: A and a would
    // otherwise name one file and bring a replace question.
    for (int b = 33; b < 256; ++b) {
        char code[8];
        snprintf(code, sizeof code, "n%02X", b);
        text += code + std::string(1, (char)b) + "x.txt\r\n";
    }
    SetText(edit, text);
    // What arrived is what counts: bytes that are no character in the code
    // page may have been changed on the way.
    const std::vector<std::string> lines = Lines(TextOf(edit));
    CheckEq((long)lines.size(), 30L + 1 + 223, "the text box holds every line");
    Confirm(edit);
    std::vector<SeenBox> boxes = YesToAll(run, 110000);
    int code = 0;
    if (Check(run.ExitCode(code), "korvalin ends")) CheckEq(code, 0, "exit code");
    auto hex = [](const std::string& s) {
        std::string r;
        for (unsigned char c : s) {
            char b[8];
            snprintf(b, sizeof b, c > 32 && c < 127 ? "%c" : "\\x%02X", c);
            r += b;
        }
        return r;
    };
    std::string lost, refused, untrimmed;
    int made = 0;
    for (const auto& l : lines) {
        const std::string name = TrimForName(l);
        std::string p = run.demo + name;
        std::replace(p.begin(), p.end(), '/', '\\');
        bool reported = false;
        for (const auto& b : boxes)
            if (b.box.text == "Cannot create file " + p + "\r\n是否继续？") reported = true;
        const bool created = IsFile(p);
        made += created;
        if (!created && !reported) lost += " " + hex(l);
        const unsigned char c = l.size() == 9 && l[0] == 'n' ? (unsigned char)l[3] : 0;
        if (c > 32 && c < 127 && !strchr("<>:\"/\\|?*", c) && !created) refused += " " + hex(l);
        if (name.size() == 7 && name[0] == 'c' && !created) untrimmed += " " + hex(l);
    }
    Check(lost.empty(), "every line is created or reported", lost);
    Check(refused.empty(), "every printable ASCII byte a file name may hold is created", refused);
    Check(untrimmed.empty(), "every byte up to 32 at the ends of a name is trimmed", untrimmed);
    std::string unexpected;
    for (const auto& b : boxes)
        if (b.box.text.compare(0, 19, "Cannot create file ") != 0 &&
            b.box.text.find(" 已存在。\r\n要替换它吗?") == std::string::npos)
            unexpected += " " + hex(b.box.text);
    Check(unexpected.empty(), "only failure and replace questions", unexpected);
    Print("INFO " + g_case + ": " + std::to_string(made) + " files, " + std::to_string(boxes.size()) + " questions");
}

// A template name of 255 bytes of wildcards and letters: matching it must
// not take time that grows with the number of ways to match.
void CaseLongPattern() {
    g_case = "long-names/255-byte template pattern";
    Run run;
    std::string pattern;
    for (int i = 0; i < 100; ++i) pattern += "%_";
    for (int i = 0; i < 27; ++i) pattern += "ab";
    pattern += "c";
    const std::string dir = run.dir + "Templates\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    // Longer than MAX_PATH with its folder: made through the \\?\ form.
    std::wstring w(dir.size() + pattern.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, (dir + pattern).c_str(), -1, &w[0], (int)w.size());
    w.resize(n > 0 ? n - 1 : 0);
    HANDLE h = CreateFileW((L"\\\\?\\" + w).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    const bool made = h != INVALID_HANDLE_VALUE && WriteFile(h, kDataA.data(), (DWORD)kDataA.size(), &wrote, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    // "%" fits every name but is tried last: a name that the long pattern
    // does not fit gets its copy.
    const bool catchAll = WriteAll(dir + "%", kDataB);
    const std::vector<std::string> listed = Entries(dir);
    if (!Check(made && catchAll && listed.size() == 2 && listed[1] == pattern, "template of 255 bytes in place",
               std::to_string(listed.size()) + " entries"))
        return;
    HWND edit = nullptr;
    if (!OpenMain(run, {}, edit)) return;
    const std::string stem = std::string(100, 'x') + pattern.substr(200, 54);
    SetText(edit, stem + "c\r\n" + stem + "d");
    const DWORD start = GetTickCount();
    Confirm(edit);
    CheckEnds(run, 30000);
    Print("INFO " + g_case + ": confirm to exit in " + std::to_string(GetTickCount() - start) + " ms");
    // Where the long template's full path is longer than MAX_PATH the ANSI
    // calls cannot copy it, and the name it fits is created empty.
    const bool copyable = (dir + pattern).size() < MAX_PATH;
    std::string data = "?";
    Check(IsFile(run.demo + stem + "c") && ReadAll(run.demo + stem + "c", data) &&
              data == (copyable ? kDataA : std::string()),
          copyable ? "the name the pattern fits takes the long template"
                   : "the name the pattern fits takes the long template (empty: its path is too long to copy)",
          "got " + Show(data) + ", case folder " + run.dir);
    data = "?";
    ReadAll(run.demo + stem + "d", data);
    Check(data == kDataB, "the name it does not fit takes the catch-all template", "got " + Show(data));
}

}  // namespace

void CaseInitListGroup() { CaseInitList(); }
void CaseLinesGroup() { CaseLines(); }
void CaseTemplatesGroup() { CaseTemplates(); }
void CaseQuestionsGroup() {
    CaseReplace();
    CaseFailures();
}
void CaseBadInputGroup(int manyLines) {
    CaseLongLines();
    CaseEveryByte();
    CaseManyLines(manyLines);
}
void CaseLongNamesGroup() { CaseLongPattern(); }

}  // namespace kv

// The creating side of Korvalin, driven through its real window: the initial
// list from the panel's selection, typed lines turned into files and
// folders, templates, the replace and failure questions, and input that is
// too long, too much or made of odd bytes. Files are checked on disk.
#include "kvcases.h"

#include <winternl.h>

#include <array>

namespace kv {
namespace {

// ------------------------------------------------------------ helpers

// Contents that a text-mode or truncating copy would change.
const std::string kDataA("md any\r\n\0\x1A\xFF\n", 12);
const std::string kDataB("readme \x80\x81\r\r\n\0tail", 17);
const std::string kDataC("txt fallback\n\0\0\x7F", 16);
const std::string kDataD("elsewhere\r\n", 11);
const std::string kDataE("elsewhere md\0", 13);
const std::string kOld = "alpha\r\n";  // a.txt as every case folder has it

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
    return s;
}

// "{case}" and "{demo}" stand for the case folder and the panel folder
// (both with their trailing backslash).
std::string Subst(const std::string& s, const Run& run) {
    return Replace(Replace(s, "{case}", run.dir), "{demo}", run.demo);
}
std::vector<std::string> Subst(std::vector<std::string> v, const Run& run) {
    for (auto& s : v) s = Subst(s, run);
    return v;
}
// The same place as a check names it: relative to the panel folder.
std::string Shown(const std::string& s) { return Replace(Replace(s, "{demo}", ""), "{case}", "..\\"); }

// Names of a folder's entries, without "." and "..".
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> r;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &fd))
        if (strcmp(fd.cFileName, ".") && strcmp(fd.cFileName, "..")) r.push_back(fd.cFileName);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    std::sort(r.begin(), r.end());
    return r;
}

bool IsFile(const std::string& p) { return Exists(p) && !IsDir(p); }

uint64_t Now() {
    FILETIME f;
    GetSystemTimeAsFileTime(&f);
    return U64(f);
}

// Creation, last-access and last-write time, read without opening the file;
// zeros when they cannot be read.
std::array<uint64_t, 3> FileTimes(const std::string& p) {
    WIN32_FILE_ATTRIBUTE_DATA d = {};
    GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &d);
    return {U64(d.ftCreationTime), U64(d.ftLastAccessTime), U64(d.ftLastWriteTime)};
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
    return ok && FileTimes(p)[2] == U64(f);
}

// All three times of a new file lie between the confirm and the end of the
// run; a second of slack for file systems that keep coarser times.
void CheckFreshTimes(const std::string& p, uint64_t from, uint64_t to, const std::string& what) {
    const uint64_t slack = 10000000ull;
    const std::array<uint64_t, 3> t = FileTimes(p);
    if (!Check(t[2] != 0, what + ": times readable")) return;
    const char* names[3] = {"creation", "last-access", "last-write"};
    std::string bad;
    for (int i = 0; i < 3; ++i)
        if (t[i] + slack < from || t[i] > to + slack)
            bad += std::string("; ") + names[i] + " " + std::to_string(((int64_t)t[i] - (int64_t)from) / 10000) + " ms";
    Check(bad.empty(), what + ": creation, last-access and last-write time are the moment of creation",
          "after the confirm" + bad + " (the run took " + std::to_string((to - from) / 10000) + " ms)");
}

// The panel folder's entry that a path in it makes or lies in, added to
// `listing` (the folder's expected entries).
void Expect(std::vector<std::string>& listing, const std::string& path) {
    if (path.compare(0, 6, "{demo}") != 0) return;
    const std::string top = path.substr(6, path.find_first_of("\\/", 6) - 6);
    if (!top.empty() && std::find(listing.begin(), listing.end(), top) == listing.end()) listing.push_back(top);
}

// The current directory of another process, from its process parameters:
// the process block points to them, and their CurrentDirectory.DosPath is a
// counted UTF-16 string; both offsets differ between 32 and 64 bits.
std::string CurrentDirOf(DWORD pid) {
    typedef LONG(WINAPI * QueryFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = (QueryFn)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    const size_t kPebParams = sizeof(void*) == 8 ? 0x20 : 0x10, kParamsCurDir = sizeof(void*) == 8 ? 0x38 : 0x24;
    PROCESS_BASIC_INFORMATION info = {};
    BYTE* params = nullptr;
    UNICODE_STRING dos = {};
    std::wstring w;
    if (h && query && query(h, ProcessBasicInformation, &info, sizeof info, nullptr) == 0 &&
        ReadProcessMemory(h, (BYTE*)info.PebBaseAddress + kPebParams, &params, sizeof params, nullptr) &&
        ReadProcessMemory(h, params + kParamsCurDir, &dos, sizeof dos, nullptr)) {
        w.resize(dos.Length / 2);
        if (!ReadProcessMemory(h, dos.Buffer, &w[0], dos.Length, nullptr)) w.clear();
    }
    if (h) CloseHandle(h);
    std::string a(w.size() * 2, '\0');
    a.resize(std::max(0, WideCharToMultiByte(CP_ACP, 0, w.data(), (int)w.size(), &a[0], (int)a.size(), nullptr,
                                             nullptr)));
    return a.empty() ? "(unreadable)" : a;
}

// Which standard icon a message box shows: its icon control's pixels on the
// screen against the standard icons drawn here on the same background.
std::string IconOf(HWND dlg) {
    HWND icon = nullptr;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Static" && IsWindowVisible(c) && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = c;
    if (!icon) return "none";
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    POINT at = {0, 0};
    ClientToScreen(icon, &at);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    auto pixels = [&] {
        std::vector<COLORREF> px;
        for (int i = 0; i < w * h; ++i) px.push_back(GetPixel(mem, i % w, i / w));
        return px;
    };
    BitBlt(mem, 0, 0, w, h, screen, at.x, at.y, SRCCOPY);
    const std::vector<COLORREF> shown = pixels();
    HBRUSH bg = CreateSolidBrush(shown[0]);
    const RECT all = {0, 0, w, h};
    const std::pair<const char*, LPCSTR> stds[] = {
        {"stop", IDI_HAND}, {"exclamation", IDI_EXCLAMATION}, {"question", IDI_QUESTION},
        {"information", IDI_ASTERISK}};
    std::string best = "unclear";
    double bestDiff = 1e18;
    for (const auto& s : stds) {
        FillRect(mem, &all, bg);
        DrawIconEx(mem, 0, 0, LoadIconA(nullptr, s.second), w, h, 0, nullptr, DI_NORMAL);
        const std::vector<COLORREF> ref = pixels();
        double d = 0;
        for (size_t i = 0; i < ref.size(); ++i)
            for (int sh = 0; sh < 24; sh += 8)
                d += std::abs((int)((ref[i] >> sh) & 255) - (int)((shown[i] >> sh) & 255));
        if (d < bestDiff) bestDiff = d, best = s.first;
    }
    DeleteObject(bg);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    // Far from every standard icon: not painted yet, or something else.
    return bestDiff / (w * h * 3) < 8 ? best : "unclear";
}

// The next message box of Korvalin's, once its text is there; null when
// Korvalin ended or no box came within `ms`.
HWND NextBox(Session& s, DWORD ms = 10000) {
    HWND dlg = s.WaitBox(ms);
    if (dlg) Poll([&] { return !TextOf(GetDlgItem(dlg, 0xFFFF)).empty() || !IsWindow(dlg); }, 3000);
    return dlg;
}

// Answers Yes (or OK) to every box until Korvalin ends; the boxes in order.
std::vector<Box> YesToAll(Session& s, DWORD ms) {
    std::vector<Box> seen;
    const DWORD start = GetTickCount();
    for (DWORD t; (t = GetTickCount() - start) < ms;) {
        HWND dlg = NextBox(s, ms - t);
        if (!dlg) break;
        seen.push_back(ReadBox(dlg));
        s.Answer(GetDlgItem(dlg, IDYES) ? IDYES : IDOK);
    }
    return seen;
}

std::string BoxTexts(const std::vector<Box>& boxes) {
    std::string r;
    for (const auto& b : boxes) r += (r.empty() ? "" : ", ") + Show(b.text);
    return r;
}

// The end of a run that should close by itself: no box on the way, exit 0.
void CheckEnds(Session& s, DWORD ms = 15000) {
    std::vector<Box> boxes = YesToAll(s, ms);
    Check(boxes.empty(), "no message box", BoxTexts(boxes));
    Check(s.run.KorvalinEnded(0), "the window closes after the last line");
    CheckExit(s, "korvalin ends");
}

// A Yes/No question of the main window, as the user sees it.
void CheckQuestion(HWND dlg, const Session& s, const std::string& caption, const std::string& text, int defButton,
                   const char* icon) {
    const Box b = ReadBox(dlg);
    std::string shown, buttons;
    Poll([&] { return (shown = IconOf(dlg)) != "unclear"; }, 3000);
    for (int id : b.buttons) buttons += std::to_string(id) + ",";
    CheckEq(b.text, text, "question text");
    CheckEq(b.title, caption, "question title is the window's caption");
    CheckEq(buttons + " default " + std::to_string(b.defButton), "6,7, default " + std::to_string(defButton),
            std::string("Yes and No, ") + (defButton == IDYES ? "Yes" : "No") + " the default");
    CheckEq(shown, icon, std::string(icon) + " icon");
    Check(GetWindow(dlg, GW_OWNER) == s.main, "the main window owns the question");
}

// ------------------------------------------------------------ confirmed lines

// The lines of one run, confirmed with Enter, and what the user then sees:
// the questions in order, each answered, and what is on disk. Paths hold
// {case} or {demo}; template paths lie below the case folder.
struct File {
    std::string path, data;
};
struct Ask {
    std::string text;
    int answer;
    int defButton;     // 0: the text alone is checked
    const char* icon;  // with the default button, caption and owner
};
struct ConfirmRow {
    const char* name;
    const char* ini;  // [FileList] keys
    std::vector<std::string> fmArgs, lines;
    std::vector<File> templates;  // made before the run, with old times
    std::vector<Ask> asks;
    // A file made by the run is empty or a template's copy with times of
    // its own; one that was there and keeps its contents keeps its
    // last-write time. Nothing else appears in the panel folder.
    std::vector<File> files;
    std::vector<std::string> folders, absent;
};

void ConfirmRows(const std::string& prefix, const std::vector<ConfirmRow>& rows) {
    for (const auto& row : rows) {
        g_case = prefix + row.name;
        Session s;
        const Run& run = s.run;
        bool ready = MakeOld(run.demo + "a.txt");
        for (const auto& t : row.templates) {
            const std::string p = run.dir + t.path;
            CreateDirectoryA(Dir(p).c_str(), nullptr);
            ready = WriteAll(p, t.data) && MakeOld(p) && ready;
        }
        if (!Check(ready, "files in place")) continue;
        std::vector<std::string> listing = Entries(run.demo), had;
        std::vector<uint64_t> wrote;
        for (const auto& f : row.files) {
            had.emplace_back("(missing)");
            ReadAll(Subst(f.path, run), had.back());
            wrote.push_back(FileTimes(Subst(f.path, run))[2]);
            Expect(listing, f.path);
        }
        for (const auto& d : row.folders) Expect(listing, d);
        std::sort(listing.begin(), listing.end());
        if (!s.Open(Subst(IniSection("FileList", row.ini), run), row.fmArgs)) continue;
        const std::string text = Join(Subst(row.lines, run)), caption = TextOf(s.main);
        if (!Check(s.SetLines(text) && s.Text() == text, "text set")) continue;
        const uint64_t from = Now();
        s.Confirm();
        for (const auto& a : row.asks) {
            HWND dlg = NextBox(s);
            if (!Check(dlg != nullptr, "a question comes")) break;
            if (a.defButton) CheckQuestion(dlg, s, caption, Subst(a.text, run), a.defButton, a.icon);
            else CheckEq(ReadBox(dlg).text, Subst(a.text, run), "question text");
            s.Answer(a.answer);
        }
        CheckEnds(s);
        const uint64_t to = Now();
        for (size_t i = 0; i < row.files.size(); ++i) {
            const File& f = row.files[i];
            const std::string p = Subst(f.path, run), name = Shown(f.path);
            const bool kept = f.data == had[i];
            std::string data = "(missing)";
            if (!Check(IsFile(p) && ReadAll(p, data), "file " + name)) continue;
            const char* what = kept             ? " is unchanged byte for byte"
                               : f.data.empty() ? " is empty"
                                                : " is the template's copy";
            Check(data == f.data, "file " + name + what, "got " + Show(data) + ", want " + Show(f.data));
            if (kept)
                CheckEq(std::to_string(FileTimes(p)[2]), std::to_string(wrote[i]),
                        name + ": its last-write time is unchanged");
            else if (!f.data.empty() && had[i] == "(missing)") CheckFreshTimes(p, from, to, name);
        }
        for (const auto& d : row.folders) Check(IsDir(Subst(d, run)), "folder " + Shown(d));
        for (const auto& a : row.absent) Check(!Exists(Subst(a, run)), "nothing named " + Show(Shown(a)));
        std::vector<std::string> got = Entries(run.demo);
        for (auto& e : got) e = e.substr(0, 40);
        CheckEq(Join(got, "|"), Join(listing, "|"), "nothing else is created in the panel folder");
        std::string changed;
        for (const auto& t : row.templates) {
            std::string data = "(missing)";
            if (!ReadAll(run.dir + t.path, data) || data != t.data) changed += " " + t.path;
        }
        if (!row.templates.empty()) Check(changed.empty(), "the templates are left as they were", changed);
    }
}

}  // namespace

// ------------------------------------------------------------ initial list

// A selection fills the text box, the window fits it, and the panel folder
// becomes Korvalin's current directory.
void CaseInitListGroup() {
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
    const std::string kLongName = "a name long enough that the designed width cannot show it.txt";
    const std::vector<std::string> four = {"--select", "old folder", "--select", "a.b.txt",
                                           "--select", "a.txt",      "--select", "b c.txt"},
                                   grows = {"--select", "old folder", "--select", "a.b.txt",
                                            "--select", "a.txt",      "--select", kLongName},
                                   dotted = {"--onlydir", "--select", "old.files", "--select", ".cfg",
                                             "--select",  "a.b.txt"};
    const Row rows[] = {
        // The long name makes the width grow however short the case folder's path is.
        {"full paths, window grows", "InitBySelect=1 AutoSizeOnInit=1 NoExtOnlyDir=1", grows,
         {"{demo}old folder\\", "{demo}" + kLongName, "{demo}a.b.txt", "{demo}a.txt"}, false, "{demo}", kGrown},
        {"names only", "InitBySelect=1 AutoSizeOnInit=0 InitPathType=1", four,
         {"old folder\\", "a.b.txt", "a.txt", "b c.txt"}, false, "{demo}", kDesigned},
        {"OnlyDir drops the last extension of files", "InitBySelect=1 AutoSizeOnInit=0 NoExtOnlyDir=1", dotted,
         {"{demo}old.files\\", "{demo}", "{demo}a.b"}, true, "{demo}", kDesigned},
        {"OnlyDir keeps extensions without NoExtOnlyDir", "InitBySelect=1 NoExtOnlyDir=0", dotted,
         {"{demo}old.files\\", "{demo}.cfg", "{demo}a.b.txt"}, true, "{demo}", kAny},
        {"InitBySelect off", "InitBySelect=0 AutoSizeOnInit=1", four, {}, false, "{demo}", kDesigned},
        {"unquoted panel path with blanks", "InitBySelect=1 AutoSizeOnInit=1", {"--raw", "{case}my work\\"}, {},
         false, "{case}my work\\", kDesigned},
        {"selection outside the start folder", "InitBySelect=1", {"--raw", "\"{case}my work\\x y.txt\""},
         {"{case}my work\\x y.txt"}, false, "{case}my work\\", kAny},
    };
    for (const auto& row : rows) {
        g_case = std::string("initlist/") + row.name;
        Session s;
        const Run& run = s.run;
        CreateDirectoryA((run.demo + "old.files").c_str(), nullptr);
        CreateDirectoryA((run.dir + "my work").c_str(), nullptr);
        for (const std::string& f : {run.demo + "a.b.txt", run.demo + ".cfg", run.demo + kLongName,
                                     run.dir + "my work\\x y.txt"})
            WriteAll(f, "");
        if (!s.Open(Subst(IniSection("FileList", row.ini), run), Subst(row.fmArgs, run))) continue;
        const std::string panel = Subst(row.panel, run);
        CheckEq(TextOf(s.main), std::string("Korvalin - ") + (row.onlyDir ? "OnlyDir - " : "") + panel, "caption");
        const std::vector<std::string> lines = Subst(row.lines, run);
        const std::string text = s.Text();
        CheckEq(text, Join(lines), "text box lines");
        if (!lines.empty()) {
            DWORD_PTR sel = 0;
            SendMessageTimeoutA(s.edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &sel);
            CheckEq(std::to_string(LOWORD(sel)) + "-" + std::to_string(HIWORD(sel)),
                    "0-" + std::to_string(text.size()), "the whole text is selected");
        }
        RECT client = {};
        GetClientRect(s.main, &client);
        const std::string size = std::to_string(client.right) + "x" + std::to_string(client.bottom);
        if (row.size == kDesigned) CheckEq(size, "384x111", "window keeps its designed size");
        if (row.size == kGrown) {
            RECT work = {}, r = Bounds(s.main);
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            Check(client.right > 384 && client.bottom > 111, "window grows", "client " + size);
            Check(r.right - r.left <= work.right - work.left && r.bottom - r.top <= work.bottom - work.top,
                  "window stays within the work area", RectText(r));
            CheckLinesInSight(s.edit, "every line fits in the text box");
        }
        CheckEq(CurrentDirOf(run.kvPid), panel, "the panel folder is the current directory");
        s.Press(VK_ESCAPE);
        CheckExit(s, "Escape ends korvalin");
    }
}

// Typed lines become files and folders, relative to the panel or absolute.
void CaseLinesGroup() {
    ConfirmRows("lines/", {
        {"relative and absolute", "", {},
         {"  new.txt \t", "folder1\\", "folder2/", "sub\\a.txt", "\t{case}abs.txt", "{case}absdir\\", "{case}deep/er/",
          "", " \t "},
         {}, {}, {{"{demo}new.txt", ""}, {"{demo}sub\\a.txt", ""}, {"{case}abs.txt", ""}},
         {"{demo}folder1", "{demo}folder2", "{demo}sub", "{case}absdir", "{case}deep\\er"}, {"{demo}  new.txt"}},
        {"OnlyDir", "", {"--onlydir"}, {"plain", "with.dot", "sub/a.txt", "{case}abs.only", "slash\\"}, {}, {}, {},
         {"{demo}plain", "{demo}with.dot", "{demo}sub\\a.txt", "{case}abs.only", "{demo}slash"}, {}},
        {"empty text box", "", {}, {}, {}, {}, {}, {}, {}},
    });
}

// New files copy the template that fits, byte for byte, with times of their own.
void CaseTemplatesGroup() {
    const File fallback = {"Templates\\template.txt", kDataC};
    ConfirmRows("templates/", {
        {"by pattern and by fallback", "", {}, {"notes.md", "README.MD", "sub\\new.txt", "plain.py", "LICENSE"},
         {{"Templates\\%.md", kDataA}, {"Templates\\readme%.md", kDataB}, fallback}, {},
         {{"{demo}notes.md", kDataA}, {"{demo}README.MD", kDataB}, {"{demo}sub\\new.txt", kDataC},
          {"{demo}plain.py", ""}, {"{demo}LICENSE", ""}},
         {}, {}},
        {"default folder is created", "", {}, {"new.txt"}, {}, {}, {{"{demo}new.txt", ""}}, {"{case}Templates"}, {}},
        {"TemplatePath folder", "TemplatePath={case}tpl", {}, {"new.txt", "x.md"},
         {fallback, {"tpl\\template.txt", kDataD}, {"tpl\\%.md", kDataE}}, {},
         {{"{demo}new.txt", kDataD}, {"{demo}x.md", kDataE}}, {}, {}},
        // The file named as the template folder is left alone.
        {"TemplatePath is a file", "TemplatePath={case}tplfile", {}, {"new.txt", "x.md"},
         {fallback, {"tplfile", "not a folder"}}, {}, {{"{demo}new.txt", ""}, {"{demo}x.md", ""}}, {}, {}},
    });
}

// A line that exists or cannot be made asks the user; the answer decides
// what becomes of a.txt, and the next line is made either way.
void CaseQuestionsGroup() {
    const std::string replace = "{demo}a.txt 已存在。\r\n要替换它吗?";
    const std::vector<std::string> twoFiles = {"a.txt", "next.txt"};
    const File fallback = {"Templates\\template.txt", kDataC};
    ConfirmRows("", {
        {"replace/No keeps the file", "", {}, twoFiles, {fallback}, {{replace, IDNO, IDNO, "exclamation"}},
         {{"{demo}a.txt", kOld}, {"{demo}next.txt", kDataC}}, {}, {}},
        {"replace/Yes copies the template", "", {}, twoFiles, {fallback}, {{replace, IDYES, IDNO, "exclamation"}},
         {{"{demo}a.txt", kDataC}, {"{demo}next.txt", kDataC}}, {}, {}},
        {"replace/Yes without a template empties it", "", {}, twoFiles, {}, {{replace, IDYES, IDNO, "exclamation"}},
         {{"{demo}a.txt", ""}, {"{demo}next.txt", ""}}, {}, {}},
        {"failures/folder where a file is", "", {}, {"a.txt\\", "after\\"}, {},
         {{"Cannot create directory {demo}a.txt\r\n是否继续？", IDYES, IDYES, "stop"}}, {{"{demo}a.txt", kOld}},
         {"{demo}after"}, {}},
    });

    // No keeps the window with its lines; confirmed again, it starts over.
    g_case = "failures/bad file name: No, then Yes";
    Session s;
    if (!s.Open()) return;
    const std::string caption = TextOf(s.main), text = "ok1.txt\r\nbad|name.txt\r\nok2.txt",
                      failed = "Cannot create file " + s.run.demo + "bad|name.txt\r\n是否继续？";
    s.SetLines(text);
    s.Confirm();
    HWND dlg = NextBox(s);
    if (Check(dlg != nullptr, "a question comes")) {
        CheckQuestion(dlg, s, caption, failed, IDYES, "stop");
        s.Answer(IDNO);
    }
    Sleep(500);
    Check(!s.run.KorvalinEnded(0) && IsWindowVisible(s.main), "No keeps the window open");
    CheckEq(s.Text(), text, "the text box keeps its lines, with no line break from Enter");
    Check(IsFile(s.run.demo + "ok1.txt"), "the line before is created");
    Check(!Exists(s.run.demo + "ok2.txt"), "the line after is not");
    s.Confirm();
    if (Check((dlg = NextBox(s)) != nullptr, "confirming again asks about ok1.txt first")) {
        CheckEq(ReadBox(dlg).text, s.run.demo + "ok1.txt 已存在。\r\n要替换它吗?", "replace question");
        s.Answer(IDNO);
    }
    if (Check((dlg = NextBox(s)) != nullptr, "then about the bad name")) {
        CheckEq(ReadBox(dlg).text, failed, "failure question");
        s.Answer(IDYES);
    }
    CheckEnds(s);
    Check(IsFile(s.run.demo + "ok2.txt"), "Yes goes on with the next line");
}

// ------------------------------------------------------------ bad input

namespace {

// Only the first 4096 bytes of a line count: the long line is refused, and
// the second is cut inside its blanks and becomes cut.txt.
void CaseLongLines() {
    const std::string cut = "cut.txt" + std::string(4096 - 7, ' ') + std::string(100000 - 4096, 'z');
    ConfirmRows("bad-input/", {
        {"100,000-byte lines", "", {}, {std::string(100000, 'x'), cut, "after.txt"}, {},
         {{"Cannot create file {demo}" + std::string(4096, 'x') + "\r\n是否继续？", IDYES, 0, ""}},
         {{"{demo}cut.txt", ""}, {"{demo}after.txt", ""}}, {}, {}},
    });
}

// Every byte value from 1 to 255 in a name: no crash, and each line is
// created or reported. An answered question costs far more than a created
// file (the box must be found, answered and gone), so the control bytes,
// which no file name may hold, share one line inside a name.
void CaseEveryByte() {
    g_case = "bad-input/every byte in a name";
    Session s;
    s.run.fmTimeout = 120000;
    if (!s.Open()) return;
    std::string text, inner;
    for (int b = 1; b < 32; ++b)
        if (b != '\r' && b != '\n') inner += (char)b;
    for (int b = 32; b < 256; ++b) {
        // The byte's code in front keeps the names apart: A and a would
        // otherwise name one file and bring a replace question.
        char line[32];
        snprintf(line, sizeof line, "n%02X%cx.txt\r\n", b, b);
        text += line;
    }
    text += "ctl" + inner + "x.txt";
    s.SetLines(text);
    // What arrived is what counts: bytes that are no character in the code
    // page may have been changed on the way.
    const std::vector<std::string> lines = Lines(s.Text());
    CheckEq((long)lines.size(), 224L + 1, "the text box holds every line");
    s.Confirm();
    std::vector<Box> boxes = YesToAll(s, 110000);
    CheckExit(s, "korvalin ends");
    std::string lost, refused, unexpected;
    int made = 0;
    for (const auto& l : lines) {
        const std::string p = Replace(s.run.demo + l, "/", "\\");
        bool reported = false;
        for (const auto& b : boxes) reported |= b.text == "Cannot create file " + p + "\r\n是否继续？";
        const bool created = IsFile(p);
        made += created;
        if (!created && !reported) lost += " " + Show(l);
        const unsigned char c = l.size() == 9 && l[0] == 'n' ? (unsigned char)l[3] : 0;
        if (c >= 32 && c < 127 && !strchr("<>:\"/\\|?*", c) && !created) refused += " " + Show(l);
    }
    Check(lost.empty(), "every line is created or reported", lost);
    Check(refused.empty(), "every printable ASCII byte a file name may hold is created", refused);
    for (const auto& b : boxes)
        if (b.text.compare(0, 19, "Cannot create file ") != 0 &&
            b.text.find(" 已存在。\r\n要替换它吗?") == std::string::npos)
            unexpected += " " + Show(b.text);
    Check(unexpected.empty(), "only failure and replace questions", unexpected);
    Print("INFO " + g_case + ": " + std::to_string(made) + " files, " + std::to_string(boxes.size()) + " questions");
}

}  // namespace

// The line count that kvtest takes for this group is not used: thousands of
// lines are read by the text box's shared line splitter, and the unit tests
// give it 10,000 of them.
void CaseBadInputGroup() {
    CaseLongLines();
    CaseEveryByte();
}

// A template name of 255 bytes of wildcards and letters: matching it must
// not take time that grows with the number of ways to match.
void CaseLongNamesGroup() {
    g_case = "long-names/255-byte template pattern";
    Session s;
    std::string pattern;
    for (int i = 0; i < 100; ++i) pattern += "%_";
    for (int i = 0; i < 27; ++i) pattern += "ab";
    pattern += "c";
    const std::string dir = s.run.dir + "Templates\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    // Under a deep root longer than MAX_PATH with its folder: made through
    // the \\?\ form.
    HANDLE h = CreateFileW((L"\\\\?\\" + Wide(dir + pattern)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
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
    if (!s.Open()) return;
    const std::string stem = std::string(100, 'x') + pattern.substr(200, 54);
    s.SetLines(stem + "c\r\n" + stem + "d");
    const DWORD start = GetTickCount();
    s.Confirm();
    CheckEnds(s, 30000);
    Print("INFO " + g_case + ": confirm to exit in " + std::to_string(GetTickCount() - start) + " ms");
    // Where the long template's full path is longer than MAX_PATH the ANSI
    // calls cannot copy it, and the name it fits is created empty.
    const bool copyable = (dir + pattern).size() < MAX_PATH;
    std::string data = "?";
    Check(IsFile(s.run.demo + stem + "c") && ReadAll(s.run.demo + stem + "c", data) &&
              data == (copyable ? kDataA : std::string()),
          copyable ? "the name the pattern fits takes the long template"
                   : "the name the pattern fits takes the long template (empty: its path is too long to copy)",
          "got " + Show(data) + ", case folder " + s.run.dir);
    data = "?";
    ReadAll(s.run.demo + stem + "d", data);
    Check(data == kDataB, "the name it does not fit takes the catch-all template", "got " + Show(data));
}

}  // namespace kv

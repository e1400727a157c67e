// The release as a user gets it: the unpacked zip (kvtest --release <folder>,
// made by scripts/check-release.sh), copied to a case folder and started by
// the stand-in file manager with the ini that comes in the zip. Checks the
// program's resources as Windows reads them, that the first run takes the
// documented defaults, and that the sample templates do what README.txt
// says they do.
#include "kvdriver.h"

namespace kv {
namespace {

bool CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        std::string n = fd.cFileName;
        if (n == "." || n == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ok = CopyTree(from + n + "\\", to + n + "\\") && ok;
        else ok = CopyFileA((from + n).c_str(), (to + n).c_str(), FALSE) && ok;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return ok;
}

// The version library is loaded only here: linked in, it made kvtest.exe
// hang in another group's first window under Wine.
template <class Fn>
Fn VersionFn(const char* name) {
    static HMODULE lib = LoadLibraryA("version.dll");
    return lib ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name))) : nullptr;
}

// The icon, the manifest and the version record, as Windows finds them.
void CheckResources(const std::string& exe) {
    HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!Check(m != nullptr, "korvalin.exe loads as a resource file")) return;
    Check(FindResourceA(m, "MAINICON", MAKEINTRESOURCEA(14)) != nullptr, "icon group MAINICON");  // RT_GROUP_ICON
    HRSRC man = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));                     // RT_MANIFEST
    std::string manifest;
    if (man)
        if (HGLOBAL g = LoadResource(m, man)) manifest.assign((const char*)LockResource(g), SizeofResource(m, man));
    Check(manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos, "manifest asks for common controls 6");
    FreeLibrary(m);

    auto sizeOf = VersionFn<DWORD(WINAPI*)(LPCSTR, LPDWORD)>("GetFileVersionInfoSizeA");
    auto info = VersionFn<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoA");
    auto query = VersionFn<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>("VerQueryValueA");
    if (!Check(sizeOf && info && query, "the version library")) return;
    DWORD ignored = 0, size = sizeOf(exe.c_str(), &ignored);
    std::vector<char> block(size ? size : 1);
    if (!Check(size && info(exe.c_str(), 0, size, block.data()), "version record")) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (!Check(query(block.data(), "\\", (void**)&fixed, &len) && fixed, "fixed version numbers")) return;
    char numbers[64];
    snprintf(numbers, sizeof numbers, "%u.%u.%u.%u", (unsigned)HIWORD(fixed->dwFileVersionMS),
             (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS),
             (unsigned)LOWORD(fixed->dwFileVersionLS));
    auto text = [&](const char* name) {
        char* value = nullptr;
        UINT n = 0;
        const std::string key = std::string("\\StringFileInfo\\080404B0\\") + name;
        const bool found = query(block.data(), key.c_str(), (void**)&value, &n) && value;
        return found ? std::string(value, strnlen(value, n)) : std::string();
    };
    CheckEq(text("ProductName"), "Korvalin", "product name");
    CheckEq(text("FileVersion"), numbers, "file version text matches its numbers");
    CheckEq(text("ProductVersion"), numbers, "product version");
    std::string copyright = text("LegalCopyright");
    Check(copyright.compare(0, 10, "Copyright ") == 0, "copyright line", copyright);
}

}  // namespace

void CaseReleaseGroup(const std::string& unpacked) {
    g_case = "release";
    if (unpacked.empty()) {
        Print("INFO release: no unpacked release given (scripts/check-release.sh makes one)");
        return;
    }
    std::string from = unpacked.back() == '\\' ? unpacked : unpacked + "\\";
    Session s;
    Run& run = s.run;
    // The case folder becomes an unpacked release: the zip's program, ini
    // and templates, and nothing that a run has left.
    if (!Check(CopyTree(from, run.dir), "copy the unpacked release", from)) return;
    CheckResources(run.exe);
    std::string ini;
    Check(ReadAll(run.ini, ini) && Find(ParseIni(ini), "FileList", "InitBySelect") == nullptr,
          "the ini from the zip is fresh");

    g_case = "release/first run";
    if (!s.Open("", {"--select", "a.txt"})) return;
    CheckEq(TextOf(s.main), "Korvalin - " + run.demo, "caption");
    // InitBySelect is on by default: the selection is in the box.
    s.WaitText(run.demo + "a.txt", 2000);
    CheckEq(s.Text(), run.demo + "a.txt", "the box starts with the selected item");

    struct Row {
        const char* line;
        const char* tmpl;  // the sample it is copied from; "" for an empty file, nullptr for a folder
    };
    const Row rows[] = {
        {"index.html", "%.html"},   {"README.md", "readme%.md"},  {"readme-cn.md", "readme%.md"},
        {"notes.md", "%.md"},       {"test01.py", "test__.py"},   {"test1.py", ""},
        {"makefile", "Makefile"},   {"go.bat", "template.bat"},   {"plain.txt", ""},
        {"docs\\", nullptr},
    };
    std::vector<std::string> lines;
    for (const Row& r : rows) lines.push_back(r.line);
    s.SetLines(lines);
    s.Confirm();
    CheckExit(s, "korvalin ends after Enter", 0, 20000);
    for (const Row& r : rows) {
        if (!r.tmpl) {
            Check(IsDir(run.demo + r.line), std::string("folder ") + r.line);
            continue;
        }
        std::string want = *r.tmpl ? FileText(run.dir + "Templates\\" + r.tmpl) : "";
        if (*r.tmpl && want.empty()) want = "(the sample is missing or empty)";
        CheckEq(FileText(run.demo + r.line, "(missing)"), want,
                std::string(r.line) + " is a copy of " + (*r.tmpl ? r.tmpl : "nothing"));
    }

    // The first run writes every key, with the defaults, and keeps the
    // comment at the top.
    ini = FileText(run.ini);
    auto entries = ParseIni(ini);
    Check(ini.compare(0, 1, ";") == 0, "the ini keeps its comment");
    const IniEntry keys[] = {
        {"FileList", "InitBySelect", "1"}, {"FileList", "TemplatePath", run.dir + "Templates\\"},
        {"AfterCreate", "AutoOpen", "1"},  {"AfterCreate", "OpenMax", "16"},
        {"AfterCreate", "SleepTime", "200"}, {"AfterCreate", "TcColSep", "9"},
        {"Naming", "Separator", "| |.|-|_|#"},
    };
    for (const auto& k : keys)
        CheckEq(IniValueOf(entries, k.section, k.key), k.value, "ini " + k.section + "/" + k.key);
}

}  // namespace kv

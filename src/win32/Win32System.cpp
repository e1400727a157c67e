// The Win32 backend's process, file-manager and file-system services.
#include <windows.h>

#include <vector>

#include "Backend.h"
#include "Utils.h"

namespace {
HWND H(plat::Handle h) { return static_cast<HWND>(h); }

// Wine hands a cross-process LB_GETTEXT back as UTF-16 even to the ANSI call,
// so under Wine the panel is read wide and converted to the ANSI code page.
bool RunningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}
}  // namespace

namespace plat {

std::string CommandLine() { return GetCommandLineA(); }

std::string ExePath() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string AnsiLowerCase(const std::string& text) {
    std::string s = text;
    if (!s.empty()) CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

std::string AnsiUpperCase(const std::string& text) {
    std::string s = text;
    if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

DateTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek};
}

namespace {
std::string Locale(LCTYPE type) {
    char buf[256] = {0};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 0) return buf;
    // Wine 8 refuses LOCALE_SSHORTTIME in the ANSI call (error 1004); the
    // wide call answers it.
    wchar_t w[256] = {0};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, w, 256) <= 0) return std::string();
    WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}
}  // namespace

LocaleTexts LocaleInfo() {
    LocaleTexts l;
    for (int i = 0; i < 12; ++i) {
        l.ShortMonthNames[i] = Locale(LOCALE_SABBREVMONTHNAME1 + i);
        l.LongMonthNames[i] = Locale(LOCALE_SMONTHNAME1 + i);
    }
    // The locale counts days from Monday; the renderer from Sunday.
    for (int i = 0; i < 7; ++i) {
        l.ShortDayNames[(i + 1) % 7] = Locale(LOCALE_SABBREVDAYNAME1 + i);
        l.LongDayNames[(i + 1) % 7] = Locale(LOCALE_SDAYNAME1 + i);
    }
    l.ShortDateFormat = Locale(LOCALE_SSHORTDATE);
    l.LongDateFormat = Locale(LOCALE_SLONGDATE);
    l.ShortTimeFormat = Locale(0x00000079 /* LOCALE_SSHORTTIME */);
    l.LongTimeFormat = Locale(LOCALE_STIMEFORMAT);
    l.DateSeparator = Locale(LOCALE_SDATE);
    l.TimeSeparator = Locale(LOCALE_STIME);
    l.TimeAM = Locale(LOCALE_S1159);
    l.TimePM = Locale(LOCALE_S2359);
    // The era has no locale value of its own; the system's formatter gives it.
    char era[64] = {0};
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "g", era, sizeof era) > 0) l.Era = era;
    return l;
}

bool UserName(std::string& name) {
    char buf[128] = {0};
    DWORD size = sizeof(buf);
    if (!GetUserNameA(buf, &size)) return false;
    name = buf;
    return true;
}

Handle ForegroundWindow() { return GetForegroundWindow(); }

Handle CaptureFocus(Handle foreground) {
    DWORD thread = GetWindowThreadProcessId(H(foreground), nullptr);
    DWORD own = GetCurrentThreadId();
    AttachThreadInput(own, thread, TRUE);
    HWND focus = GetFocus();
    AttachThreadInput(own, thread, FALSE);
    return focus;
}

void SleepMs(int ms) { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

int PanelCount(Handle panel) { return static_cast<int>(SendMessageA(H(panel), LB_GETCOUNT, 0, 0)); }

std::string PanelText(Handle panel, int index) {
    // The item's length is asked first, so that nothing is written past the
    // buffer, and the text is then held to the 1023 bytes a 1024-byte buffer
    // takes. Each read is two messages to the panel. Under Wine both are
    // sent wide: an ANSI LB_GETTEXTLEN there costs a second, hidden
    // LB_GETTEXT to measure the ANSI length.
    std::string text;
    if (RunningUnderWine()) {
        LRESULT len = SendMessageW(H(panel), LB_GETTEXTLEN, index, 0);
        if (len < 0) return std::string();
        std::vector<wchar_t> wide(static_cast<size_t>(len) + 1024, L'\0');
        SendMessageW(H(panel), LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
        wide.back() = L'\0';
        int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            text.assign(static_cast<size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, &text[0], n, nullptr, nullptr);
        }
    } else {
        LRESULT len = SendMessageA(H(panel), LB_GETTEXTLEN, index, 0);
        if (len < 0) return std::string();
        text.assign(static_cast<size_t>(len) * 2 + 1024, '\0');
        SendMessageA(H(panel), LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.back() = '\0';
    }
    text.resize(strnlen(text.c_str(), text.size()));
    if (text.size() > 1023) text.resize(1023);
    return text;
}

void PanelSelect(Handle panel, int index) { SendMessageA(H(panel), LB_SETSEL, 1, index); }

void ActivateWindow(Handle h) { SetActiveWindow(H(h)); }

void SendKeys(const std::vector<unsigned short>& keys) {
    std::vector<INPUT> in(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        ZeroMemory(&in[i], sizeof(INPUT));
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
    }
    if (!in.empty()) SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The shell's library is loaded only when a file is to be opened: loading it
// at start costs a tenth of the time to the first window under Wine, and
// most runs never open a file this way.
void ShellOpen(const std::string& path, const std::string& dir) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static HMODULE shell = LoadLibraryA("shell32.dll");
    FARPROC proc = shell ? GetProcAddress(shell, "ShellExecuteA") : nullptr;
    if (!proc) return;
    auto shellExecute = reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(proc));
    shellExecute(nullptr, "open", path.c_str(), nullptr, dir.c_str(), SW_SHOWNORMAL);
}

// ---------------------------------------------------------------- files

bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
    // Made without its trailing backslash, which a root ("C:\") keeps. By
    // character: the second byte of 乗 (81 5C) is no separator.
    std::string p = EndsWithBackslash(path) ? ExtractFileDir(path) : path;
    if (p.empty()) return false;
    if (DirectoryExists(p)) return true;
    std::string parent = ExtractFileDir(p);
    if (!parent.empty() && parent != p && !ForceDirectories(parent)) return false;
    return CreateDirectoryA(p.c_str(), nullptr) || DirectoryExists(p);
}

bool CreateEmptyFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool CopyFileReplace(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::uint64_t SystemTimeAsFileTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool SetFileTimes(const std::string& path, std::uint64_t t) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME ft{static_cast<DWORD>(t & 0xFFFFFFFFu), static_cast<DWORD>(t >> 32)};
    BOOL ok = SetFileTime(h, &ft, &ft, &ft);
    CloseHandle(h);
    return ok != FALSE;
}

bool ListDirectory(const std::string& dir, std::vector<DirEntry>& entries) {
    // By character: for a folder such as 乗 (81 5C) a byte test would take
    // the second byte for the separator and list the parent's 乗* instead.
    std::string pattern = (EndsWithBackslash(dir) ? dir : dir + '\\') + "*.*";
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    do {
        entries.push_back({fd.cFileName, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return true;
}

bool SetCurrentDir(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

bool ReadWholeFile(const std::string& path, std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    content.clear();
    char buf[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buf, sizeof(buf), &got, nullptr) != FALSE) && got > 0) content.append(buf, got);
    CloseHandle(h);
    return ok;
}

namespace {
bool WriteAllTo(HANDLE h, const std::string& content) {
    DWORD written = 0;
    bool ok = content.empty() ||
              (WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
               written == content.size());
    return FlushFileBuffers(h) && ok;
}
}  // namespace

unsigned ProcessId() { return GetCurrentProcessId(); }

bool WriteNewFile(const std::string& path, const std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAllTo(h, content);
    CloseHandle(h);
    return ok;
}

bool RewriteFile(const std::string& path, const std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAllTo(h, content) && SetEndOfFile(h);
    CloseHandle(h);
    return ok;
}

// ReplaceFileA keeps what the replaced file carried (attributes, security
// descriptor); a plain rename would give a hidden ini file fresh attributes.
unsigned long ReplaceFileWith(const std::string& path, const std::string& replacement) {
    DWORD old = GetFileAttributesA(path.c_str());
    if (!ReplaceFileA(path.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DWORD error = GetLastError();
        return error ? error : ERROR_GEN_FAILURE;
    }
    // Wine's ReplaceFile leaves the attributes behind (the hidden-ini case
    // of the Wine tests shows it); carry them over where they were lost.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD now = GetFileAttributesA(path.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && now != INVALID_FILE_ATTRIBUTES && (now & old & kept) != (old & kept))
        SetFileAttributesA(path.c_str(), (now & ~FILE_ATTRIBUTE_NORMAL) | (old & kept));
    return 0;
}

bool MoveFileReplace(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

std::string AnsiFromUtf16(const std::u16string& text) {
    if (text.empty()) return std::string();
    const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::u16string Utf16FromAnsi(const std::string& text) {
    if (text.empty()) return std::u16string();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string out(n > 0 ? static_cast<size_t>(n) : 0, u'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                            reinterpret_cast<wchar_t*>(&out[0]), n);
    return out;
}

}  // namespace plat

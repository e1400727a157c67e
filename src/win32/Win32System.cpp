// The Win32 backend's process, file-manager and file-system services.
#include <windows.h>

#include <vector>

#include "Backend.h"
#include "Win32Util.h"

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
    // The item is read in full, so that nothing is written past a buffer, and
    // then held to the 1023 bytes a 1024-byte buffer takes.
    LRESULT len = SendMessageA(H(panel), LB_GETTEXTLEN, index, 0);
    if (len < 0) return std::string();
    std::string text;
    if (RunningUnderWine()) {
        std::vector<wchar_t> wide(static_cast<size_t>(len) + 1024, L'\0');
        SendMessageW(H(panel), LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
        int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            text.assign(static_cast<size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, &text[0], n, nullptr, nullptr);
        }
    } else {
        text.assign(static_cast<size_t>(len) * 2 + 1024, '\0');
        SendMessageA(H(panel), LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
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
    std::string p = win32::WithoutTrailingBackslash(path);
    if (p.empty()) return false;
    if (DirectoryExists(p)) return true;
    std::string parent = win32::ParentDirectory(p);
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
    std::string pattern = dir;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
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

bool WriteFileReplace(const std::string& path, const std::string& content) {
    std::string tmp = path + ".~" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE h = CreateFileA(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = content.empty() ||
              (WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
               written == content.size());
    ok = FlushFileBuffers(h) && ok;
    CloseHandle(h);
    if (ok) ok = MoveFileExA(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) DeleteFileA(tmp.c_str());
    return ok;
}

}  // namespace plat

// kvopen: the program the test prefix runs for the shell's "open" of a
// .kvopen file (scripts/lib.sh registers it). It appends what it was asked
// to open and the working directory it was started in, as one line:
//
//   <process creation time, 20 digits>|<path as received>|<working directory>
//
// to the file named by the environment variable KVOPEN_LOG (the test sets it
// before it starts the file manager, whose children inherit it). Several may
// run at once and append in any order; their creation times give the order
// they were started in.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH * 2] = {}, cwd[MAX_PATH * 2] = {}, when[32] = "00000000000000000000";
    if (!GetEnvironmentVariableA("KVOPEN_LOG", log, sizeof log)) return 1;
    GetCurrentDirectoryA(sizeof cwd, cwd);
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        wsprintfA(when, "%010u%010u", created.dwHighDateTime, created.dwLowDateTime);
    const std::string line = std::string(when) + "|" + (__argc > 1 ? __argv[1] : "") + "|" + cwd + "\r\n";
    // One appending write per line, so that lines of several never mix; a
    // moment's wait while another holds the file.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE h = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD n = 0;
        const bool written = WriteFile(h, line.data(), (DWORD)line.size(), &n, nullptr) && n == line.size();
        CloseHandle(h);
        return written ? 0 : 1;
    }
    return 1;
}

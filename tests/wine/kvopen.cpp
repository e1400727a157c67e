// kvopen: the program the test prefix runs for the shell's "open" of a
// .kvopen file (scripts/lib.sh registers it). It records what it was asked
// to open and the working directory it was started in, one line each:
//
//   <process creation time, 20 digits>|<path as received>|<working directory>
//
// Several may run at once and append in any order; their creation times
// give the order they were started in.
// appended to the file named by the environment variable KVOPEN_LOG (the
// test sets it before it starts the file manager, whose children inherit
// it), else to kvopen.log beside this program.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH * 2] = {};
    if (!GetEnvironmentVariableA("KVOPEN_LOG", log, sizeof log)) {
        GetModuleFileNameA(nullptr, log, MAX_PATH);
        std::string p = log;
        p = p.substr(0, p.find_last_of('\\') + 1) + "kvopen.log";
        lstrcpynA(log, p.c_str(), sizeof log);
    }
    char cwd[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    FILETIME created, exited, kernel, user;
    char when[32] = "00000000000000000000";
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        wsprintfA(when, "%010u%010u", created.dwHighDateTime, created.dwLowDateTime);
    std::string line = std::string(when) + "|" + (__argc > 1 ? __argv[1] : "") + "|" + cwd + "\r\n";
    // Several may run at once: each line goes in one appending write.
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 50 && h == INVALID_HANDLE_VALUE; ++i) {
        h = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) Sleep(20);
    }
    if (h == INVALID_HANDLE_VALUE) return 1;
    DWORD n = 0;
    WriteFile(h, line.data(), (DWORD)line.size(), &n, nullptr);
    CloseHandle(h);
    return 0;
}

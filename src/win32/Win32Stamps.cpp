// The start-up stamps of a benchmark build. The performance counter is the
// same clock in every process, so the program that started Korvalin can set
// the stamps against the moment it called CreateProcess.
#include "StartupStamps.h"

#ifdef KORVALIN_STARTUP_STAMPS
#include <windows.h>

#include <cstdio>
#include <string>

#include "Backend.h"

namespace {
struct Stamp {
    const char* what;
    LONGLONG ticks;
};
Stamp g_stamps[32];
int g_count = 0;
bool g_written = false;

// The earliest code of ours that runs: the loader and the libraries it
// brought in are done, the runtime's own start-up is not.
struct FirstStamp {
    FirstStamp() { plat::StartupStamp("loaded"); }
} g_first __attribute__((init_priority(101)));
}  // namespace

namespace plat {

void StartupStamp(const char* what) {
    if (g_count >= 32) return;
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    g_stamps[g_count++] = {what, t.QuadPart};
}

void WriteStartupStamps() {
    if (g_written) return;
    g_written = true;
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    std::string path = ExePath();
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos) path.erase(dot);
    std::string text;
    char line[128];
    for (int i = 0; i < g_count; ++i) {
        snprintf(line, sizeof line, "STAMP %s %lld %lld\r\n", g_stamps[i].what, g_stamps[i].ticks, f.QuadPart);
        text += line;
    }
    WriteNewFile(path + ".stamps", text);
}

}  // namespace plat
#endif

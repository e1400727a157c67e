// The program entry of the Windows build.
#include <windows.h>

#include "Startup.h"
#include "StartupStamps.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    plat::StartupStamp("entry");
    return RunKorvalin();
}

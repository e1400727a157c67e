// The program entry of the Windows build.
#include <windows.h>

#include "Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunKorvalin(); }

// Start-up: the switch scan, the usage check, the focus capture, and the run
// of the main window.
#pragma once

#include <string>

// The usage message: two lines joined by a single line feed.
extern const char* const kUsageText;

// Runs Korvalin from the raw command line; the result is the exit code.
int RunKorvalin();

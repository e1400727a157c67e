// Reading the command line the file manager builds with "[-OnlyDir] %P%S".
#pragma once

#include <string>
#include <vector>

// Splits a raw command line into arguments. Element 0 is the program and is
// always present (empty when the line is). Runs of bytes 1..32 separate
// arguments except inside double quotes; the quotes are dropped; an empty
// pair of quotes where an argument would begin is skipped; a lead byte of a
// double-byte character always takes the following byte with it. No argument
// after element 0 is ever empty. A NUL byte ends the line, as it would end the
// system's string.
std::vector<std::string> SplitArguments(const std::string& raw);

struct SwitchScan {
    int SwitchCount = 0;     // leading positions the switches occupy
    bool OnlyDirMode = false;
};

// Every argument from 1 on that begins with '-' or '/' is a switch. "onlydir"
// (any case, after the lead character) occupies one position and sets
// OnlyDirMode; any other switch counts for two (itself and its value).
SwitchScan ScanSwitches(const std::vector<std::string>& args);

// The panel directory of a line that carries the panel path alone: the walk
// skips quoted stretches and blanks followed by a blank, '-' or '/', and the
// rest after the first other blank is the directory, unquoted blanks and all.
// Empty when the walk reaches the end, including inside a quote that is
// never closed: no trustworthy directory can be read from such a line.
std::string PanelDirFromRawLine(const std::string& raw);

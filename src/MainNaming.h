// The naming menu's text work that needs no window: rendering a date
// pattern, settling a menu level's accelerators, splitting a line into
// path, name and extension. Free functions, so that they can be driven
// without a window.
#pragma once

#include <string>
#include <vector>

#include "Backend.h"

// Renders `pattern` for the moment `t` with the locale's texts. Tokens are
// runs of one character as written (yyyy, mm, dd, hh, nn, ss, zzz, ...),
// their letter read without regard to case; quoted text is copied without
// its quotes, double-byte characters are copied whole. The locale's formats
// behind c, t, tt, ddddd and dddddd are read with the system's letters.
std::string FormatDatePattern(const std::string& pattern, const plat::DateTime& t, const plat::LocaleTexts& loc);

// One level of a menu as it is shown: its caption with an accelerator that
// no sibling shares, and whether it stands in the menu at all.
struct ShownCaption {
    std::string Caption;
    bool Visible = true;
};
// `captions` are the siblings' captions as created; `lines` marks the
// separator lines among them (none when it is empty), whatever their
// caption. Separator lines that would stand first, last or twice in a row
// are hidden; every other entry gets an accelerator of its own (0-9, A-Z)
// where one is left.
std::vector<ShownCaption> SettleCaptions(const std::vector<std::string>& captions,
                                         const std::vector<bool>& lines = {});

// "&" doubled, so that a user's text shows as written in a menu caption.
std::string EscapeAmpersands(const std::string& text);

// A line of the text box in three parts; joined again they give the line.
struct LineParts {
    std::string Path;  // empty, or ending in a backslash or a colon
    std::string Name;
    std::string Ext;   // empty, a dot and what follows it, or "\" for a folder
};
// Separators are found by character: a second byte of 0x5C is no backslash,
// and a line is a folder when its last character is a backslash. In the
// OnlyDir mode every non-empty line is a folder. An empty line has no parts.
LineParts SplitNameLine(const std::string& line, bool onlyDir);
// A root or doubled backslash ("C:\", "\", "sub\\") splits into an empty
// name and the folder mark; with the name still empty it is given back
// without a second backslash.
std::string JoinNameLine(const LineParts& parts);

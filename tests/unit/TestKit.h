// What several unit test files share: byte strings with NULs and lone lead
// bytes, message boxes and bounds as comparable values, a file or its absence,
// the edit selection, a fresh headless system.
#pragma once

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Controls.h"
#include "Headless.h"

// A literal with every byte kept, an embedded NUL or a lone lead byte too.
#define BYTES(lit) std::string(lit, sizeof(lit) - 1)

using List = std::vector<std::string>;
using headless::State;

// A recorded message box: text, caption, flags, owner.
using Box = std::tuple<std::string, std::string, unsigned, plat::Handle>;
using Boxes = std::vector<Box>;
inline Boxes BoxesShown() {
    Boxes boxes;
    for (const auto& b : State().boxes) boxes.push_back({b.text, b.caption, b.flags, b.owner});
    return boxes;
}
inline List BoxTexts() {
    List texts;
    for (const auto& b : State().boxes) texts.push_back(b.text);
    return texts;
}

// Bounds as one comparable value: left, top, width, height.
using Place = std::tuple<int, int, int, int>;
inline Place PlaceOf(const plat::Rect& r) { return {r.Left, r.Top, r.Width, r.Height}; }
// Bounds as text, "left,top widthxheight", the form the layout tables use.
inline std::string BoundsText(const plat::Rect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + " " + std::to_string(r.Width) + "x" +
           std::to_string(r.Height);
}

// A file's content, or "<none>" when there is no such file.
inline std::string FileOrNone(const std::string& path) {
    return headless::HasFile(path) ? headless::FileContent(path) : "<none>";
}

// The selection of an edit box: start and end in bytes.
inline std::pair<int, int> Selection(const TMemo& memo) {
    int start = -1, end = -1;
    memo.GetSel(start, end);
    return {start, end};
}

// A fresh headless system: the program in C:\Korvalin, started by the file
// manager on its panel folder C:\work\.
inline void FreshWorld() {
    headless::Reset();
    headless::AddDir("C:\\Korvalin");
    headless::AddDir("C:\\work");
    State().commandLine = "\"C:\\Korvalin\\korvalin.exe\" C:\\work\\";
}

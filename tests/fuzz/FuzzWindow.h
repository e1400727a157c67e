// The main window a fuzz target feeds: made once on the headless backend and
// kept for the whole run, since making it costs more than an input.
#pragma once

#include "Headless.h"
#include "Main.h"

inline TfomMain& FuzzWindow() {
    static TfomMain* form = [] {
        headless::Reset();
        return new TfomMain;
    }();
    return *form;
}

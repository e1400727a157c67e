// TfomMain: the settings dialog's button.
#include "Config.h"
#include "Main.h"

// The dialog edits the options record in memory; after OK the naming menu,
// built from those options, is rebuilt before it is next shown.
void TfomMain::btnConfigClick(TObject*) {
    TfomConfig dialog(*Options, Handle);
    if (dialog.ShowModal(this) == mrOk) NamingMenuBuilt = false;
}

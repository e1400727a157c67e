// TfomMain: the settings dialog's button.
#include "Config.h"
#include "Main.h"

// The dialog edits the options record in memory; after OK the naming menu,
// built from those options, is rebuilt before it is next shown, and the
// options are saved at exit even when the ini file could not be read at
// start: the user has now seen and accepted them.
void TfomMain::btnConfigClick(TObject*) {
    TfomConfig dialog(*Options, Handle);
    if (dialog.ShowModal(this) != mrOk) return;
    NamingMenuBuilt = false;
    Options->KeepFile = false;
}

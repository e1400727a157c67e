// Handing the new items back to the file manager when the window closes.
#include "Main.h"

// Marking the new items in the panel and opening them come with the
// file-manager hand-back; until then nothing is sent to the file manager.
int TfomMain::MarkCreatedItems() { return 0; }

void TfomMain::OpenCreatedFiles() {}

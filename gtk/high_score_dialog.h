// The high-score list: the ten places with their names, speeds and dates.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// The table as held in memory, over owner; reads no file. Returns 1 for Enter, 2 for Esc
// and the close box.
int ShowHighScoreDialog(GtkWindow* owner);

}  // namespace tolvi

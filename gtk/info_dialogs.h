// The dialogs that only show things: the high-score list, About and Version.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// The high-score table as held in memory, over owner; reads no file. Returns 1 for
// Enter, 2 for Esc and the close box.
int ShowHighScoreDialog(GtkWindow* owner);

// The About and Version boxes over owner; they end only by OK, with 1.
int ShowAboutDialog(GtkWindow* owner);
int ShowVersionDialog(GtkWindow* owner);

}  // namespace tolvi

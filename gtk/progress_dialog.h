// The progress window: the chart of the last games and the numbers of the whole history.
#pragma once

#include <gtk/gtk.h>

#include "practice/progress.h"

namespace tolvi {

// What ReadProgress gave, over owner; progress is only read, and only while the window is
// open. Returns 1 for OK and Enter, 2 for Esc and the close box.
int ShowProgressDialog(GtkWindow* owner, const Progress& progress);

}  // namespace tolvi

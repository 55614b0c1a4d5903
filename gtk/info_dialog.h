// The About and Version boxes: lines of text and an OK button.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Over owner; they end only by OK, with 1.
int ShowAboutDialog(GtkWindow* owner);
int ShowVersionDialog(GtkWindow* owner);

}  // namespace tolvi

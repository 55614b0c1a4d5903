// The main window: its menu bar, its keys and the commands it carries out.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Not yet shown. Destroying it ends the main loop.
GtkWidget* CreateMainWindow();

}  // namespace tolvi

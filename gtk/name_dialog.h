// The name dialog, asked before a player's first game and by the change-user command.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Over owner. 1 when confirmed (PlayerName replaced by the entry), 2 when cancelled
// (PlayerName unchanged).
int ShowNameDialog(GtkWindow* owner);

}  // namespace tolvi

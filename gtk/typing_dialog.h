// The typing prompt: one of the game's four sentences, and the entry it is typed into.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// For the game's current slot, over owner. 1 when confirmed (the slot's typed text
// replaced by the entry), 2 when the player quits.
int ShowTypingDialog(GtkWindow* owner);

}  // namespace tolvi

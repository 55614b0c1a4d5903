// The result of a game: the player, LENGTH and the speed, and what to do next.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Of the last game, over owner: 1 OK, 2 Cancel, 3 HighScore, 4 Retry.
int ShowResultDialog(GtkWindow* owner);

}  // namespace tolvi

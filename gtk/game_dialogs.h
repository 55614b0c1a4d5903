// The dialogs a game talks through: name entry, typing prompt and result.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Name dialog over owner. 1 when confirmed (PlayerName replaced by the entry),
// 2 when cancelled (PlayerName unchanged).
int ShowNameDialog(GtkWindow* owner);

// Typing dialog for the game's current slot. 1 when confirmed (the slot's typed
// text replaced by the entry), 2 when the player quits.
int ShowTypingDialog(GtkWindow* owner);

// Result dialog of the last game: 1 OK, 2 Cancel, 3 HighScore, 4 Retry.
int ShowResultDialog(GtkWindow* owner);

}  // namespace tolvi

// The dialogs a game talks through: name entry, typing prompt and result.
#pragma once

#include <windows.h>

namespace tolvi {

// Name dialog over owner. 1 when confirmed (PlayerName replaced by the entry),
// 2 when cancelled (PlayerName unchanged), 0 or -1 when it cannot be shown.
INT_PTR ShowNameDialog(HWND owner);

// Typing dialog for the game's current slot. 1 when confirmed (the slot's typed
// text replaced by the entry), 2 when the player quits, 0 or -1 when it cannot be shown.
INT_PTR ShowTypingDialog(HWND owner);

// Result dialog of the last game: 1 OK, 2 Cancel, 3 HighScore, 4 Retry, or 0 or -1
// when it cannot be shown.
INT_PTR ShowResultDialog(HWND owner);

}  // namespace tolvi

// The dialogs that only show things: the high-score list, About and Version.
#pragma once

#include <windows.h>

namespace tolvi {

// The high-score table as held in memory, over owner; reads no file. Returns 1 or 2
// as the dialog ended, 0 or -1 when it cannot be shown.
INT_PTR ShowHighScoreDialog(HWND owner);

// The About and Version boxes over owner; they end only by OK, with 1.
INT_PTR ShowAboutDialog(HWND owner);
INT_PTR ShowVersionDialog(HWND owner);

}  // namespace tolvi

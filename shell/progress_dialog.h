// The progress window: the player's numbers read back from history.csv and their chart.
#pragma once

#include <windows.h>

#include "practice/progress.h"

namespace tolvi {

// The progress window over owner, showing progress, which it only reads. Returns 1 or 2 as
// it ended, 0 or -1 when it cannot be shown.
INT_PTR ShowProgressDialog(HWND owner, const Progress& progress);

}  // namespace tolvi

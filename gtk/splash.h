// The title picture shown in a window of its own while the program starts.
#pragma once

#include "gtk/holders.h"

namespace tolvi {

// Shows the title picture in a new window at x, y of width by height, and returns
// milliseconds after it was first drawn, with the window still up for its holder to remove.
WindowPtr ShowSplash(int x, int y, int width, int height, int milliseconds);

}  // namespace tolvi

// The title picture shown in a window of its own while the program starts.
#pragma once

namespace tolvi {

// Shows bitmap bitmapId in a new window at x, y of width by height, then blocks
// for milliseconds. The window stays up and removes itself on its timer once the
// message loop runs.
void ShowSplash(int bitmapId, int x, int y, int width, int height, int milliseconds);

}  // namespace tolvi

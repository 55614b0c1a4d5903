// The title picture shown in a window of its own while the program starts.
#pragma once

#include <windows.h>

namespace tolvi {

// Shows bitmap bitmapId in a new window at x, y of width by height, then blocks
// for milliseconds. The window stays up and removes itself on its timer once the
// message loop runs.
void ShowSplash(int bitmapId, int x, int y, int width, int height, int milliseconds);

// Draws the bitmap once, starts the window's timer and blocks.
void PaintSplash(HWND window, int bitmapId, int width, int height, int milliseconds);

LRESULT CALLBACK SplashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tolvi

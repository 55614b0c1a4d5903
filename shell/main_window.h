// The main window: its class, its creation and the commands it carries out.
#pragma once

#include <windows.h>

namespace tolvi {

// Registers the class "TOLVI". False when the registration fails.
bool RegisterMainWindowClass(HINSTANCE instance);

// The main window at 300, 300, 300 by 200, not yet shown; null when it cannot be made.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tolvi

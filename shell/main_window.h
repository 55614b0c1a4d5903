// The main window: its class, its creation and the commands it carries out.
#pragma once

#include <windows.h>

namespace tolvi {

// False when the class cannot be registered.
bool RegisterMainWindowClass(HINSTANCE instance);

// Not yet shown; null when it cannot be made.
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace tolvi
